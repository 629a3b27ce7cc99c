#pragma once

#include <string>

// The program's own texts that more than one subsystem shows or compares, as code page 936
// bytes. Each is converted once, on first use.
namespace lunor::texts {

// The caption of the program's notices.
const std::string &helpCaption(); // "提示帮助"
const std::string &noticeCaption(); // "提示"
// What a task row does after its operation: the only text that deletes, and the one that keeps.
const std::string &deleteAfterRun(); // "删除"
const std::string &keepAfterRun(); // "保留"
// Every plug-in failure the user sees.
const std::string &brokenPlugin(); // "程序错误，请重新安装程序！"

} // namespace lunor::texts
