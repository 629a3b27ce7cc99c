// The window tests run gtest inside a QApplication (offscreen platform, set by ctest).
#include "gui/FixedWindow.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(lunor::gui::windowFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
