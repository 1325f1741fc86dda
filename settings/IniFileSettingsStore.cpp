#include "settings/IniFileSettingsStore.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>

#include "common/TextUtil.h"

namespace
{

constexpr std::string_view Blanks = " \t";

bool NeedsQuotes(std::string_view s)
{
    if (s.empty())
        return false;
    if (Blanks.find(s.front()) != std::string_view::npos ||
        Blanks.find(s.back()) != std::string_view::npos)
        return true;
    if (s.front() == ';' || s.front() == '#')
        return true;
    return s.find_first_of("\"\\=[]\r\n") != std::string_view::npos;
}

std::string Quote(std::string_view s)
{
    if (!NeedsQuotes(s))
        return std::string(s);
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

std::string_view TrimLeft(std::string_view s)
{
    const auto first = s.find_first_not_of(Blanks);
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view TrimRight(std::string_view s)
{
    const auto last = s.find_last_not_of(Blanks);
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

// Reads a quoted text at the start of s (which starts with '"'); returns the text and
// what follows the closing quote. An unclosed quote runs to the end of the line.
std::pair<std::string, std::string_view> Unquote(std::string_view s)
{
    std::string out;
    std::size_t i = 1;
    for (; i < s.size() && s[i] != '"'; ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char next = s[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return {out, i < s.size() ? s.substr(i + 1) : std::string_view{}};
}

// A name or value as written: quoted, or plain with its outer blanks dropped.
std::string Unwritten(std::string_view s)
{
    s = TrimLeft(s);
    if (!s.empty() && s.front() == '"')
        return Unquote(s).first;
    return std::string(TrimRight(s));
}

std::optional<std::string> SectionHeader(std::string_view line)
{
    std::string_view inner = TrimLeft(line.substr(1));
    if (!inner.empty() && inner.front() == '"')
        return Unquote(inner).first;
    const auto close = inner.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return std::string(TrimRight(inner.substr(0, close)));
}

std::optional<std::pair<std::string, std::string>> KeyValue(std::string_view line)
{
    std::string key;
    std::string_view rest;
    if (line.front() == '"') {
        auto [text, after] = Unquote(line);
        key = std::move(text);
        rest = TrimLeft(after);
        if (rest.empty() || rest.front() != '=')
            return std::nullopt;
    } else {
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            return std::nullopt;
        key = std::string(TrimRight(line.substr(0, eq)));
        rest = line.substr(eq);
    }
    return std::pair{key, Unwritten(rest.substr(1))};
}

} // namespace

IniFileSettingsStore::IniFileSettingsStore(std::filesystem::path file) : m_file(std::move(file))
{
    std::ifstream in(m_file, std::ios::binary);
    if (!in)
        return; // a missing file is a store with nothing in it yet
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    m_sections = ParseText(text);
}

std::string IniFileSettingsStore::SectionName(const std::string& app, const std::string& section)
{
    return app + "/" + section;
}

std::string IniFileSettingsStore::getSetting(const std::string& app, const std::string& section,
                                             const std::string& key, const std::string& def) const
{
    const auto s = m_sections.find(SectionName(app, section));
    if (s == m_sections.end())
        return def;
    const auto k = s->second.find(key);
    return k == s->second.end() ? def : k->second;
}

bool IniFileSettingsStore::hasSetting(const std::string& app, const std::string& section,
                                      const std::string& key) const
{
    const auto s = m_sections.find(SectionName(app, section));
    return s != m_sections.end() && s->second.count(key) != 0;
}

void IniFileSettingsStore::saveSetting(const std::string& app, const std::string& section,
                                       const std::string& key, const std::string& value)
{
    m_sections[SectionName(app, section)][key] = value;
    m_lastWrite = write();
}

std::vector<std::pair<std::string, std::string>>
IniFileSettingsStore::getAllSettings(const std::string& app, const std::string& section) const
{
    const auto s = m_sections.find(SectionName(app, section));
    if (s == m_sections.end())
        return {};
    return {s->second.begin(), s->second.end()};
}

std::string IniFileSettingsStore::Render(const Sections& sections)
{
    std::string out;
    for (const auto& [name, keys] : sections) {
        if (!out.empty())
            out += '\n';
        out += "[" + Quote(name) + "]\n";
        for (const auto& [key, value] : keys)
            out += Quote(key) + "=" + Quote(value) + "\n";
    }
    return out;
}

IniFileSettingsStore::Sections IniFileSettingsStore::ParseText(const std::string& text)
{
    Sections sections;
    std::string current;
    std::istringstream in(text);
    for (std::string raw; std::getline(in, raw);) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::string_view line = TrimLeft(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (const auto name = SectionHeader(line))
                current = *name;
            continue;
        }
        if (auto kv = KeyValue(line))
            sections[current][kv->first] = std::move(kv->second);
    }
    return sections;
}

Result<void> IniFileSettingsStore::write() const
{
    // Written beside the file and renamed over it, so a failed write leaves the old file.
    std::filesystem::path temp = m_file;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return Error{"cannot write " + temp.string() + ": " + text::SystemError(errno)};
        out << Render(m_sections);
        out.close();
        if (!out)
            return Error{"cannot write " + temp.string() + ": " + text::SystemError(errno)};
    }
    std::error_code ec;
    std::filesystem::rename(temp, m_file, ec);
    if (ec)
        return Error{"cannot replace " + m_file.string() + ": " + ec.message()};
    return {};
}
