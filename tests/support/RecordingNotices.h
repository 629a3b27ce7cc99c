#pragma once

#include "plugins/UserNotices.h"

#include <string>
#include <vector>

namespace lunor::test {

// Records every notice; answers confirmations with `answer`.
class RecordingNotices final : public UserNotices
{
public:
    struct Notice
    {
        std::string kind; // "information", "confirm", "plain", "beep", "error"
        std::string caption;
        std::string text;
    };

    bool answer = true;
    std::vector<Notice> notices;

    void information(const std::string &caption, const std::string &text) override
    {
        notices.push_back({ "information", caption, text });
    }
    bool confirm(const std::string &caption, const std::string &text) override
    {
        notices.push_back({ "confirm", caption, text });
        return answer;
    }
    void plainMessage(const std::string &text) override
    {
        notices.push_back({ "plain", {}, text });
    }
    void beep() override { notices.push_back({ "beep", {}, {} }); }
    void error(const std::string &text) override { notices.push_back({ "error", {}, text }); }
};

} // namespace lunor::test
