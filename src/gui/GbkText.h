#pragma once

#include <QString>

#include <string>
#include <string_view>

// The logic keeps its texts as code page 936 bytes; the windows show QStrings. Every text
// crosses between the two here, through the platform codec.
namespace lunor::gui {

QString fromGbk(std::string_view gbk);
std::string toGbk(const QString &text);

// A program text written in the source (UTF-8) as code page 936 bytes.
std::string gbk(const char *utf8);

} // namespace lunor::gui
