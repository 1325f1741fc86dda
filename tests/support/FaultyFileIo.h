#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <utility>

#include "datafile/SystemFileIo.h"

// The real file calls, with chosen ones made to fail the way a full or broken disk does.
// Everything passes through untouched until a fault is set.
class FaultyFileIo : public SystemFileIo
{
public:
    // Bytes that may still be added past the ends of files, as on a disk nearly full: a
    // call beyond it writes what fits, the next one fails with ENOSPC. Negative: no limit.
    std::int64_t writeBudget = -1;
    // The next pwrite writes partBytes of its bytes, then fails with this.
    int nextWriteErrno = 0;
    std::size_t partBytes = 0;
    int datasyncErrno = 0; // fdatasync and fsync of files fail with this
    int dirSyncErrno = 0;  // fsync of a folder fails with this
    int renameErrno = 0;
    std::int64_t freeSpace = -1; // what freeBytes reports; negative: the real figure

    int datasyncs = 0; // successful fdatasync and fsync calls of files
    int renames = 0;

    ssize_t pwrite(int fd, const void* buf, std::size_t count, off_t offset) override
    {
        if (nextWriteErrno) {
            SystemFileIo::pwrite(fd, buf, std::min(partBytes, count), offset);
            return fail(std::exchange(nextWriteErrno, 0));
        }
        // Overwriting what a file holds needs no new space.
        const auto inside = static_cast<std::size_t>(
            std::clamp<std::int64_t>(status(fd).st_size - offset, 0, std::int64_t(count)));
        return budgeted(inside, count,
                        [&](std::size_t n) { return SystemFileIo::pwrite(fd, buf, n, offset); });
    }
    ssize_t copyRange(int in, off_t inOffset, int out, off_t outOffset, std::size_t count) override
    {
        return budgeted(0, count, [&](std::size_t n) {
            return SystemFileIo::copyRange(in, inOffset, out, outOffset, n);
        });
    }
    int fdatasync(int fd) override
    {
        if (datasyncErrno)
            return fail(datasyncErrno);
        ++datasyncs;
        return SystemFileIo::fdatasync(fd);
    }
    int fsync(int fd) override
    {
        const bool dir = S_ISDIR(status(fd).st_mode);
        if (const int err = dir ? dirSyncErrno : datasyncErrno)
            return fail(err);
        datasyncs += dir ? 0 : 1;
        return SystemFileIo::fsync(fd);
    }
    int rename(const std::string& from, const std::string& to) override
    {
        if (renameErrno)
            return fail(renameErrno);
        ++renames;
        return SystemFileIo::rename(from, to);
    }
    std::int64_t freeBytes(const std::string& folder) override
    {
        return freeSpace >= 0 ? freeSpace : SystemFileIo::freeBytes(folder);
    }

private:
    // Writes the first `inside` bytes and what the budget allows of the rest.
    template <class Write> ssize_t budgeted(std::size_t inside, std::size_t count, Write write)
    {
        const std::size_t allowed =
            writeBudget < 0 ? count : inside + std::min(count - inside, std::size_t(writeBudget));
        if (allowed == 0 && count > 0)
            return fail(ENOSPC);
        const ssize_t w = write(allowed);
        if (writeBudget >= 0 && w > ssize_t(inside))
            writeBudget -= w - ssize_t(inside);
        return w;
    }
    struct stat status(int fd)
    {
        struct stat st = {};
        SystemFileIo::fstat(fd, st);
        return st;
    }
    static int fail(int err)
    {
        errno = err;
        return -1;
    }
};
