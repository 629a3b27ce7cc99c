// The main window driven through its controls, by object name, under the offscreen platform.
#include "FakeKelmu.h"
#include "GuiTestSupport.h"
#include "ProgramWindow.h"
#include "app/TForm_Main.h"
#include "gui/SecondTimer.h"
#include "plugins/TForm_manage.h"
#include "scheduler/TaskListModel.h"
#include "settings/TForm_About.h"
#include "settings/TForm_Config.h"
#include "update/TForm_up.h"

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "settings/IniStore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimeEdit>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace lunor::test {
namespace {

using gui::TForm_Main;
using Kind = NoticeRecorder::Kind;

// One section of "mission.mss" (UTF-8; the folder writes it as code page 936).
struct MissionRow
{
    std::string serial;
    std::string modeLabel;
    std::string operation;
    std::string parameter;
    std::string afterRun;
    std::string counter;
    std::string mode;
    bool running = true;

    std::string section() const
    {
        return "[" + serial + "]\n1=" + modeLabel + "\n2=" + operation + "\n3=" + parameter
            + "\n4=剩余时间\n5=" + afterRun + "\n6=" + counter + "\n7=" + counter + "\n8=" + mode
            + "\nbool=" + (running ? "1" : "0") + "\n";
    }
};

MissionRow countdownRow(const std::string &serial, const std::string &counter,
    const std::string &afterRun = "保留", const std::string &parameter = "")
{
    return { serial, "A - 倒计时方式", "记录器", parameter, afterRun, counter, "0", true };
}

MissionRow loopRow(const std::string &serial, const std::string &counter)
{
    return { serial, "A - 循环方式", "记录器", "", "", counter, "2", true };
}

std::string mission(const std::vector<MissionRow> &rows)
{
    std::string text;
    for (const MissionRow &row : rows)
        text += row.section();
    return text;
}

std::string utf8(const std::string &gbk)
{
    return platform::gbkToUtf8(gbk);
}

class MainWindowTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        program.reset();
        window = nullptr;
        qunsetenv("LUNOR_FIXTURE_PARAMETER_TEXT");
        qunsetenv("LUNOR_FIXTURE_PARAMETER_RESULT");
    }

    // Creates and shows the main window over the folder. The one-second timer is held
    // unless `ticking`, so that counts do not move under a test that does not wait for them.
    TForm_Main &open(
        KelmuFunctions *kelmu = nullptr, platform::Clock *clock = nullptr, bool ticking = false)
    {
        program = std::make_unique<ProgramWindow>(folder.path(), kelmu, clock);
        window = &program->window;
        if (!ticking)
            window->findChild<gui::SecondTimer *>(QStringLiteral("Time"))->blockSignals(true);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }

    template <typename T> T *control(const char *name) { return child<T>(*window, name); }

    QTreeView *list() { return control<QTreeView>("LV_liebiao"); }
    const TaskList &tasks() { return window->tasks(); }

    QPoint rowCentre(int row)
    {
        QTreeView *view = list();
        return view->visualRect(view->model()->index(row, 1)).center();
    }

    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list()->viewport(), button, {}, rowCentre(row));
    }

    // Opens the list's pop-up menu as a right-click on the row (or below the rows) does.
    QMenu *popUpMenu(int row = -1)
    {
        QTreeView *view = list();
        const QPoint at = row >= 0 ? rowCentre(row) : QPoint(10, view->viewport()->height() - 5);
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        auto *menu = control<QMenu>("liebiaoMenu");
        EXPECT_TRUE(menu->isVisible());
        return menu;
    }

    void chooseFromMenu(QMenu *menu, const char *item)
    {
        auto *action = child<QAction>(*menu, item);
        ASSERT_TRUE(action->isEnabled()) << item;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY(!menu->isVisible());
    }

    std::string storedConfig(const char *key)
    {
        return IniStore(folder.file("CFG.dll")).readString("config", key, "missing");
    }

    ProgramFolder folder;
    NoticeRecorder notices;
    std::unique_ptr<ProgramWindow> program;
    TForm_Main *window = nullptr;
};

// ------------------------------------------------------------------------------------------
// Layout

struct PlacedControl
{
    const char *name;
    const char *parent;
    QRect geometry;
    const char *caption; // group title, button or check box text; nullptr for none
};

const PlacedControl placedControls[] = {
    { "GB_dingshifangshi", "Form_Main", { 8, 8, 209, 65 }, "定时方式" },
    { "GB_caozuofangshi", "Form_Main", { 8, 80, 209, 57 }, "操作方式" },
    { "GB_canshu_a", "Form_Main", { 224, 8, 129, 129 }, "计时参数" },
    { "GB_canshu_b", "Form_Main", { 224, 8, 129, 129 }, "计时参数" },
    { "GB_shezhi", "Form_Main", { 360, 8, 161, 129 }, "快速设置" },
    { "GB_caozuo", "Form_Main", { 528, 8, 153, 297 }, "操作" },
    { "GB_liebiao", "Form_Main", { 8, 144, 513, 161 }, "列表" },
    { "tianjia", "GB_caozuo", { 16, 24, 121, 25 }, "添加记录" },
    { "shanchu", "GB_caozuo", { 16, 54, 121, 25 }, "删除记录" },
    { "yincang", "GB_caozuo", { 16, 84, 121, 25 }, "隐藏程序" },
    { "shezhi", "GB_caozuo", { 16, 114, 121, 25 }, "程序设置" },
    { "chajian", "GB_caozuo", { 16, 144, 121, 25 }, "插件管理" },
    { "gengxin", "GB_caozuo", { 16, 174, 121, 25 }, "插件更新" },
    { "wangzhan", "GB_caozuo", { 16, 204, 121, 25 }, "我的网站" },
    { "guanyu", "GB_caozuo", { 16, 234, 121, 25 }, "关于程序" },
    { "tuichu", "GB_caozuo", { 16, 264, 121, 25 }, "退出程序" },
};

