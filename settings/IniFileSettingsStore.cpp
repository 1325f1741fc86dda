#include "settings/IniFileSettingsStore.h"

#include <cerrno>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "common/FullIo.h"
#include "common/NewCopy.h"
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

IniFileSettingsStore::IniFileSettingsStore(FileIo& io, std::filesystem::path file)
    : m_io(io), m_file(std::move(file))
{
}

const IniFileSettingsStore::Sections& IniFileSettingsStore::sections() const
{
    if (m_loaded)
        return m_sections;
    m_loaded = true;
    const auto text = FullIo::ReadFile(m_io, m_file.string());
    if (text)
        m_sections = ParseText(text.value());
    // A missing file (or folder) is a store with nothing in it yet.
    else if (text.error().code != ENOENT && text.error().code != ENOTDIR) {
        m_unreadable = true;
        tell(UnreadableMessage(m_file.string(), text.error().message));
    }
    return m_sections;
}

std::string IniFileSettingsStore::SectionName(const std::string& app, const std::string& section)
{
    return app + "/" + section;
}

std::string IniFileSettingsStore::getSetting(const std::string& app, const std::string& section,
                                             const std::string& key, const std::string& def) const
{
    const auto s = sections().find(SectionName(app, section));
    if (s == m_sections.end())
        return def;
    const auto k = s->second.find(key);
    return k == s->second.end() ? def : k->second;
}

bool IniFileSettingsStore::hasSetting(const std::string& app, const std::string& section,
                                      const std::string& key) const
{
    const auto s = sections().find(SectionName(app, section));
    return s != m_sections.end() && s->second.count(key) != 0;
}

void IniFileSettingsStore::saveSetting(const std::string& app, const std::string& section,
                                       const std::string& key, const std::string& value)
{
    sections();
    m_sections[SectionName(app, section)][key] = value;
    const auto written = write();
    if (written) {
        m_lastWrite = {};
        return;
    }
    m_lastWrite = Error{"cannot write " + m_file.string() + ": " + written.error().message,
                        written.error().code};
    if (!m_unreadable && !std::exchange(m_writeFailureTold, true))
        tell(UnwritableMessage(m_file.string(), written.error().message));
}

std::vector<std::pair<std::string, std::string>>
IniFileSettingsStore::getAllSettings(const std::string& app, const std::string& section) const
{
    const auto s = sections().find(SectionName(app, section));
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
    if (m_unreadable)
        return Error{"it could not be read, so it is not written over"};
    // A copy renamed over the file, so a failed write leaves the old file and no copy.
    NewCopy copy(m_io, m_file.string());
    auto written = copy.create(0666) >= 0 ? Result<void>() : Error{text::SystemError(errno), errno};
    if (written)
        written = FullIo::WriteAt(m_io, copy.fd(), 0, Render(m_sections));
    if (written)
        written = copy.replace(m_file.string());
    if (!written && !copy.inPlace())
        return written;
    return {};
}
