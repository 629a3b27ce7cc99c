#include "common/SystemTexts.h"

#include "platform/TextCodec.h"

namespace lunor::texts {

// clang-format off
const std::string &helpCaption() { static const std::string t = platform::utf8ToGbk("提示帮助"); return t; }
const std::string &noticeCaption() { static const std::string t = platform::utf8ToGbk("提示"); return t; }
const std::string &deleteAfterRun() { static const std::string t = platform::utf8ToGbk("删除"); return t; }
const std::string &keepAfterRun() { static const std::string t = platform::utf8ToGbk("保留"); return t; }
const std::string &brokenPlugin() { static const std::string t = platform::utf8ToGbk("程序错误，请重新安装程序！"); return t; }
// clang-format on

} // namespace lunor::texts