TEST_F(MainWindowTest, GroupsAndButtonsStandWhereTheLayoutPutsThem)
{
    open();
    for (const PlacedControl &expected : placedControls) {
        SCOPED_TRACE(expected.name);
        auto *widget = control<QWidget>(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(expected.parent));
        EXPECT_EQ(widget->geometry(), expected.geometry);
        if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            EXPECT_EQ(group->title(), QString::fromUtf8(expected.caption));
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption));
            EXPECT_FALSE(button->icon().isNull());
        }
    }
}

TEST_F(MainWindowTest, ControlsSitInTheirGroups)
{
    open();
    const struct
    {
        const char *name;
        const char *group;
    } controls[] = {
        { "CB_jishi", "GB_dingshifangshi" },
        { "jishi_help", "GB_dingshifangshi" },
        { "CB_caozuo", "GB_caozuofangshi" },
        { "caozuo_help", "GB_caozuofangshi" },
        { "SE_xiaoshi", "GB_canshu_a" },
        { "SE_fenzhong", "GB_canshu_a" },
        { "SE_miaozhong", "GB_canshu_a" },
        { "DTP_shijian", "GB_canshu_b" },
        { "CB_riqi", "GB_canshu_b" },
        { "DTP_riqi", "GB_canshu_b" },
        { "CB_ok", "GB_shezhi" },
        { "CB_save", "GB_shezhi" },
        { "CB_SyncTime", "GB_shezhi" },
        { "LV_liebiao", "GB_liebiao" },
    };
    for (const auto &entry : controls) {
        SCOPED_TRACE(entry.name);
        auto *widget = control<QWidget>(entry.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(entry.group));
        // Wholly inside its group.
        EXPECT_TRUE(
            QRect(QPoint(0, 0), widget->parentWidget()->size()).contains(widget->geometry()));
    }
    EXPECT_EQ(control<QCheckBox>("CB_ok")->text(), QStringLiteral("经确认后执行操作"));
    EXPECT_EQ(control<QCheckBox>("CB_save")->text(), QStringLiteral("自动保存任务列表"));
    EXPECT_EQ(control<QCheckBox>("CB_SyncTime")->text(), QStringLiteral("自动同步网络时间"));
    EXPECT_EQ(control<QCheckBox>("CB_riqi")->text(), QStringLiteral("指定日期"));
    for (const char *spin : { "SE_xiaoshi", "SE_fenzhong", "SE_miaozhong" }) {
        EXPECT_EQ(control<QSpinBox>(spin)->minimum(), 0);
        EXPECT_EQ(control<QSpinBox>(spin)->maximum(), 999);
        EXPECT_EQ(control<QSpinBox>(spin)->value(), 0);
    }
}

TEST_F(MainWindowTest, WindowHasAFixedClientAreaWithoutMinimiseOrMaximiseBox)
{
    TForm_Main &main = open();
    EXPECT_EQ(main.size(), QSize(690, 330));
    EXPECT_EQ(main.minimumSize(), QSize(690, 330));
    EXPECT_EQ(main.maximumSize(), QSize(690, 330));
    const Qt::WindowFlags flags = main.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindowTest, StatusBarHasThreePanelsAtTheBottom)
{
    open();
    auto *bar = control<QStatusBar>("StatusBar");
    EXPECT_EQ(bar->geometry().bottom(), 329);
    EXPECT_EQ(bar->width(), 690);
    EXPECT_GE(bar->y(), 305); // below the groups
    EXPECT_EQ(control<QLabel>("StatusPanel0")->width(), 210);
    EXPECT_EQ(control<QLabel>("StatusPanel1")->width(), 180);
    EXPECT_GE(control<QLabel>("StatusPanel2")->width(), 50);
    EXPECT_LT(control<QLabel>("StatusPanel0")->x(), control<QLabel>("StatusPanel1")->x());
    EXPECT_LT(control<QLabel>("StatusPanel1")->x(), control<QLabel>("StatusPanel2")->x());
}

TEST_F(MainWindowTest, OtherWindowsHaveTheirCaptionsAndFixedSizes)
{
    gui::TForm_Config config;
    gui::TForm_About about;
    gui::TForm_manage manage;
    gui::TForm_up up;
    const struct
    {
        QWidget *window;
        const char *name;
        const char *caption;
        QSize size;
    } windows[] = {
        { &config, "Form_Config", "设置", { 565, 260 } },
        { &about, "Form_About", "关于", { 489, 379 } },
        { &manage, "Form_manage", "插件管理", { 499, 294 } },
        { &up, "Form_up", "插件升级", up.size() },
    };
    for (const auto &entry : windows) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.window->objectName(), QString::fromLatin1(entry.name));
        EXPECT_EQ(entry.window->windowTitle(), QString::fromUtf8(entry.caption));
        EXPECT_EQ(entry.window->size(), entry.size);
        EXPECT_EQ(entry.window->minimumSize(), entry.window->maximumSize());
        EXPECT_FALSE(entry.window->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(entry.window->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(entry.window->isVisible());
    }
    EXPECT_EQ(config.pos(), QPoint(346, 284));
}

// ------------------------------------------------------------------------------------------
// Start-up

