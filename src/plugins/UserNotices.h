#pragma once

#include <string>

namespace lunor {

// The notices the program shows the user. The logic calls this interface; the main window
// provides message boxes, the tests record the calls. All texts are code page 936.
class UserNotices
{
public:
    virtual ~UserNotices() = default;

    // A box owned by the main window: information icon, one OK button.
    virtual void information(const std::string &caption, const std::string &text) = 0;
    // A box owned by the main window: information icon, Yes and No; true for Yes.
    virtual bool confirm(const std::string &caption, const std::string &text) = 0;
    // A plain message dialog captioned with the application title, one OK button.
    virtual void plainMessage(const std::string &text) = 0;
    // The default system beep.
    virtual void beep() = 0;
    // An error box captioned with the application title, for errors the program did not
    // handle itself (a refused write to a store).
    virtual void error(const std::string &text) = 0;
};

} // namespace lunor
