#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace lunor::platform {
namespace {

// Converts with iconv, putting `replacement` in place of every sequence that does not convert.
// Returns whether everything converted.
bool convert(const char *to, const char *from, std::string_view input, std::string &output,
    std::string_view replacement, std::size_t invalidStep)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        output.assign(input);
        return false;
    }
    bool lossless = true;
    output.clear();
    output.reserve(input.size() * 2);
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
        char *out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut short at the end): replace and step over.
            lossless = false;
            output.append(replacement);
            std::size_t step = invalidStep;
            if (invalidStep == 0) {
                // Skip one whole UTF-8 character.
                const auto lead = static_cast<unsigned char>(*in);
                step = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            }
            step = std::min(step, inLeft);
            in += step;
            inLeft -= step;
        }
    }
    iconv_close(cd);
    return lossless;
}

// ASCII reads the same in both encodings: most texts the program converts (numbers, times,
// the list's counters) need no converter at all.
bool isAscii(std::string_view text)
{
    return std::all_of(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    std::string out;
    convert("UTF-8", "GBK", gbk, out, "\xEF\xBF\xBD", 1);
    return out;
}

std::string utf8ToGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    convert("GBK", "UTF-8", utf8, out, "?", 0);
    return out;
}

bool representableInGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return true;
    std::string out;
    return convert("GBK", "UTF-8", utf8, out, "?", 0);
}

} // namespace lunor::platform