TEST_F(MainWindowTest, CaptionAndApplicationTitleCarryTheExecutablesVersion)
{
    const TForm_Main &main = open();
    const QString expected = QStringLiteral("Lunor定时系统 v") + QStringLiteral(LUNOR_TEST_VERSION);
    EXPECT_EQ(main.windowTitle(), expected);
    EXPECT_EQ(gui::QtUserNotices::applicationTitle(), expected);
}

TEST_F(MainWindowTest, CatalogueFillsTheOperationsListAndSelectsTheFirst)
{
    folder.installRecorder();
    folder.writeConfig("[Package]\n旧的操作=gone.dll\n");
    open();
    auto *operations = control<QComboBox>("CB_caozuo");
    ASSERT_EQ(operations->count(), 1);
    EXPECT_EQ(operations->itemText(0), QStringLiteral("记录器"));
    EXPECT_EQ(operations->currentIndex(), 0);
    EXPECT_FALSE(operations->isEditable());
    EXPECT_EQ(
        IniStore(folder.file("CFG.dll")).readString("Package", platform::utf8ToGbk("旧的操作"), ""),
        "");
}

TEST_F(MainWindowTest, ModeListStartsAtTheCountdownWithBothParameterGroupsShown)
{
    open();
    auto *modes = control<QComboBox>("CB_jishi");
    const char *labels[] = { "A - 倒计时方式", "B - 定时方式", "A - 循环方式", "A - 系统运行方式",
        "A - 系统无操作方式" };
    ASSERT_EQ(modes->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(modes->itemText(i), QString::fromUtf8(labels[i]));
    EXPECT_EQ(modes->currentIndex(), 0);
    EXPECT_FALSE(modes->isEditable());
    EXPECT_TRUE(control<QGroupBox>("GB_canshu_a")->isVisible());
    EXPECT_TRUE(control<QGroupBox>("GB_canshu_b")->isVisible());
    EXPECT_FALSE(control<QDateEdit>("DTP_riqi")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>("CB_riqi")->isChecked());
}

class HiddenColumnsTest : public MainWindowTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(HiddenColumnsTest, WorkingColumnsAreHiddenAtEveryStart)
{
    folder.writeConfig(GetParam() ? "[config]\nCB_save=1\n" : "[config]\nCB_save=0\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    open();
    QHeaderView *header = list()->header();
    const int widths[] = { 50, 80, 50, 80, 90, 120, 0, 0, 0 };
    const char *captions[] = { "序号", "计时方式", "操作", "参数", "剩余时间", "操作后是否删除",
        "初始化时间", "当前时间", "计时方式" };
    ASSERT_EQ(header->count(), 9);
    for (int column = 0; column < 9; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(header->sectionSize(column), widths[column]);
        EXPECT_EQ(list()->model()->headerData(column, Qt::Horizontal).toString(),
            QString::fromUtf8(captions[column]));
        const auto alignment = Qt::Alignment(
            list()->model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        EXPECT_EQ(
            alignment & Qt::AlignHorizontal_Mask, column == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    EXPECT_EQ(tasks().size(), GetParam() ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(AutoSaveOnAndOff, HiddenColumnsTest, ::testing::Bool());

TEST_F(MainWindowTest, ListIsAReadOnlyReportWithMovableColumnsAndWholeRowSelection)
{
    open();
    QTreeView *view = list();
    EXPECT_TRUE(view->header()->sectionsMovable());
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view->iconSize(), QSize(24, 24));
    EXPECT_FALSE(view->rootIsDecorated());
}

TEST_F(MainWindowTest, QuickSettingsStartFromTheStore)
{
    folder.writeConfig("[config]\nCB_ok=1\nCB_save=0\nCB_time=0x1\n");
    open();
    EXPECT_TRUE(control<QCheckBox>("CB_ok")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CB_save")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CB_SyncTime")->isChecked());
    // The handlers ran for the boxes that changed and wrote back what they read.
    EXPECT_EQ(storedConfig("CB_time"), "1");
    EXPECT_EQ(storedConfig("CB_save"), "0");
}

TEST_F(MainWindowTest, HiddenStartIsDecidedFromTheStore)
{
    folder.writeConfig("[config]\nCB_hidewindow=1\n");
    EXPECT_FALSE(ProgramWindow(folder.path()).window.showAtStart());
    folder.writeConfig("[config]\nCB_hidewindow=0\n");
    EXPECT_TRUE(ProgramWindow(folder.path()).window.showAtStart());
}

TEST_F(MainWindowTest, RefusedWriteInTheCreationStepSkipsTheRemainingSteps)
{
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=1\n[Package]\n旧的操作=gone.dll\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    std::filesystem::permissions(folder.file("CFG.dll"),
        std::filesystem::perms::owner_read | std::filesystem::perms::group_read
            | std::filesystem::perms::others_read);
    TForm_Main &main = open();

    const auto errors = notices.ofKind(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text.toStdString(), "Unable to write to " + folder.file("CFG.dll"));
    // Form_Load did not run: no version, no operations, columns as designed, no tasks.
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Lunor定时系统 v"));
    EXPECT_EQ(control<QComboBox>("CB_caozuo")->count(), 0);
    EXPECT_EQ(list()->header()->sectionSize(6), 80);
    EXPECT_EQ(tasks().size(), 0u);
    // The program runs on: the mode help still answers.
    QTest::mouseClick(control<QPushButton>("jishi_help"), Qt::LeftButton);
    EXPECT_EQ(notices.ofKind(Kind::Information).size(), 1u);
}

// ------------------------------------------------------------------------------------------
// Timer and status bar

TEST_F(MainWindowTest, TickWritesTheThreeStatusTexts)
{
    FakeKelmu kelmu;
    TestClock clock;
    kelmu.uptime = 3725;
    kelmu.idle = 42;
    TForm_Main &main = open(&kelmu, &clock);
    main.TimeTimer();
    EXPECT_EQ(
        control<QLabel>("StatusPanel0")->text(), QStringLiteral(" 2008年12月20日 14:30:05 W"));
    EXPECT_EQ(control<QLabel>("StatusPanel1")->text(), QStringLiteral("操作系统已连续运行：T3725"));
    EXPECT_EQ(control<QLabel>("StatusPanel2")->text(), QStringLiteral("鼠标键盘无操作时间：T42"));
}

TEST_F(MainWindowTest, DueRowsRunThroughThePlugInOnTheTimer)
{
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "0", "保留", "hello"),
        countdownRow("2", "2", "删除", "参数二"), countdownRow("3", "1000") }));
    open(nullptr, nullptr, true);

    ASSERT_TRUE(QTest::qWaitFor([&] { return folder.runCalls().size() == 2; }, 6000));
    const std::vector<std::string> runs = folder.runCalls();
    EXPECT_EQ(runs[0], "Run\trefcount=1\tlength=5\tnul=yes\ttext=hello");
    EXPECT_EQ(runs[1], "Run\trefcount=1\tlength=6\tnul=yes\ttext=参数二");

    // The first stays, stopped; the second was deleted after its run; the third counts on.
    QTRY_COMPARE(tasks().size(), 2u);
    EXPECT_EQ(tasks().row(0).SerialNo, "1");
    EXPECT_FALSE(tasks().row(0).Running);
    EXPECT_EQ(tasks().row(0).RowImage, 1);
    EXPECT_EQ(tasks().row(1).SerialNo, "3");
    EXPECT_TRUE(tasks().row(1).Running);
    EXPECT_LT(std::stoi(tasks().row(1).text(TaskField::Counter)), 1000);
    // The view shows what the list holds.
    EXPECT_EQ(list()->model()->rowCount(), 2);
    EXPECT_EQ(list()->model()->index(1, 0).data().toString(), QStringLiteral("3"));
    EXPECT_FALSE(control<QLabel>("StatusPanel0")->text().isEmpty());
}

// ------------------------------------------------------------------------------------------
// Task entry

struct EntryCase
{
    const char *name;
    int mode;
    int hours, minutes, seconds;
    bool withDate;
    const char *counter;
    const char *afterRun;
};

class TaskEntryTest : public MainWindowTest, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(TaskEntryTest, AddingATaskAppendsItsRowAndResetsTheParameters)
{
    const EntryCase &entry = GetParam();
    folder.installRecorder();
    qputenv("LUNOR_FIXTURE_PARAMETER_TEXT",
        QByteArray::fromStdString(platform::utf8ToGbk("第一行\r\n第二行")));
    folder.writeMission(""); // never read: auto-save is off
    open();

    control<QComboBox>("CB_jishi")->setCurrentIndex(entry.mode);
    auto *hours = control<QSpinBox>("SE_xiaoshi");
    auto *minutes = control<QSpinBox>("SE_fenzhong");
    auto *seconds = control<QSpinBox>("SE_miaozhong");
    hours->setValue(entry.hours);
    minutes->setValue(entry.minutes);
    seconds->setValue(entry.seconds);
    control<QTimeEdit>("DTP_shijian")->setTime(QTime(14, 30, 5));
    auto *withDate = control<QCheckBox>("CB_riqi");
    auto *date = control<QDateEdit>("DTP_riqi");
    if (entry.withDate) {
        QTest::mouseClick(withDate, Qt::LeftButton);
        ASSERT_TRUE(date->isEnabled());
        date->setDate(QDate(2008, 12, 20));
    }

    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);

    ASSERT_EQ(tasks().size(), 1u);
    const TaskRow &row = tasks().row(0);
    EXPECT_EQ(row.SerialNo, "1");
    EXPECT_TRUE(row.Running);
    EXPECT_EQ(row.RowImage, 0);
    EXPECT_EQ(utf8(row.text(TaskField::ModeLabel)),
        control<QComboBox>("CB_jishi")->itemText(entry.mode).toStdString());
    EXPECT_EQ(utf8(row.text(TaskField::OperationName)), "记录器");
    EXPECT_EQ(utf8(row.text(TaskField::ParamText)), "第一行");
    EXPECT_EQ(utf8(row.text(TaskField::RemainingText)), "剩余时间");
    EXPECT_EQ(utf8(row.text(TaskField::AfterRun)), entry.afterRun);
    EXPECT_EQ(row.text(TaskField::Counter), entry.counter);
    EXPECT_EQ(row.text(TaskField::Preset), entry.counter);
    EXPECT_EQ(row.text(TaskField::ModeIndex), std::to_string(entry.mode));
    EXPECT_FALSE(folder.exists("Temp.txt"));

    // Parameters reset; mode and operation kept.
    EXPECT_EQ(hours->value(), 0);
    EXPECT_EQ(minutes->value(), 0);
    EXPECT_EQ(seconds->value(), 0);
    EXPECT_FALSE(withDate->isChecked());
    EXPECT_FALSE(date->isEnabled());
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_EQ(control<QComboBox>("CB_jishi")->currentIndex(), entry.mode);
    EXPECT_EQ(control<QComboBox>("CB_caozuo")->currentIndex(), 0);
    // The view shows the new row.
    EXPECT_EQ(list()->model()->index(0, 3).data().toString(), QStringLiteral("第一行"));
}

