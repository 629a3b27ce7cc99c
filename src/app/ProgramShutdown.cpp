#include "app/ProgramShutdown.h"

#include "app/TForm_Main.h"

#include "platform/Signals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

namespace lunor::gui {

ProgramShutdown::ProgramShutdown(TForm_Main &mainWindow, int terminationPipe, QObject *parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
    , m_pipe(terminationPipe)
{
    if (m_pipe >= 0) {
        m_notifier = new QSocketNotifier(m_pipe, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            platform::takeTerminationRequest(m_pipe);
            endProgram();
        });
    }
    // The main window closed: its close step has run.
    connect(&m_mainWindow, &TForm_Main::programEnded, this, [] { QCoreApplication::exit(0); });
#ifndef QT_NO_SESSIONMANAGER
    // The session manager asks for the data to be saved when the desktop session ends.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager &) { endProgram(); });
#endif
    // Any other way out of the event loop still saves the task list.
    connect(qApp, &QCoreApplication::aboutToQuit, this,
        [this] { m_mainWindow.FormClose(TForm_Main::CloseReason::System); });
}

void ProgramShutdown::endProgram()
{
    m_mainWindow.FormClose(TForm_Main::CloseReason::System);
    // Leaves every running event loop, nested ones included; the loops that are still to
    // start return at once.
    QCoreApplication::exit(0);
}

} // namespace lunor::gui
