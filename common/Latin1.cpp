#include "common/Latin1.h"

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

namespace
{

// Whether the text holds a byte CSV must quote, and whether it holds one above ASCII.
struct Scan {
    bool quote = false;
    bool wide = false;
};

Scan ScanText(std::string_view s)
{
    bool quote = false;
    bool wide = false;
    for (const char c : s) {
        quote |= c == ',' || c == '"' || c == '\r' || c == '\n';
        wide |= static_cast<unsigned char>(c) >= 0x80;
    }
    return {quote, wide};
}

} // namespace

void AppendCsv(std::string_view bytes, std::string& out)
{
    const Scan scan = ScanText(bytes);
    if (!scan.quote) {
        if (scan.wide)
            AppendUtf8(bytes, out);
        else
            out += bytes;
        return;
    }
    out += '"';
    for (const char c : bytes) {
        if (c == '"')
            out += '"';
        AppendUtf8(std::string_view(&c, 1), out);
    }
    out += '"';
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
