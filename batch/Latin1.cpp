#include "batch/Latin1.h"

#include <cstdio>

namespace Latin1
{

void AppendUtf8(std::string_view bytes, std::string& out)
{
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
            continue;
        }
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Quoted(std::string_view bytes)
{
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            AppendUtf8(std::string_view(&ch, 1), out);
        }
    }
    return out + "\"";
}

} // namespace Latin1
