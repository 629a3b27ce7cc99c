#pragma once

#include "plugins/UserNotices.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace lunor::gui {

// The program's notices as message boxes. Boxes run their own event loop, so the one-second
// timer and the other windows go on while one is open.
class QtUserNotices final : public UserNotices
{
public:
    enum class Kind { Information, Confirm, Plain, Beep, Error, Retry };
    struct Notice
    {
        Kind kind;
        QString caption; // as the box would show it
        QString text;
    };
    // Window tests answer the boxes through this hook instead of seeing them: it gets every
    // notice in place of the box (or the beep), and its result answers a confirmation.
    using TestHook = std::function<bool(const Notice &)>;
    static void setTestHook(TestHook hook);

    // `owner` owns the boxes that the main window owns.
    explicit QtUserNotices(QWidget *owner = nullptr);
    void setOwner(QWidget *owner) { m_owner = owner; }

    // After the close step nothing may follow: no more boxes, and a confirmation that is
    // still open or comes later counts as declined.
    void silence() { m_silenced = true; }

    void information(const std::string &caption, const std::string &text) override;
    bool confirm(const std::string &caption, const std::string &text) override;
    void plainMessage(const std::string &text) override;
    void beep() override;
    void error(const std::string &text) override;

    // A box owned by the main window with the buttons "重试" and "继续运行": true for a retry.
    bool retryOrKeepRunning(const std::string &text);

    // The application title: the caption of plain dialogs and error boxes.
    static QString applicationTitle();

private:
    // Shows the box, or hands it to the test hook; true when it was answered with Yes.
    bool show(Kind kind, const QString &caption, const QString &text);

    QPointer<QWidget> m_owner;
    bool m_silenced = false;
};

} // namespace lunor::gui
