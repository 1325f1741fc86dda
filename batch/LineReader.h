#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/FileHandle.h"
#include "common/Result.h"

class FileIo;

// Reads a data file front to back in large blocks and hands out its record slots, so memory
// stays the same whatever the file's size. The file is read as long as it was when opened.
class LineReader
{
public:
    static constexpr std::size_t BlockBytes = 1 << 20;

    // Opens path for reading; only a regular file opens.
    static Result<LineReader> Open(FileIo& io, const std::string& path);

    std::int64_t length() const { return m_length; }
    // Characters before the first CR, as the opening measures them; -1 when the first
    // block holds none.
    Result<int> measureRecLen();
    // Slots are recLen + 2 bytes from here on; reading starts again at the front.
    void setRecLen(int recLen);
    // The next slot, a shorter last piece, or an empty view at the end of the file.
    Result<std::string_view> next();
    // Slots handed out so far.
    std::int64_t count() const { return m_count; }
    // each(slot) for every slot to the end of the file; the first failed read, or the first
    // error each returns, ends the walk and is returned.
    template <typename Each> Result<void> forEach(Each each)
    {
        for (;;) {
            const auto slot = next();
            if (!slot)
                return slot.error();
            if (slot.value().empty())
                return {};
            if (auto done = each(slot.value()); !done)
                return done;
        }
    }

private:
    LineReader(FileIo& io, FileHandle file, std::int64_t length)
        : m_io(&io), m_file(std::move(file)), m_length(length)
    {
    }
    Result<void> fill();

    FileIo* m_io;
    FileHandle m_file;
    std::int64_t m_length = 0;
    std::size_t m_slot = 2;
    std::string m_block;
    std::size_t m_pos = 0;
    std::int64_t m_readAt = 0;
    std::int64_t m_count = 0;
};
