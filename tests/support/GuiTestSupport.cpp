#include "GuiTestSupport.h"

#include "platform/TextCodec.h"

#include <sstream>

namespace lunor::test {
namespace {

std::string toStoredText(const std::string &utf8)
{
    std::string crlf;
    for (const char c : utf8) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return platform::utf8ToGbk(crlf);
}

} // namespace

void ProgramFolder::writeConfig(const std::string &utf8) const
{
    m_folder.write("CFG.dll", toStoredText(utf8));
}

void ProgramFolder::writeMission(const std::string &utf8) const
{
    m_folder.write("mission.mss", toStoredText(utf8));
}

std::string ProgramFolder::readText(const std::string &name) const
{
    std::string text = platform::gbkToUtf8(m_folder.read(name));
    std::string lf;
    for (const char c : text) {
        if (c != '\r')
            lf += c;
    }
    return lf;
}

void ProgramFolder::installRecorder(const std::string &fileName) const
{
    copyFixturePlugin("recorder.dll", m_folder.file("程序功能/" + fileName));
}

std::vector<std::string> ProgramFolder::pluginCalls() const
{
    std::vector<std::string> calls;
    std::istringstream log(m_folder.read("fixture-log.txt"));
    for (std::string line; std::getline(log, line);) {
        const auto tab = line.find('\t');
        calls.push_back(
            platform::gbkToUtf8(tab == std::string::npos ? line : line.substr(tab + 1)));
    }
    return calls;
}

std::vector<std::string> ProgramFolder::runCalls() const
{
    std::vector<std::string> runs;
    for (const std::string &call : pluginCalls()) {
        if (call.rfind("Run", 0) == 0)
            runs.push_back(call);
    }
    return runs;
}

NoticeRecorder::NoticeRecorder()
{
    gui::QtUserNotices::setTestHook([this](const Notice &notice) {
        if (onNotice)
            onNotice(notice);
        notices.push_back(notice);
        return answer;
    });
}

NoticeRecorder::~NoticeRecorder()
{
    gui::QtUserNotices::setTestHook({});
}

std::vector<NoticeRecorder::Notice> NoticeRecorder::ofKind(Kind kind) const
{
    std::vector<Notice> found;
    for (const Notice &notice : notices) {
        if (notice.kind == kind)
            found.push_back(notice);
    }
    return found;
}

} // namespace lunor::test
