#pragma once

#include <string>
#include <string_view>

// The program keeps its texts as code page 936 (GBK) bytes: the files it reads and writes and
// every text that crosses the plug-in boundary are in that code page. This is the one place
// that converts them to and from UTF-8 (file names, Qt).
namespace lunor::platform {

// Invalid byte sequences become U+FFFD.
std::string gbkToUtf8(std::string_view gbk);
// Characters that GBK cannot represent become '?'.
std::string utf8ToGbk(std::string_view utf8);
// Whether a UTF-8 text converts to GBK without loss.
bool representableInGbk(std::string_view utf8);

} // namespace lunor::platform