INSTANTIATE_TEST_SUITE_P(Modes, TaskEntryTest,
    ::testing::Values(EntryCase { "Countdown", 0, 0, 90, 0, false, "5400", "保留" },
        EntryCase { "LargestCount", 4, 999, 999, 999, false, "3657339", "保留" },
        EntryCase { "Loop", 2, 0, 0, 5, false, "5", "" },
        EntryCase { "TimeOfDay", 1, 3, 0, 0, false, "14:30:05", "保留" },
        EntryCase { "DateAndTime", 1, 0, 0, 0, true, "2008-12-20 14:30:05", "保留" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, CancelledParameterAddsNothingAndKeepsTheControls)
{
    folder.installRecorder();
    qputenv("LUNOR_FIXTURE_PARAMETER_RESULT", "0");
    open();
    control<QSpinBox>("SE_fenzhong")->setValue(7);
    QTest::mouseClick(control<QCheckBox>("CB_riqi"), Qt::LeftButton);

    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);

    EXPECT_EQ(tasks().size(), 0u);
    EXPECT_EQ(control<QSpinBox>("SE_fenzhong")->value(), 7);
    EXPECT_TRUE(control<QCheckBox>("CB_riqi")->isChecked());
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(MainWindowTest, AddingWithoutAnyOperationReportsTheBrokenPlugIn)
{
    open();
    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);
    EXPECT_EQ(tasks().size(), 0u);
    ASSERT_EQ(notices.notices.size(), 2u);
    EXPECT_EQ(notices.notices[0].kind, Kind::Beep);
    EXPECT_EQ(notices.notices[1].kind, Kind::Plain);
    EXPECT_EQ(notices.notices[1].caption, gui::QtUserNotices::applicationTitle());
    EXPECT_EQ(notices.notices[1].text, QStringLiteral("程序错误，请重新安装程序！"));
}

TEST_F(MainWindowTest, NewRowIsNumberedWithTheRowCount)
{
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(
        mission({ countdownRow("1", "100"), countdownRow("2", "100"), countdownRow("3", "100") }));
    open();
    clickRow(1);
    QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);
    ASSERT_EQ(tasks().size(), 3u);
    EXPECT_EQ(tasks().row(0).SerialNo, "1");
    EXPECT_EQ(tasks().row(1).SerialNo, "3");
    EXPECT_EQ(tasks().row(2).SerialNo, "3");
}

