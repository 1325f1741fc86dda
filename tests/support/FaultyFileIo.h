#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

#include "datafile/SystemFileIo.h"

// The real file calls, with chosen ones made to fail the way a full or broken disk does.
// Everything passes through untouched until a fault is set.
class FaultyFileIo : public SystemFileIo
{
public:
    // Bytes that may still be added past the ends of files, as on a disk nearly full: a
    // call beyond it writes what fits, then fails with ENOSPC. Negative: no limit.
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

    int open(const std::string& path, int flags, mode_t mode) override
    {
        const int fd = SystemFileIo::open(path, flags, mode);
        if (fd >= 0 && (flags & O_DIRECTORY))
            m_lastDir = fd;
        return fd;
    }
    ssize_t pwrite(int fd, const void* buf, std::size_t count, off_t offset) override
    {
        if (nextWriteErrno) {
            const int err = std::exchange(nextWriteErrno, 0);
            SystemFileIo::pwrite(fd, buf, std::min(partBytes, count), offset);
            return fail(err);
        }
        // Overwriting what a file holds needs no new space.
        struct stat st {
        };
        SystemFileIo::fstat(fd, st);
        const auto inside = static_cast<std::size_t>(
            std::clamp<std::int64_t>(st.st_size - offset, 0, std::int64_t(count)));
        const std::size_t allowed = inside + allow(count - inside);
        if (allowed == 0 && count > 0)
            return fail(ENOSPC);
        const ssize_t w = SystemFileIo::pwrite(fd, buf, allowed, offset);
        spend(w - static_cast<ssize_t>(inside));
        return w;
    }
    ssize_t copyRange(int in, off_t inOffset, int out, off_t outOffset, std::size_t count) override
    {
        const std::size_t allowed = allow(count);
        if (allowed == 0 && count > 0)
            return fail(ENOSPC);
        const ssize_t w = SystemFileIo::copyRange(in, inOffset, out, outOffset, allowed);
        spend(w);
        return w;
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
        if (fd == m_lastDir && dirSyncErrno)
            return fail(dirSyncErrno);
        if (fd != m_lastDir && datasyncErrno)
            return fail(datasyncErrno);
        if (fd != m_lastDir)
            ++datasyncs;
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
    std::size_t allow(std::size_t count) const
    {
        if (writeBudget < 0)
            return count;
        return static_cast<std::size_t>(std::min<std::int64_t>(writeBudget, std::int64_t(count)));
    }
    void spend(ssize_t written)
    {
        if (writeBudget >= 0 && written > 0)
            writeBudget -= written;
    }
    static int fail(int err)
    {
        errno = err;
        return -1;
    }

    int m_lastDir = -1;
};
