#include "app/Program.h"
#include "app/ProgramShutdown.h"
#include "app/TForm_Main.h"
#include "gui/FixedWindow.h"
#include "plugins/TForm_manage.h"
#include "settings/TForm_About.h"
#include "settings/TForm_Config.h"
#include "update/TForm_up.h"

#include "gui/ApplicationIcon.h"
#include "gui/QtUserNotices.h"
#include "kelmu/KelmuFunctions.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Signals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // First of all, so that a request to end the program is never lost or fatal.
    const int terminationPipe = lunor::platform::catchTerminationRequests();

    QApplication application(argc, argv);
    // The main window's close step ends the program, not the last window that closes: with a
    // hidden main window, closing the settings window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(lunor::gui::windowFont());
    QApplication::setWindowIcon(lunor::gui::applicationIcon());

    lunor::LibraryKelmuFunctions kelmu;
    lunor::gui::QtUserNotices notices;
    lunor::Program program(
        lunor::platform::executableDirectory(), kelmu, lunor::platform::systemClock(), notices);

    // The five windows, in this order; the main window's creation step runs first.
    lunor::gui::TForm_Main formMain(program, notices);
    lunor::gui::TForm_Config formConfig;
    lunor::gui::TForm_About formAbout;
    lunor::gui::TForm_manage formManage;
    lunor::gui::TForm_up formUp;
    formMain.setOtherWindows(&formConfig, &formAbout, &formManage, &formUp);

    lunor::gui::ProgramShutdown shutdown(formMain, terminationPipe);

    if (formMain.showAtStart())
        formMain.show();
    return QApplication::exec();
}
