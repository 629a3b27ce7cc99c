// The program's end when the system asks for it: a termination signal that arrives while a
// confirmation box is open (a nested event loop) runs the close step, leaves every event loop
// with status 0, and nothing runs or is written afterwards.
#include "GuiTestSupport.h"
#include "ProgramWindow.h"
#include "app/ProgramShutdown.h"
#include "app/TForm_Main.h"

#include "platform/Signals.h"
#include "settings/IniStore.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace lunor::test {
namespace {

using Kind = NoticeRecorder::Kind;

const char DueRows[]
    = "[1]\n1=A - 倒计时方式\n2=记录器\n3=first\n4=剩余时间\n5=保留\n6=0\n7=0\n8=0\nbool=1\n"
      "[2]\n1=A - 倒计时方式\n2=记录器\n3=second\n4=剩余时间\n5=保留\n6=0\n7=0\n8=0\nbool=1\n";

TEST(ProgramShutdownTest, TerminationSignalDuringAConfirmationEndsTheProgramCleanly)
{
    ProgramFolder folder;
    folder.installRecorder();
    folder.writeConfig("[config]\nCB_ok=1\nCB_save=1\n");
    folder.writeMission(DueRows);

    const int pipe = platform::catchTerminationRequests();
    ASSERT_GE(pipe, 0);
    ProgramWindow program(folder.path());
    gui::TForm_Main &window = program.window;
    gui::ProgramShutdown shutdown(window, pipe);
    window.show();

    NoticeRecorder notices;
    std::string missionAtClose;
    std::string configAfterwards;
    notices.onNotice = [&](const NoticeRecorder::Notice &notice) {
        if (notice.kind != Kind::Confirm || !notices.notices.empty())
            return;
        // The box stays open until the signal has ended every event loop.
        std::raise(SIGTERM);
        QEventLoop boxLoop;
        boxLoop.exec();
        EXPECT_TRUE(window.closeStepDone());
        missionAtClose = folder.readBytes("mission.mss");
        // Confirmation switched off elsewhere meanwhile: a run that slipped past the close
        // step would now go ahead without asking.
        IniStore(folder.file("CFG.dll")).writeBool("config", "CB_ok", false);
        configAfterwards = folder.readBytes("CFG.dll");
    };
    // Answered Yes, but only after the close step: the answer no longer counts.
    notices.answer = true;

    const int status = QApplication::exec();

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(window.closeStepDone());
    ASSERT_EQ(notices.ofKind(Kind::Confirm).size(), 1u);
    EXPECT_TRUE(folder.runCalls().empty());
    // The save happened at the close step: the first row disarmed before its run, the second
    // still armed. Nothing was written after it.
    const std::string saved = folder.readText("mission.mss");
    EXPECT_NE(saved.find("3=first\n4=剩余时间\n5=保留\n6=0\n7=0\n8=0\nbool=0\n"), std::string::npos)
        << saved;
    EXPECT_NE(
        saved.find("3=second\n4=剩余时间\n5=保留\n6=0\n7=0\n8=0\nbool=1\n"), std::string::npos)
        << saved;
    EXPECT_EQ(folder.readBytes("mission.mss"), missionAtClose);
    EXPECT_EQ(folder.readBytes("CFG.dll"), configAfterwards);
}

} // namespace
} // namespace lunor::test
