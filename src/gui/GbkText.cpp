#include "gui/GbkText.h"

#include "platform/TextCodec.h"

namespace lunor::gui {

QString fromGbk(std::string_view gbk)
{
    const std::string utf8 = platform::gbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toGbk(const QString &text)
{
    return platform::utf8ToGbk(text.toUtf8().toStdString());
}

std::string gbk(const char *utf8)
{
    return platform::utf8ToGbk(utf8);
}

} // namespace lunor::gui
