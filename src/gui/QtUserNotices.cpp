#include "gui/QtUserNotices.h"

#include "gui/GbkText.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace lunor::gui {
namespace {

QtUserNotices::TestHook &testHook()
{
    static QtUserNotices::TestHook hook;
    return hook;
}

} // namespace

void QtUserNotices::setTestHook(TestHook hook)
{
    testHook() = std::move(hook);
}

QtUserNotices::QtUserNotices(QWidget *owner)
    : m_owner(owner)
{ }

QString QtUserNotices::applicationTitle()
{
    // Falls back to the application name, which the main window sets to its caption.
    return QGuiApplication::applicationDisplayName();
}

void QtUserNotices::information(const std::string &caption, const std::string &text)
{
    show(Kind::Information, fromGbk(caption), fromGbk(text));
}

bool QtUserNotices::confirm(const std::string &caption, const std::string &text)
{
    const bool yes = show(Kind::Confirm, fromGbk(caption), fromGbk(text));
    // The close step may have run while the box was open.
    return yes && !m_silenced;
}

void QtUserNotices::plainMessage(const std::string &text)
{
    show(Kind::Plain, applicationTitle(), fromGbk(text));
}

void QtUserNotices::beep()
{
    show(Kind::Beep, {}, {});
}

void QtUserNotices::error(const std::string &text)
{
    show(Kind::Error, applicationTitle(), fromGbk(text));
}

bool QtUserNotices::retryOrKeepRunning(const std::string &text)
{
    return show(Kind::Retry, applicationTitle(), fromGbk(text));
}

bool QtUserNotices::show(Kind kind, const QString &caption, const QString &text)
{
    if (m_silenced)
        return false;
    if (testHook())
        return testHook()(Notice { kind, caption, text });

    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QWidget *parent = m_owner;
    switch (kind) {
    case Kind::Beep:
        QApplication::beep();
        return false;
    case Kind::Information:
        break;
    case Kind::Confirm:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case Kind::Plain:
        icon = QMessageBox::NoIcon;
        break;
    case Kind::Error:
        icon = QMessageBox::Critical;
        break;
    case Kind::Retry:
        icon = QMessageBox::Warning;
        buttons = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    // The buttons speak the program's language, as the system's boxes do on a Chinese desktop.
    if (kind == Kind::Confirm) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(QMessageBox::Yes);
    } else if (kind == Kind::Retry) {
        box.button(QMessageBox::Retry)->setText(QStringLiteral("重试(&R)"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("继续运行(&C)"));
        box.setDefaultButton(QMessageBox::Retry);
        return box.exec() == QMessageBox::Retry;
    } else {
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    return box.exec() == QMessageBox::Yes;
}

} // namespace lunor::gui
