#include "app/TForm_Main.h"

#include "app/Program.h"

#include "gui/GbkText.h"
#include "gui/QtUserNotices.h"
#include "gui/SecondTimer.h"
#include "plugins/TForm_manage.h"
#include "scheduler/TaskListModel.h"
#include "settings/TForm_About.h"
#include "settings/TForm_Config.h"
#include "update/TForm_up.h"

#include "common/SystemTexts.h"
#include "platform/FileSystem.h"
#include "plugins/PluginHost.h"
#include "scheduler/TaskEntry.h"
#include "settings/IniStore.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimeEdit>
#include <QTreeView>
#include <QUrl>

#include <cstdio>

#ifndef LUNOR_WEBSITE
#error "LUNOR_WEBSITE must name the product web site"
#endif

namespace lunor::gui {
namespace {

const char CaptionPrefix[] = "Lunor定时系统 v";

// The list view shows grid lines between its cells, as a report view with grid lines does.
class GridLineDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight).darker(115));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

QGroupBox *makeGroup(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

template <typename Control> Control *place(Control *control, const char *name, QRect geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

DateTime toDateTime(const QDate &date, const QTime &time)
{
    DateTime moment;
    if (date.isValid()) {
        moment.year = date.year();
        moment.month = date.month();
        moment.day = date.day();
    }
    if (time.isValid()) {
        moment.hour = time.hour();
        moment.minute = time.minute();
        moment.second = time.second();
    }
    return moment;
}

} // namespace

TForm_Main::TForm_Main(Program &program, QtUserNotices &notices, QWidget *parent)
    : FixedWindow(QString::fromUtf8(CaptionPrefix), QSize(690, 330), parent)
    , m_program(program)
    , m_notices(notices)
{
    setObjectName(QStringLiteral("Form_Main"));
    m_notices.setOwner(this);

    buildControls();
    connectHandlers();

    Time = new SecondTimer(this);
    Time->setObjectName(QStringLiteral("Time"));
    connect(Time, &SecondTimer::tick, this, [this] { runAction([this] { TimeTimer(); }); });

    FormCreate();
}

TForm_Main::~TForm_Main()
{
    // The view and the model read the task list, which goes before the child objects do.
    delete LV_liebiao;
    delete m_model;
}

void TForm_Main::setOtherWindows(
    TForm_Config *config, TForm_About *about, TForm_manage *manage, TForm_up *up)
{
    m_formConfig = config;
    m_formAbout = about;
    m_formManage = manage;
    m_formUp = up;
}

// ---------------------------------------------------------------------------------------------
// Controls

void TForm_Main::buildControls()
{
    QStyle *look = style();

    QGroupBox *timing
        = makeGroup(this, "GB_dingshifangshi", QStringLiteral("定时方式"), { 8, 8, 209, 65 });
    CB_jishi = place(new QComboBox(timing), "CB_jishi", { 12, 26, 157, 22 });
    for (const std::string &label : modeLabels())
        CB_jishi->addItem(fromGbk(label));
    CB_jishi->setCurrentIndex(0);
    jishi_help = place(new QPushButton(timing), "jishi_help", { 174, 25, 25, 24 });
    jishi_help->setIcon(look->standardIcon(QStyle::SP_MessageBoxQuestion));

    QGroupBox *operation
        = makeGroup(this, "GB_caozuofangshi", QStringLiteral("操作方式"), { 8, 80, 209, 57 });
    CB_caozuo = place(new QComboBox(operation), "CB_caozuo", { 12, 24, 157, 22 });
    caozuo_help = place(new QPushButton(operation), "caozuo_help", { 174, 23, 25, 24 });
    caozuo_help->setIcon(look->standardIcon(QStyle::SP_MessageBoxQuestion));

    // Group "B" first: at start both are visible, group "A" lying over it.
    GB_canshu_b = makeGroup(this, "GB_canshu_b", QStringLiteral("计时参数"), { 224, 8, 129, 129 });
    DTP_shijian = place(new QTimeEdit(GB_canshu_b), "DTP_shijian", { 6, 24, 117, 22 });
    DTP_shijian->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    CB_riqi = place(
        new QCheckBox(QStringLiteral("指定日期"), GB_canshu_b), "CB_riqi", { 10, 60, 111, 20 });
    DTP_riqi = place(new QDateEdit(GB_canshu_b), "DTP_riqi", { 6, 94, 117, 22 });
    DTP_riqi->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    DTP_riqi->setCalendarPopup(true);
    DTP_riqi->setEnabled(false);

    GB_canshu_a = makeGroup(this, "GB_canshu_a", QStringLiteral("计时参数"), { 224, 8, 129, 129 });
    // Opaque, so that lying over group "B" it hides it.
    GB_canshu_a->setAutoFillBackground(true);
    GB_canshu_b->setAutoFillBackground(true);
    const struct
    {
        QSpinBox **box;
        const char *name;
        const char *labelName;
        const char *caption;
    } spins[] = {
        { &SE_xiaoshi, "SE_xiaoshi", "Label_xiaoshi", "小时" },
        { &SE_fenzhong, "SE_fenzhong", "Label_fenzhong", "分钟" },
        { &SE_miaozhong, "SE_miaozhong", "Label_miaozhong", "秒钟" },
    };
    int top = 24;
    for (const auto &spin : spins) {
        QSpinBox *box = place(new QSpinBox(GB_canshu_a), spin.name, { 16, top, 65, 22 });
        box->setRange(0, 999);
        box->setValue(0);
        *spin.box = box;
        place(new QLabel(QString::fromUtf8(spin.caption), GB_canshu_a), spin.labelName,
            { 88, top, 33, 22 });
        top += 35;
    }

    QGroupBox *quick
        = makeGroup(this, "GB_shezhi", QStringLiteral("快速设置"), { 360, 8, 161, 129 });
    CB_ok = place(
        new QCheckBox(QStringLiteral("经确认后执行操作"), quick), "CB_ok", { 16, 26, 137, 20 });
    CB_save = place(
        new QCheckBox(QStringLiteral("自动保存任务列表"), quick), "CB_save", { 16, 60, 137, 20 });
    CB_SyncTime = place(new QCheckBox(QStringLiteral("自动同步网络时间"), quick), "CB_SyncTime",
        { 16, 94, 137, 20 });

    buildButtons(makeGroup(this, "GB_caozuo", QStringLiteral("操作"), { 528, 8, 153, 297 }));
    buildTaskList(makeGroup(this, "GB_liebiao", QStringLiteral("列表"), { 8, 144, 513, 161 }));

    StatusBar = place(new QStatusBar(this), "StatusBar", { 0, 310, 690, 20 });
    StatusBar->setSizeGripEnabled(false);
    const int panelWidths[3] = { 210, 180, 50 };
    for (int panel = 0; panel < 3; ++panel) {
        auto *label = new QLabel(StatusBar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        label->setMinimumWidth(panelWidths[panel]);
        if (panel < 2) {
            label->setFixedWidth(panelWidths[panel]);
            StatusBar->addWidget(label);
        } else {
            // The last panel reaches to the right edge, as a status bar's last panel does.
            StatusBar->addWidget(label, 1);
        }
        m_statusPanels[panel] = label;
    }
}

void TForm_Main::buildButtons(QGroupBox *group)
{
    const struct
    {
        QPushButton **button;
        const char *name;
        const char *caption;
        QStyle::StandardPixmap picture;
    } buttons[] = {
        { &tianjia, "tianjia", "添加记录", QStyle::SP_FileDialogNewFolder },
        { &shanchu, "shanchu", "删除记录", QStyle::SP_DialogDiscardButton },
        { &yincang, "yincang", "隐藏程序", QStyle::SP_TitleBarMinButton },
        { &shezhi, "shezhi", "程序设置", QStyle::SP_FileDialogDetailedView },
        { &chajian, "chajian", "插件管理", QStyle::SP_DirIcon },
        { &gengxin, "gengxin", "插件更新", QStyle::SP_BrowserReload },
        { &wangzhan, "wangzhan", "我的网站", QStyle::SP_DriveNetIcon },
        { &guanyu, "guanyu", "关于程序", QStyle::SP_MessageBoxInformation },
        { &tuichu, "tuichu", "退出程序", QStyle::SP_DialogCloseButton },
    };
    int top = 24;
    for (const auto &entry : buttons) {
        QPushButton *button = place(new QPushButton(QString::fromUtf8(entry.caption), group),
            entry.name, { 16, top, 121, 25 });
        button->setIcon(style()->standardIcon(entry.picture));
        *entry.button = button;
        top += 30;
    }
}

void TForm_Main::buildTaskList(QGroupBox *group)
{
    LV_liebiao = place(new QTreeView(group), "LV_liebiao", { 8, 20, 497, 133 });
    m_model = new TaskListModel(m_program.tasks(), this);
    LV_liebiao->setModel(m_model);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TForm_Main::forgetSelection);
    LV_liebiao->setItemDelegate(new GridLineDelegate(LV_liebiao));
    LV_liebiao->setRootIsDecorated(false);
    LV_liebiao->setItemsExpandable(false);
    LV_liebiao->setExpandsOnDoubleClick(false);
    LV_liebiao->setUniformRowHeights(true);
    LV_liebiao->setAllColumnsShowFocus(true);
    LV_liebiao->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV_liebiao->setSelectionMode(QAbstractItemView::SingleSelection);
    LV_liebiao->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV_liebiao->setIconSize(QSize(24, 24));
    LV_liebiao->setContextMenuPolicy(Qt::CustomContextMenu);

    QHeaderView *header = LV_liebiao->header();
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignCenter);
    // The designed widths; Form_Load gives the last three columns width 0.
    const int widths[TaskListModel::ColumnCount] = { 50, 80, 50, 80, 90, 120, 80, 80, 80 };
    for (int column = 0; column < TaskListModel::ColumnCount; ++column)
        header->resizeSection(column, widths[column]);

    liebiaoMenu = new QMenu(this);
    liebiaoMenu->setObjectName(QStringLiteral("liebiaoMenu"));
    const auto addItem = [this](const char *name, const char *caption) {
        QAction *action = liebiaoMenu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    const auto addSeparator = [this](const char *name) {
        liebiaoMenu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    menu_playstop = addItem("menu_playstop", "停止\\继续运行该条记录");
    addSeparator("N5");
    menu_edel = addItem("menu_edel", "执行操作后删除该条记录");
    menu_enodel = addItem("menu_enodel", "执行操作后保留该条记录");
    addSeparator("N6");
    menu_del = addItem("menu_del", "删除该条记录");
}

void TForm_Main::connectHandlers()
{
    // Every handler runs through runAction, so a refused store write ends it with an error box.
    const auto on = [this](auto *sender, auto signal, void (TForm_Main::*handler)()) {
        connect(sender, signal, this,
            [this, handler] { runAction([this, handler] { (this->*handler)(); }); });
    };
    on(tianjia, &QPushButton::clicked, &TForm_Main::tianjiaClick);
    on(shanchu, &QPushButton::clicked, &TForm_Main::shanchuClick);
    on(shezhi, &QPushButton::clicked, &TForm_Main::shezhiClick);
    on(chajian, &QPushButton::clicked, &TForm_Main::chajianClick);
    on(gengxin, &QPushButton::clicked, &TForm_Main::gengxinClick);
    on(wangzhan, &QPushButton::clicked, &TForm_Main::wangzhanClick);
    on(guanyu, &QPushButton::clicked, &TForm_Main::guanyuClick);
    on(tuichu, &QPushButton::clicked, &TForm_Main::tuichuClick);
    on(jishi_help, &QPushButton::clicked, &TForm_Main::jishi_helpClick);
    on(caozuo_help, &QPushButton::clicked, &TForm_Main::caozuo_helpClick);
    on(CB_jishi, &QComboBox::currentIndexChanged, &TForm_Main::CB_jishiChange);
    on(CB_riqi, &QCheckBox::toggled, &TForm_Main::CB_riqiClick);
    on(CB_ok, &QCheckBox::toggled, &TForm_Main::CB_okClick);
    on(CB_save, &QCheckBox::toggled, &TForm_Main::CB_saveClick);
    on(CB_SyncTime, &QCheckBox::toggled, &TForm_Main::CB_SyncTimeClick);
    on(liebiaoMenu, &QMenu::aboutToShow, &TForm_Main::liebiaoMenuPopup);
    on(menu_playstop, &QAction::triggered, &TForm_Main::menu_playstopClick);
    on(menu_edel, &QAction::triggered, &TForm_Main::menu_edelClick);
    on(menu_enodel, &QAction::triggered, &TForm_Main::menu_enodelClick);
    on(menu_del, &QAction::triggered, &TForm_Main::menu_delClick);
    on(LV_liebiao, &QAbstractItemView::doubleClicked, &TForm_Main::LV_liebiaoDblClick);
    connect(LV_liebiao, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &at) { liebiaoMenu->popup(LV_liebiao->viewport()->mapToGlobal(at)); });
}

// ---------------------------------------------------------------------------------------------
// Creation and close steps

bool TForm_Main::closeStepDone() const
{
    return m_program.closed();
}

TaskList &TForm_Main::tasks()
{
    return m_program.tasks();
}

void TForm_Main::FormCreate()
{
    try {
        m_program.openConfig();
        m_program.rebuildCatalogue();
        Form_Load();
    } catch (const std::exception &error) {
        // The remaining steps are skipped; the window is still created and the program runs on.
        reportError(error);
    }
}

void TForm_Main::Form_Load()
{
    const QString caption = QString::fromUtf8(CaptionPrefix)
        + fromGbk(m_program.kelmu().getFileVer(platform::executablePath()));
    setWindowTitle(caption);
    // The application title captions the plain dialogs and the error boxes. It is kept as the
    // application name: a display name would also be appended to the title of every other
    // window and box on X11.
    QCoreApplication::setApplicationName(caption);

    m_program.openTaskListStore();

    CB_caozuo->clear();
    for (const std::string &name : m_program.operationNames())
        CB_caozuo->addItem(fromGbk(name));
    CB_caozuo->setCurrentIndex(CB_caozuo->count() > 0 ? 0 : -1);

    for (int column = 6; column < TaskListModel::ColumnCount; ++column)
        LV_liebiao->header()->resizeSection(column, 0);

    IniStore &config = m_program.config();
    setQuickSetting(CB_ok, config.readBool("config", "CB_ok", false), &TForm_Main::CB_okClick);
    setQuickSetting(
        CB_save, config.readBool("config", "CB_save", false), &TForm_Main::CB_saveClick);
    if (CB_save->isChecked())
        m_program.loadTaskList();

    m_showAtStart = !config.readBool("config", "CB_hidewindow", false);

    resetDateAndTime();

    setQuickSetting(
        CB_SyncTime, config.readBool("config", "CB_time", false), &TForm_Main::CB_SyncTimeClick);
}

void TForm_Main::closeEvent(QCloseEvent *event)
{
    if (FormClose(CloseReason::User))
        event->accept();
    else
        event->ignore();
}

bool TForm_Main::FormClose(CloseReason reason)
{
    if (m_program.closed())
        return true;
    for (;;) {
        try {
            m_program.saveTaskList();
            break;
        } catch (const std::exception &error) {
            if (reason == CloseReason::User) {
                // Nothing is lost: the user may free the file and retry, or keep the program.
                const std::string text = gbk("任务列表无法保存，退出程序会丢失这些任务：\n")
                    + gbk(error.what()) + gbk("\n\n请重试，或者让程序继续运行。");
                if (m_notices.retryOrKeepRunning(text))
                    continue;
                return false;
            }
            // Nobody can answer: the rows go to a file of their own, named where someone looks.
            const std::optional<std::string> copy = m_program.saveFallbackCopy();
            std::fprintf(stderr, "lunortime: %s\n", error.what());
            if (copy)
                std::fprintf(
                    stderr, "lunortime: the task list was saved to %s instead\n", copy->c_str());
            break;
        }
    }
    // From here on no pass, run or store write starts, also not while a box below is open.
    m_program.finishClose();
    m_notices.silence();
    emit programEnded();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Timer

void TForm_Main::TimeTimer()
{
    if (m_program.closed())
        return;
    // The tick's moment is read once: the status bar and the pass see the same second.
    const DateTime now = m_program.now();
    const StatusTexts texts = makeStatusTexts(m_program.kelmu(), now);
    m_statusPanels[0]->setText(fromGbk(texts.clock));
    m_statusPanels[1]->setText(fromGbk(texts.uptime));
    m_statusPanels[2]->setText(fromGbk(texts.idle));
    m_program.tick(now);
}

// ---------------------------------------------------------------------------------------------
// Task entry

void TForm_Main::tianjiaClick()
{
    PluginHost *host = m_program.plugins();
    if (!host)
        return;
    TaskEntryValues values;
    values.modePosition = CB_jishi->currentIndex();
    values.modeText = toGbk(CB_jishi->currentText());
    values.operationName = toGbk(CB_caozuo->currentText());
    values.hours = spinValue(SE_xiaoshi);
    values.minutes = spinValue(SE_fenzhong);
    values.seconds = spinValue(SE_miaozhong);
    values.withDate = CB_riqi->isChecked();
    values.date = toDateTime(DTP_riqi->date(), {});
    values.time = toDateTime({}, DTP_shijian->time());

    const std::optional<std::string> parameter = host->obtainParameter(values.operationName);
    // The module's dialog ran an event loop: the program may have been closed meanwhile.
    if (!parameter || m_program.closed())
        return;
    TaskList &list = m_program.tasks();
    list.append(makeTaskRow(values, *parameter, list.size() + 1));

    SE_xiaoshi->setValue(0);
    SE_fenzhong->setValue(0);
    SE_miaozhong->setValue(0);
    resetDateAndTime();
}

int TForm_Main::spinValue(const QSpinBox *box)
{
    // A cleared field keeps its last value in QSpinBox; it reads as the text it shows.
    bool number = false;
    const int value = box->cleanText().trimmed().toInt(&number);
    return number && value >= box->minimum() && value <= box->maximum() ? value : 0;
}

void TForm_Main::resetDateAndTime()
{
    const DateTime now = m_program.now();
    DTP_riqi->setDate(QDate(now.year, now.month, now.day));
    DTP_shijian->setTime(QTime(now.hour, now.minute, now.second));
    CB_riqi->setChecked(false);
    // Also when the box was unchecked already, so the picker ends up disabled.
    CB_riqiClick();
}

void TForm_Main::CB_jishiChange()
{
    const QString text = CB_jishi->currentText();
    const QChar group = text.isEmpty() ? QChar() : text.front();
    GB_canshu_b->setVisible(group == QLatin1Char('B'));
    GB_canshu_a->setVisible(group == QLatin1Char('A'));
}

void TForm_Main::CB_riqiClick()
{
    DTP_riqi->setEnabled(CB_riqi->isChecked());
}

void TForm_Main::jishi_helpClick()
{
    m_notices.information(texts::helpCaption(), modeHelpText(CB_jishi->currentIndex()));
}

void TForm_Main::caozuo_helpClick()
{
    if (PluginHost *host = m_program.plugins())
        host->showHelp(toGbk(CB_caozuo->currentText()));
}

// ---------------------------------------------------------------------------------------------
// Quick settings

void TForm_Main::setQuickSetting(QCheckBox *box, bool checked, void (TForm_Main::*handler)())
{
    if (box->isChecked() == checked)
        return;
    {
        const QSignalBlocker blocker(box);
        box->setChecked(checked);
    }
    (this->*handler)();
}

void TForm_Main::writeQuickSetting(const char *key, bool value)
{
    if (m_program.configOpen())
        m_program.config().writeBool("config", key, value);
}

void TForm_Main::CB_okClick()
{
    writeQuickSetting("CB_ok", CB_ok->isChecked());
}

void TForm_Main::CB_saveClick()
{
    writeQuickSetting("CB_save", CB_save->isChecked());
}

void TForm_Main::CB_SyncTimeClick()
{
    writeQuickSetting("CB_time", CB_SyncTime->isChecked());
}

// ---------------------------------------------------------------------------------------------
// Task list commands

std::optional<std::size_t> TForm_Main::selectedRow() const
{
    const QModelIndexList selected = LV_liebiao->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return std::nullopt;
    const int row = selected.first().row();
    if (row < 0 || static_cast<std::size_t>(row) >= m_program.tasks().size())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void TForm_Main::shanchuClick()
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row) {
        m_notices.information(texts::helpCaption(), gbk("请先选择一条记录！"));
        return;
    }
    m_program.tasks().remove(*row);
}

void TForm_Main::forgetSelection()
{
    // The view would select the row that moved up: a second "删除记录" must not delete a task
    // the user never chose.
    LV_liebiao->selectionModel()->clear();
}

void TForm_Main::menu_delClick()
{
    shanchuClick();
}

void TForm_Main::menu_playstopClick()
{
    const std::optional<std::size_t> row = selectedRow();
    if (!row)
        return;
    const bool running = !m_program.tasks().row(*row).Running;
    m_program.tasks().setRunning(*row, running);
    m_program.tasks().setRowImage(*row, running ? 0 : 1);
    m_program.tasks().flushChanges();
}

void TForm_Main::LV_liebiaoDblClick()
{
    if (selectedRow())
        menu_playstopClick();
}

void TForm_Main::menu_edelClick()
{
    if (const std::optional<std::size_t> row = selectedRow()) {
        m_program.tasks().setText(*row, TaskField::AfterRun, texts::deleteAfterRun());
        m_program.tasks().flushChanges();
    }
}

void TForm_Main::menu_enodelClick()
{
    if (const std::optional<std::size_t> row = selectedRow()) {
        m_program.tasks().setText(*row, TaskField::AfterRun, texts::keepAfterRun());
        m_program.tasks().flushChanges();
    }
}

void TForm_Main::liebiaoMenuPopup()
{
    const std::optional<std::size_t> row = selectedRow();
    const std::string afterRun
        = row ? m_program.tasks().row(*row).text(TaskField::AfterRun) : std::string();
    menu_playstop->setEnabled(row.has_value());
    menu_edel->setEnabled(row && afterRun == texts::keepAfterRun());
    menu_enodel->setEnabled(row && afterRun == texts::deleteAfterRun());
    menu_del->setEnabled(row.has_value());
}

// ---------------------------------------------------------------------------------------------
// Buttons to the other windows

void TForm_Main::showWindow(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm_Main::shezhiClick()
{
    showWindow(m_formConfig);
}

void TForm_Main::chajianClick()
{
    showWindow(m_formManage);
}

void TForm_Main::gengxinClick()
{
    showWindow(m_formUp);
}

void TForm_Main::guanyuClick()
{
    showWindow(m_formAbout);
}

void TForm_Main::wangzhanClick()
{
    // The result is of no interest: a failure to open the page changes nothing here.
    QDesktopServices::openUrl(QUrl(QStringLiteral(LUNOR_WEBSITE)));
}

void TForm_Main::tuichuClick()
{
    close();
}

// ---------------------------------------------------------------------------------------------

void TForm_Main::runAction(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::exception &error) {
        reportError(error);
    }
}

void TForm_Main::reportError(const std::exception &error)
{
    // The message names a path, which is UTF-8 here.
    m_notices.error(gbk(error.what()));
}

} // namespace lunor::gui
