#include "batch/CsvReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

#include "common/FullIo.h"
#include "common/TextUtil.h"

Result<CsvReader> CsvReader::Open(FileIo& io, const std::string& path)
{
    auto opened = FullIo::OpenForReading(io, path);
    if (!opened)
        return opened.error();
    return CsvReader(io, std::move(opened.value().file), opened.value().length);
}

Result<void> CsvReader::fill()
{
    const std::int64_t left = m_length - m_readAt;
    m_block.resize(static_cast<std::size_t>(
        std::clamp<std::int64_t>(left, 0, static_cast<std::int64_t>(BlockBytes))));
    m_pos = 0;
    if (m_block.empty())
        return {};
    if (const auto read = FullIo::ReadAt(*m_io, m_file.fd(), m_readAt, m_block); !read)
        return read.error();
    m_readAt += static_cast<std::int64_t>(m_block.size());
    return {};
}

int CsvReader::get()
{
    if (m_pos >= m_block.size()) {
        if (!m_readError)
            return -1;
        if (auto filled = fill(); !filled) {
            m_readError = std::move(filled);
            return -1;
        }
        if (m_block.empty())
            return -1;
    }
    return static_cast<unsigned char>(m_block[m_pos++]);
}

int CsvReader::peek()
{
    const int c = get();
    if (c >= 0)
        --m_pos;
    return c;
}

void CsvReader::mark(const char* fault)
{
    if (m_fault.empty())
        m_fault = fault;
}

void CsvReader::newField()
{
    if (++m_rowBytes > RowBytes) {
        mark("a row of more than 65536 bytes");
        return;
    }
    if (m_used == m_fields.size())
        m_fields.emplace_back();
    else
        m_fields[m_used].clear();
    ++m_used;
}

void CsvReader::put(char c)
{
    if (++m_rowBytes > RowBytes) {
        mark("a row of more than 65536 bytes");
        return;
    }
    m_fields[m_used - 1] += c;
}

Result<bool> CsvReader::next()
{
    enum class State { Start, Plain, Quoted, Closed };
    for (;;) {
        m_used = 0;
        m_rowBytes = 0;
        m_fault.clear();
        m_line = m_nextLine;
        int c = get();
        if (c < 0)
            return m_readError ? Result<bool>(false) : Result<bool>(m_readError.error());
        newField();
        State state = State::Start;
        bool quoted = false; // "" on a line of its own is a row, not a blank line
        bool ended = false;
        for (; c >= 0; c = get()) {
            const char ch = static_cast<char>(c);
            if (ch == '\n')
                ++m_nextLine;
            if (state == State::Quoted) {
                if (ch == '"')
                    state = State::Closed;
                else
                    put(ch);
                continue;
            }
            if (ch == '\n') {
                ended = true;
                break;
            }
            if (ch == '\r') {
                const int after = peek();
                if (after == '\n' || after < 0)
                    continue;
            }
            if (ch == ',') {
                newField();
                state = State::Start;
                continue;
            }
            if (state == State::Start && ch == '"') {
                state = State::Quoted;
                quoted = true;
                continue;
            }
            if (state == State::Closed && ch == '"') {
                put('"');
                state = State::Quoted;
                continue;
            }
            if (state == State::Closed)
                mark("characters after a field's closing quote");
            else if (ch == '"')
                mark("a quote inside a field that does not start with one");
            put(ch);
            state = State::Plain;
        }
        if (!m_readError)
            return m_readError.error();
        if (state == State::Quoted)
            mark("a quoted field not closed by the end of the file");
        const bool blank = m_used == 1 && m_fields[0].empty() && !quoted;
        if (!blank)
            return true;
        if (!ended)
            return false;
    }
}