TEST_F(MainWindowTest, ModeChoosesTheParameterGroup)
{
    open();
    auto *modes = control<QComboBox>("CB_jishi");
    auto *groupA = control<QGroupBox>("GB_canshu_a");
    auto *groupB = control<QGroupBox>("GB_canshu_b");
    const bool expectB[] = { false, true, false, false, false };
    for (int mode : { 1, 0, 2, 1, 3, 4 }) {
        SCOPED_TRACE(mode);
        modes->setCurrentIndex(mode);
        EXPECT_EQ(groupB->isVisible(), expectB[mode]);
        EXPECT_EQ(groupA->isVisible(), !expectB[mode]);
    }
}

TEST_F(MainWindowTest, DateBoxEnablesTheDatePicker)
{
    open();
    auto *withDate = control<QCheckBox>("CB_riqi");
    auto *date = control<QDateEdit>("DTP_riqi");
    control<QComboBox>("CB_jishi")->setCurrentIndex(1);
    QTest::mouseClick(withDate, Qt::LeftButton);
    EXPECT_TRUE(date->isEnabled());
    QTest::mouseClick(withDate, Qt::LeftButton);
    EXPECT_FALSE(date->isEnabled());
}

TEST_F(MainWindowTest, ModeHelpExplainsTheSelectedMode)
{
    open();
    const char *texts[] = { "倒计时方式，例如几小时几分钟后执行相应操作",
        "到指定的时间或者日期执行相应操作", "每隔一段时间执行相应操作",
        "操作系统连续工作多长时间执行相应操作", "鼠标键盘多长时间没有相应动作执行相应操作" };
    for (int mode = 0; mode < 5; ++mode) {
        control<QComboBox>("CB_jishi")->setCurrentIndex(mode);
        QTest::mouseClick(control<QPushButton>("jishi_help"), Qt::LeftButton);
        ASSERT_EQ(notices.notices.size(), static_cast<std::size_t>(mode + 1));
        EXPECT_EQ(notices.notices.back().kind, Kind::Information);
        EXPECT_EQ(notices.notices.back().caption, QStringLiteral("提示帮助"));
        EXPECT_EQ(notices.notices.back().text, QString::fromUtf8(texts[mode]));
    }
}

TEST_F(MainWindowTest, OperationHelpShowsTheModulesText)
{
    folder.installRecorder();
    open();
    QTest::mouseClick(control<QPushButton>("caozuo_help"), Qt::LeftButton);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].kind, Kind::Information);
    EXPECT_EQ(notices.notices[0].caption, QStringLiteral("提示帮助"));
    EXPECT_EQ(notices.notices[0].text,
        QStringLiteral("记录器的帮助：\r\n把每次调用写进记录文件。\r\nLine 3"));
}

TEST_F(MainWindowTest, OperationHelpWithoutOperationsReportsTheBrokenPlugIn)
{
    open();
    QTest::mouseClick(control<QPushButton>("caozuo_help"), Qt::LeftButton);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].kind, Kind::Plain);
    EXPECT_EQ(notices.notices[0].caption, gui::QtUserNotices::applicationTitle());
    EXPECT_EQ(notices.notices[0].text, QStringLiteral("程序错误，请重新安装程序！"));
}

// ------------------------------------------------------------------------------------------
// Task list commands

TEST_F(MainWindowTest, DeleteWithoutSelectionAsksForOne)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    open();
    QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    EXPECT_EQ(tasks().size(), 1u);
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].kind, Kind::Information);
    EXPECT_EQ(notices.notices[0].caption, QStringLiteral("提示帮助"));
    EXPECT_EQ(notices.notices[0].text, QStringLiteral("请先选择一条记录！"));
}

