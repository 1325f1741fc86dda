#include "batch/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

#include "common/FullIo.h"
#include "common/TextUtil.h"

Result<LineReader> LineReader::Open(FileIo& io, const std::string& path)
{
    auto opened = FullIo::OpenForReading(io, path);
    if (!opened)
        return opened.error();
    return LineReader(io, std::move(opened.value().file), opened.value().length);
}

Result<int> LineReader::measureRecLen()
{
    std::string head(static_cast<std::size_t>(std::clamp<std::int64_t>(m_length, 0, BlockBytes)),
                     '\0');
    if (const auto read = FullIo::ReadAt(*m_io, m_file.fd(), 0, head); !read)
        return read.error();
    const auto cr = head.find('\r');
    return cr == std::string::npos ? -1 : static_cast<int>(cr);
}

void LineReader::setRecLen(int recLen)
{
    m_slot = static_cast<std::size_t>(std::max(recLen, 0)) + 2;
    m_block.clear();
    m_pos = 0;
    m_readAt = 0;
    m_count = 0;
}

Result<void> LineReader::fill()
{
    // Whole slots per block, so that no slot is split between two reads; no more than the
    // length the file had when it was opened, so that a small file costs a small buffer.
    const std::int64_t left = m_length - m_readAt;
    const auto block =
        static_cast<std::int64_t>(std::max<std::size_t>(BlockBytes / m_slot, 1) * m_slot);
    m_block.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(left, 0, block)));
    if (m_block.empty())
        return {};
    if (const auto read = FullIo::ReadAt(*m_io, m_file.fd(), m_readAt, m_block); !read)
        return read.error();
    m_readAt += static_cast<std::int64_t>(m_block.size());
    m_pos = 0;
    return {};
}

Result<std::string_view> LineReader::next()
{
    if (m_pos >= m_block.size()) {
        if (const auto filled = fill(); !filled)
            return filled.error();
        if (m_block.empty())
            return std::string_view();
    }
    const std::size_t n = std::min(m_slot, m_block.size() - m_pos);
    const std::string_view slot(m_block.data() + m_pos, n);
    m_pos += n;
    ++m_count;
    return slot;
}
