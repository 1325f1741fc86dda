#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "common/FileIo.h"
#include "common/Result.h"

// The open data file: a headerless run of fixed-size record slots, each RecLen characters
// and CR LF. Owns the file descriptor and an advisory lock that keeps a second copy of the
// program from keying into the same file; other programs can still read it.
//
// Every write has reached the device when it returns. A slot write that fails leaves the
// file as it was; insertion and deletion build the new content in a copy beside the file and
// rename it over the file, so that a crash leaves either the old or the new content. After
// a failed flush the file is no longer trusted: the system may have dropped written data
// and a later flush could still report success.
class DataFile
{
public:
    // Told how far a long rewrite is (done of total bytes); false cancels it.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    DataFile() = default;
    ~DataFile();
    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens path for reading and writing, creating it when missing; emptied when truncate.
    // Only a regular file opens, and only the one the path names once it is locked. Copies
    // that dead processes left in its folder are removed.
    static Result<DataFile> Open(FileIo& io, const std::filesystem::path& path, bool truncate);

    bool isOpen() const { return m_fd >= 0; }
    bool trusted() const { return m_trusted; }
    const std::filesystem::path& path() const { return m_path; }

    Result<std::int64_t> length() const;
    // Characters before the first CR, -1 when there is none. Reads only as far as that CR,
    // so a large file costs what a small one does.
    Result<int> measureRecLen() const;

    // Slot n (from 1) of records recLen long: recLen + 2 bytes at (n - 1) * (recLen + 2).
    // A slot holds at least its record: a read that gives less fails, for the last slot
    // too, which may lack its CR LF.
    Result<std::string> readSlot(std::int32_t n, int recLen) const;

    // Writes a whole slot (recLen + 2 bytes) and flushes it. Writing just past a last record
    // that lacks its CR LF completes that record first; any other gap is refused.
    Result<void> writeSlot(std::int32_t n, int recLen, std::string_view slot);

    // Puts slot before slot n, moving the later slots up; n may be one past the last slot.
    Result<void> insertSlot(std::int32_t n, int recLen, std::string_view slot,
                            const Progress& progress = {});
    // Removes slot n, moving the later slots down. After either, trusted() tells whether the
    // new content is sure to survive a power cut.
    Result<void> removeSlot(std::int32_t n, int recLen, const Progress& progress = {});

    // Makes the system write buffered changes to the disk.
    Result<void> flush();

    void close();

private:
    DataFile(FileIo& io, int fd, std::filesystem::path path)
        : m_io(&io), m_fd(fd), m_path(std::move(path))
    {
    }
    // Replaces the removed bytes at offset by inserted, in a flushed copy renamed over the file.
    Result<void> rewrite(std::int64_t offset, std::int64_t removed, std::string_view inserted,
                         const Progress& progress);
    Result<void> copyBytes(int to, std::int64_t from, std::int64_t at, std::int64_t count,
                           std::int64_t& done, std::int64_t total, const Progress& progress);
    Result<void> untrustedError() const;
    Result<void> syncFailed(int err);
    // The file the path names, links followed: the one a rewrite replaces.
    std::filesystem::path target() const;

    FileIo* m_io = nullptr;
    int m_fd = -1;
    std::filesystem::path m_path;
    bool m_trusted = true;
    // Closes the replaced file's descriptor: dropping the last link to a large file makes
    // the kernel free its blocks, which the operator need not wait for.
    std::jthread m_release;
};
