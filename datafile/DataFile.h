#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/Result.h"

// The open data file: a headerless run of fixed-size record slots, each RecLen characters
// and CR LF. Owns the file descriptor and an advisory lock that keeps a second copy of the
// program from keying into the same file; other programs can still read it.
class DataFile
{
public:
    DataFile() = default;
    ~DataFile();
    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens path for reading and writing, creating it when missing; emptied when truncate.
    static Result<DataFile> Open(const std::filesystem::path& path, bool truncate);

    bool isOpen() const { return m_fd >= 0; }
    const std::filesystem::path& path() const { return m_path; }

    Result<std::int64_t> length() const;

    // Slot n (from 1) of records recLen long: recLen + 2 bytes at (n - 1) * (recLen + 2).
    // A short read at the end of the file gives the bytes that are there.
    Result<std::string> readSlot(std::int32_t n, int recLen) const;

    // Writes a whole slot (recLen + 2 bytes). Writing just past a last record that lacks
    // its CR LF completes that record first; any other gap is refused.
    Result<void> writeSlot(std::int32_t n, int recLen, std::string_view slot);

    // Cuts the file to count whole slots.
    Result<void> truncateSlots(std::int32_t count, int recLen);

    // Makes the system write buffered changes to the disk.
    Result<void> flush();

    void close();

private:
    DataFile(int fd, std::filesystem::path path) : m_fd(fd), m_path(std::move(path)) {}
    Result<void> writeAt(std::int64_t offset, std::string_view bytes);

    int m_fd = -1;
    std::filesystem::path m_path;
};
