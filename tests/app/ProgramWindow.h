#pragma once

#include "app/Program.h"
#include "app/TForm_Main.h"
#include "gui/QtUserNotices.h"
#include "kelmu/KelmuFunctions.h"
#include "platform/Clock.h"

#include <string>

namespace lunor::test {

// The program over a folder with its main window, put together as the program entry does;
// a test may give its own function library and clock.
class ProgramWindow
{
public:
    explicit ProgramWindow(const std::string &folder, KelmuFunctions *kelmu = nullptr,
        platform::Clock *clock = nullptr)
        : program(
            folder, kelmu ? *kelmu : m_library, clock ? *clock : platform::systemClock(), notices)
        , window(program, notices)
    { }

private:
    LibraryKelmuFunctions m_library;

public:
    gui::QtUserNotices notices;
    Program program;
    gui::TForm_Main window;
};

} // namespace lunor::test
