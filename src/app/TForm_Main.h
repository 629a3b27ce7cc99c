#pragma once

#include "gui/FixedWindow.h"
#include "scheduler/TaskList.h"

#include <QPointer>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimeEdit;
class QTreeView;

namespace lunor {
class Program;
} // namespace lunor

namespace lunor::gui {

class QtUserNotices;
class SecondTimer;
class TaskListModel;
class TForm_About;
class TForm_Config;
class TForm_manage;
class TForm_up;

// The main window: task entry, the task list with its commands, the quick settings, the
// buttons to the other windows and the status bar, and the one-second timer. The program's
// state is the Program's; its close step ends the program.
class TForm_Main final : public FixedWindow
{
    Q_OBJECT
public:
    // Why the close step runs: the user closed the window, or the system asked the program
    // to end (a signal, the end of the desktop session), when nobody is there to answer a box.
    enum class CloseReason { User, System };

    // Runs the creation step. The notices' boxes are owned by this window from now on.
    TForm_Main(Program &program, QtUserNotices &notices, QWidget *parent = nullptr);
    ~TForm_Main() override;

    // The other windows that the buttons show; created after the main window.
    void setOtherWindows(
        TForm_Config *config, TForm_About *about, TForm_manage *manage, TForm_up *up);

    // Whether the main window is to be shown when the event loop starts.
    bool showAtStart() const { return m_showAtStart; }
    bool closeStepDone() const;
    TaskList &tasks();

    // The close step: saves the task list when auto-save is on and releases the stores. It runs
    // once; afterwards nothing runs an operation or writes a store. When the list cannot be
    // saved, a person at the window may retry or keep the program running (false: the
    // program goes on); when nobody can answer, the rows go to a file of their own.
    bool FormClose(CloseReason reason);

    // The event handlers, named after their control and event. They run from the controls'
    // signals through runAction; called directly (tests), a refused store write throws.
    void TimeTimer();
    void tianjiaClick();
    void shanchuClick();
    void CB_jishiChange();
    void CB_riqiClick();
    void jishi_helpClick();
    void caozuo_helpClick();
    void CB_okClick();
    void CB_saveClick();
    void CB_SyncTimeClick();
    void liebiaoMenuPopup();
    void menu_playstopClick();
    void menu_edelClick();
    void menu_enodelClick();
    void menu_delClick();
    void LV_liebiaoDblClick();
    void shezhiClick();
    void chajianClick();
    void gengxinClick();
    void guanyuClick();
    void wangzhanClick();
    void tuichuClick();

signals:
    // The close step is done: the program ends.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildTaskList(QGroupBox *group);
    void buildButtons(QGroupBox *group);
    void connectHandlers();

    void FormCreate();
    void Form_Load();
    // Step 11 of Form_Load and part of the reset after adding a task.
    void resetDateAndTime();
    // Sets a quick-setting box without its signal and runs its handler when the state
    // changed, so that an error of the handler reaches the creation step.
    void setQuickSetting(QCheckBox *box, bool checked, void (TForm_Main::*handler)());
    void writeQuickSetting(const char *key, bool value);
    // A spin edit's value as its text reads: text that is not a number reads as 0.
    static int spinValue(const QSpinBox *box);
    // The list's selection ends with the deleted row, whoever deleted it.
    void forgetSelection();

    // Runs a handler that may write a store; a refused write ends it with an error box.
    void runAction(const std::function<void()> &action);
    void reportError(const std::exception &error);

    std::optional<std::size_t> selectedRow() const;
    static void showWindow(QWidget *window);

    Program &m_program;
    QtUserNotices &m_notices;
    TaskListModel *m_model = nullptr;

    bool m_showAtStart = true;

    QPointer<TForm_Config> m_formConfig;
    QPointer<TForm_About> m_formAbout;
    QPointer<TForm_manage> m_formManage;
    QPointer<TForm_up> m_formUp;

    // Controls, named as the window's objects.
    QComboBox *CB_jishi = nullptr;
    QPushButton *jishi_help = nullptr;
    QComboBox *CB_caozuo = nullptr;
    QPushButton *caozuo_help = nullptr;
    QGroupBox *GB_canshu_a = nullptr;
    QGroupBox *GB_canshu_b = nullptr;
    QSpinBox *SE_xiaoshi = nullptr;
    QSpinBox *SE_fenzhong = nullptr;
    QSpinBox *SE_miaozhong = nullptr;
    QTimeEdit *DTP_shijian = nullptr;
    QCheckBox *CB_riqi = nullptr;
    QDateEdit *DTP_riqi = nullptr;
    QCheckBox *CB_ok = nullptr;
    QCheckBox *CB_save = nullptr;
    QCheckBox *CB_SyncTime = nullptr;
    QPushButton *tianjia = nullptr;
    QPushButton *shanchu = nullptr;
    QPushButton *yincang = nullptr;
    QPushButton *shezhi = nullptr;
    QPushButton *chajian = nullptr;
    QPushButton *gengxin = nullptr;
    QPushButton *wangzhan = nullptr;
    QPushButton *guanyu = nullptr;
    QPushButton *tuichu = nullptr;
    QTreeView *LV_liebiao = nullptr;
    QMenu *liebiaoMenu = nullptr;
    QAction *menu_playstop = nullptr;
    QAction *menu_edel = nullptr;
    QAction *menu_enodel = nullptr;
    QAction *menu_del = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *m_statusPanels[3] = {};
    SecondTimer *Time = nullptr;
};

} // namespace lunor::gui
