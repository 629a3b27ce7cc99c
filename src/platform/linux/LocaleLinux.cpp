#include "platform/Locale.h"

#include <langinfo.h>

namespace lunor::platform {

std::string shortDateFormat()
{
    // The date format of LC_TIME; Qt's application object has already called setlocale.
    const char *format = nl_langinfo(D_FMT);
    std::string pattern = format ? format : "";
    // Keep only the fields a short date needs; anything unusual falls back to ISO order.
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%')
            continue;
        if (i + 1 >= pattern.size())
            return "%Y-%m-%d";
        const char field = pattern[i + 1];
        if (field != 'd' && field != 'e' && field != 'm' && field != 'y' && field != 'Y')
            return "%Y-%m-%d";
        ++i;
    }
    return pattern.empty() ? std::string("%Y-%m-%d") : pattern;
}

} // namespace lunor::platform