TEST_F(MainWindowTest, DeleteRemovesTheSelectedRowByButtonAndByMenu)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(
        mission({ countdownRow("1", "100"), countdownRow("2", "100"), countdownRow("3", "100") }));
    open();
    clickRow(1);
    QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    ASSERT_EQ(tasks().size(), 2u);
    EXPECT_EQ(tasks().row(0).SerialNo, "1");
    EXPECT_EQ(tasks().row(1).SerialNo, "3");

    chooseFromMenu(popUpMenu(0), "menu_del");
    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks().row(0).SerialNo, "3");
    EXPECT_TRUE(notices.notices.empty());
}

TEST_F(MainWindowTest, AfterADeletionNothingIsSelected)
{
    // A second "删除记录" must not delete a task the user never chose: by button, by menu, and
    // when a row deletes itself after its run.
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100"), countdownRow("2", "100"),
        countdownRow("3", "0", "删除"), countdownRow("4", "100") }));
    open();
    clickRow(0);
    QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    ASSERT_EQ(tasks().size(), 3u);
    EXPECT_TRUE(list()->selectionModel()->selectedRows().isEmpty());
    QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    EXPECT_EQ(tasks().size(), 3u);
    EXPECT_EQ(notices.ofKind(Kind::Information).size(), 1u);

    chooseFromMenu(popUpMenu(0), "menu_del");
    ASSERT_EQ(tasks().size(), 2u);
    EXPECT_TRUE(list()->selectionModel()->selectedRows().isEmpty());

    // Row "3" runs and deletes itself while the row under it is not selected.
    clickRow(0);
    window->TimeTimer();
    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks().row(0).SerialNo, "4");
    EXPECT_TRUE(list()->selectionModel()->selectedRows().isEmpty());
}

TEST_F(MainWindowTest, AClearedSpinEditReadsAsZero)
{
    folder.installRecorder();
    open();
    auto *hours = control<QSpinBox>("SE_xiaoshi");
    hours->setValue(123);
    // The user clears the hours and types 5 seconds; text that is no number reads as 0 too.
    hours->findChild<QLineEdit *>()->clear();
    auto *minutes = control<QSpinBox>("SE_fenzhong");
    minutes->setValue(7);
    minutes->findChild<QLineEdit *>()->setText(QStringLiteral("x"));
    control<QSpinBox>("SE_miaozhong")->setValue(5);
    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);
    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks().row(0).text(TaskField::Counter), "5");
}

TEST_F(MainWindowTest, StopAndResumeByMenuAndDoubleClick)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100"), countdownRow("2", "100") }));
    open();
    const auto picture = [&](int row) {
        return list()->model()->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().cacheKey();
    };
    const qint64 armed = gui::TaskListModel::rowPicture(0).cacheKey();
    const qint64 stopped = gui::TaskListModel::rowPicture(1).cacheKey();
    ASSERT_EQ(picture(1), armed);

    chooseFromMenu(popUpMenu(1), "menu_playstop");
    EXPECT_FALSE(tasks().row(1).Running);
    EXPECT_EQ(tasks().row(1).RowImage, 1);
    EXPECT_EQ(picture(1), stopped);
    EXPECT_TRUE(tasks().row(0).Running);

    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_TRUE(tasks().row(1).Running);
    EXPECT_EQ(tasks().row(1).RowImage, 0);
    EXPECT_EQ(picture(1), armed);

    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_FALSE(tasks().row(1).Running);
    // Counts untouched by the command.
    EXPECT_EQ(tasks().row(1).text(TaskField::Counter), "100");
}

TEST_F(MainWindowTest, DoubleClickBelowTheRowsDoesNothing)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    open();
    const QPoint below(10, list()->viewport()->height() - 5);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(tasks().row(0).Running);
}

struct MenuCase
{
    const char *name;
    int row; // -1: no selection
    bool playstop, edel, enodel, del;
};

class MenuEnablingTest : public MainWindowTest, public ::testing::WithParamInterface<MenuCase>
{
};

TEST_P(MenuEnablingTest, MenuOffersWhatTheSelectedRowAllows)
{
    const MenuCase &expected = GetParam();
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100", "保留"), loopRow("2", "100"),
        countdownRow("3", "100", "删除") }));
    open();
    QMenu *menu = popUpMenu(expected.row);
    EXPECT_EQ(child<QAction>(*menu, "menu_playstop")->isEnabled(), expected.playstop);
    EXPECT_EQ(child<QAction>(*menu, "menu_edel")->isEnabled(), expected.edel);
    EXPECT_EQ(child<QAction>(*menu, "menu_enodel")->isEnabled(), expected.enodel);
    EXPECT_EQ(child<QAction>(*menu, "menu_del")->isEnabled(), expected.del);
    menu->hide();
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuEnablingTest,
    ::testing::Values(MenuCase { "NoSelection", -1, false, false, false, false },
        MenuCase { "KeptCountdown", 0, true, true, false, true },
        MenuCase { "Loop", 1, true, false, false, true },
        MenuCase { "DeletedAfterRun", 2, true, false, true, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, MenuLayoutAndAfterRunChoices)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    open();
    QMenu *menu = popUpMenu(0);
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 6);
    const char *names[] = { "menu_playstop", "N5", "menu_edel", "menu_enodel", "N6", "menu_del" };
    const char *captions[] = { "停止\\继续运行该条记录", "", "执行操作后删除该条记录",
        "执行操作后保留该条记录", "", "删除该条记录" };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i]->objectName(), QString::fromLatin1(names[i]));
        EXPECT_EQ(items[i]->isSeparator(), names[i][0] == 'N');
        if (!items[i]->isSeparator()) {
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(captions[i]));
        }
    }

    chooseFromMenu(menu, "menu_edel");
    EXPECT_EQ(utf8(tasks().row(0).text(TaskField::AfterRun)), "删除");
    EXPECT_EQ(list()->model()->index(0, 5).data().toString(), QStringLiteral("删除"));
    menu = popUpMenu(0);
    EXPECT_FALSE(child<QAction>(*menu, "menu_edel")->isEnabled());
    chooseFromMenu(menu, "menu_enodel");
    EXPECT_EQ(utf8(tasks().row(0).text(TaskField::AfterRun)), "保留");
}

