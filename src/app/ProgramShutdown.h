#pragma once

#include <QObject>

class QSocketNotifier;

namespace lunor::gui {

class TForm_Main;

// Ends the program through the main window's close step, whoever asks: the window itself
// (close box, "退出程序"), a termination signal, the end of the desktop session. Every event
// loop is left, nested ones too (an open message box or a module's dialog), and the program
// exits with status 0.
class ProgramShutdown final : public QObject
{
    Q_OBJECT
public:
    // `terminationPipe` is the pipe of platform::catchTerminationRequests(), or -1.
    ProgramShutdown(TForm_Main &mainWindow, int terminationPipe, QObject *parent = nullptr);

private:
    void endProgram();

    TForm_Main &m_mainWindow;
    int m_pipe;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace lunor::gui