// ------------------------------------------------------------------------------------------
// Quick settings

struct QuickSettingCase
{
    const char *box;
    const char *key;
};

class QuickSettingTest : public MainWindowTest,
                         public ::testing::WithParamInterface<QuickSettingCase>
{
};

TEST_P(QuickSettingTest, ClickStoresTheStateAtOnce)
{
    open();
    auto *box = control<QCheckBox>(GetParam().box);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedConfig(GetParam().key), "1");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedConfig(GetParam().key), "0");
    EXPECT_TRUE(notices.notices.empty());
}

TEST_P(QuickSettingTest, RefusedWriteIsReportedUnderTheApplicationTitle)
{
    folder.writeConfig("[config]\n");
    open();
    std::filesystem::permissions(folder.file("CFG.dll"),
        std::filesystem::perms::owner_write | std::filesystem::perms::group_write
            | std::filesystem::perms::others_write,
        std::filesystem::perm_options::remove);
    QTest::mouseClick(control<QCheckBox>(GetParam().box), Qt::LeftButton);
    const auto errors = notices.ofKind(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, window->windowTitle());
    EXPECT_EQ(errors[0].text.toStdString(), "Unable to write to " + folder.file("CFG.dll"));
    EXPECT_EQ(storedConfig(GetParam().key), "missing");
}

INSTANTIATE_TEST_SUITE_P(Boxes, QuickSettingTest,
    ::testing::Values(QuickSettingCase { "CB_ok", "CB_ok" },
        QuickSettingCase { "CB_save", "CB_save" }, QuickSettingCase { "CB_SyncTime", "CB_time" }),
    [](const auto &info) { return std::string(info.param.box); });

TEST_F(MainWindowTest, ConfirmationSettingTakesEffectAtTheNextRun)
{
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "0", "保留", "x") }));
    notices.answer = false;
    FakeKelmu kelmu;
    TestClock clock;
    TForm_Main &main = open(&kelmu, &clock);
    QTest::mouseClick(control<QCheckBox>("CB_ok"), Qt::LeftButton);
    main.TimeTimer();
    const auto confirmations = notices.ofKind(Kind::Confirm);
    ASSERT_EQ(confirmations.size(), 1u);
    EXPECT_EQ(confirmations[0].caption, QStringLiteral("确认执行"));
    EXPECT_EQ(confirmations[0].text, QStringLiteral("您确认执行“记录器”的任务吗？"));
    EXPECT_TRUE(folder.runCalls().empty());
}

// ------------------------------------------------------------------------------------------
// Buttons to the other windows

TEST_F(MainWindowTest, ButtonsShowTheOtherWindowsWithoutBlockingTheMainWindow)
{
    gui::TForm_Config config;
    gui::TForm_About about;
    gui::TForm_manage manage;
    gui::TForm_up up;
    TForm_Main &main = open();
    main.setOtherWindows(&config, &about, &manage, &up);
    const struct
    {
        const char *button;
        QWidget *window;
    } cases[] = { { "shezhi", &config }, { "chajian", &manage }, { "gengxin", &up },
        { "guanyu", &about } };
    for (const auto &entry : cases) {
        SCOPED_TRACE(entry.button);
        QTest::mouseClick(control<QPushButton>(entry.button), Qt::LeftButton);
        EXPECT_TRUE(entry.window->isVisible());
        EXPECT_FALSE(entry.window->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // Closing one of them only hides it.
    config.close();
    EXPECT_FALSE(config.isVisible());
    EXPECT_FALSE(main.closeStepDone());
}

TEST_F(MainWindowTest, WebSiteButtonOpensTheHomePage)
{
    UrlCatcher catcher;
    const QUrl site(QStringLiteral(LUNOR_WEBSITE));
    QDesktopServices::setUrlHandler(site.scheme(), &catcher, "open");
    open();
    QTest::mouseClick(control<QPushButton>("wangzhan"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(site.scheme());
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], site);
}

// ------------------------------------------------------------------------------------------
// Close step

struct CloseCase
{
    const char *name;
    bool storedAutoSave;
    bool clickAutoSave; // the user flips the box before closing
    bool saved;
};

class CloseStepTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(CloseStepTest, ExitSavesTheListExactlyWhenAutoSaveIsStored)
{
    const CloseCase &entry = GetParam();
    folder.writeConfig(entry.storedAutoSave ? "[config]\nCB_save=1\n" : "[config]\nCB_save=0\n");
    const std::string before = mission({ countdownRow("1", "100"), countdownRow("2", "200") });
    folder.writeMission(before);
    const std::string beforeBytes = folder.readBytes("mission.mss");
    TForm_Main &main = open();
    EXPECT_EQ(tasks().size(), entry.storedAutoSave ? 2u : 0u);
    if (entry.clickAutoSave)
        QTest::mouseClick(control<QCheckBox>("CB_save"), Qt::LeftButton);
    // One row fewer: the save writes the list as it stands.
    if (tasks().size() == 2) {
        clickRow(0);
        QTest::mouseClick(control<QPushButton>("shanchu"), Qt::LeftButton);
    }

    QTest::mouseClick(control<QPushButton>("tuichu"), Qt::LeftButton);

    EXPECT_TRUE(main.closeStepDone());
    EXPECT_FALSE(main.isVisible());
    if (!entry.saved) {
        EXPECT_EQ(folder.readBytes("mission.mss"), beforeBytes);
        return;
    }
    if (tasks().empty()) {
        EXPECT_FALSE(folder.exists("mission.mss"));
        return;
    }
    const std::string saved = folder.readText("mission.mss");
    EXPECT_EQ(saved.find("[1]"), std::string::npos);
    EXPECT_NE(saved.find("[2]\n1=A - 倒计时方式\n2=记录器\n"), std::string::npos) << saved;
}

INSTANTIATE_TEST_SUITE_P(AutoSave, CloseStepTest,
    ::testing::Values(CloseCase { "On", true, false, true },
        CloseCase { "Off", false, false, false }, CloseCase { "SwitchedOn", false, true, true },
        CloseCase { "SwitchedOff", true, true, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, CloseBoxRunsTheCloseStep)
{
    folder.writeConfig("[config]\nCB_save=1\n");
    folder.writeMission(mission({ countdownRow("1", "100") }));
    TForm_Main &main = open();
    QSignalSpy ended(&main, &TForm_Main::programEnded);
    main.close();
    EXPECT_TRUE(main.closeStepDone());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_NE(folder.readText("mission.mss").find("6=100\n"), std::string::npos);
    // A second request changes nothing.
    main.FormClose(TForm_Main::CloseReason::System);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(MainWindowTest, NothingRunsOrIsWrittenAfterTheCloseStep)
{
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_save=0\n");
    TForm_Main &main = open();
    main.tasks().append(TaskRow { "1",
        { platform::utf8ToGbk("A - 倒计时方式"), platform::utf8ToGbk("记录器"), "p", "",
            platform::utf8ToGbk("保留"), "0", "0", "0" },
        true, 0 });
    main.close();
    const std::string config = folder.readBytes("CFG.dll");

    main.TimeTimer();
    QTest::mouseClick(control<QCheckBox>("CB_ok"), Qt::LeftButton);
    QTest::mouseClick(control<QCheckBox>("CB_save"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("tianjia"), Qt::LeftButton);

    EXPECT_TRUE(folder.runCalls().empty());
    EXPECT_TRUE(main.tasks().row(0).Running);
    EXPECT_EQ(main.tasks().size(), 1u);
    EXPECT_EQ(folder.readBytes("CFG.dll"), config);
    EXPECT_FALSE(folder.exists("mission.mss"));
    EXPECT_TRUE(notices.notices.empty());
}

class RefusedSaveTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        folder.writeConfig("[config]\nCB_save=1\n");
        folder.writeMission(mission({ countdownRow("1", "100", "保留", "任务一") }));
        before = folder.readBytes("mission.mss");
        open();
        setWritable(false);
    }

    void setWritable(bool writable)
    {
        std::filesystem::permissions(folder.file("mission.mss"),
            std::filesystem::perms::owner_write | std::filesystem::perms::group_write
                | std::filesystem::perms::others_write,
            writable ? std::filesystem::perm_options::add : std::filesystem::perm_options::remove);
    }

    std::string before;
};

TEST_F(RefusedSaveTest, TheUserMayRetryOrKeepTheProgramRunning)
{
    QSignalSpy ended(window, &TForm_Main::programEnded);
    // Keep running: nothing is closed and the tasks go on.
    notices.answer = false;
    QTest::mouseClick(control<QPushButton>("tuichu"), Qt::LeftButton);
    ASSERT_EQ(notices.ofKind(Kind::Retry).size(), 1u);
    EXPECT_NE(notices.ofKind(Kind::Retry)[0].text.indexOf(
                  QString::fromStdString("Unable to write to " + folder.file("mission.mss"))),
        -1);
    EXPECT_TRUE(notices.ofKind(Kind::Retry)[0].text.contains(QStringLiteral("继续运行")));
    EXPECT_EQ(ended.count(), 0);
    EXPECT_FALSE(window->closeStepDone());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(tasks().size(), 1u);
    EXPECT_EQ(folder.readBytes("mission.mss"), before);

    // Retry after the file was freed: saved, and the program ends.
    int retries = 0;
    notices.answer = true;
    notices.onNotice = [&](const NoticeRecorder::Notice &notice) {
        if (notice.kind == Kind::Retry && ++retries == 2)
            setWritable(true);
    };
    QTest::mouseClick(control<QPushButton>("tuichu"), Qt::LeftButton);
    EXPECT_EQ(retries, 2);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(window->closeStepDone());
    EXPECT_NE(folder.readText("mission.mss").find("3=任务一"), std::string::npos);
}

TEST_F(RefusedSaveTest, WithNobodyToAskTheRowsGoToTheUsersDataFolder)
{
    TempFolder dataHome;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome.path()));
    QSignalSpy ended(window, &TForm_Main::programEnded);
    window->FormClose(TForm_Main::CloseReason::System);
    qunsetenv("XDG_DATA_HOME");

    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(notices.notices.empty());
    EXPECT_EQ(folder.readBytes("mission.mss"), before);
    const std::vector<std::string> copies
        = platform::listDirectory(dataHome.file("LunorTime/"), "*.mss");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(platform::gbkToUtf8(dataHome.read("LunorTime/" + copies[0])).find("3=任务一"),
        std::string::npos);
}

} // namespace
} // namespace lunor::test
