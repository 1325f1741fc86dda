#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>

#include "common/SystemFileIo.h"

// The real file calls, with chosen ones made to fail the way a full or broken disk does.
// Everything passes through untouched until a fault is set.
class FaultyFileIo : public SystemFileIo
{
public:
    // Bytes that may still be added past the ends of files, as on a disk nearly full: a
    // call beyond it writes what fits, the next one fails with ENOSPC. Negative: no limit.
    std::int64_t writeBudget = -1;
    std::size_t partBytes = 0;   // what a failing write writes first
    int datasyncErrno = 0;       // fdatasync and fsync of files fail with this
    int dirSyncErrno = 0;        // fsync of a folder fails with this
    std::int64_t freeSpace = -1; // what freeBytes reports; negative: the real figure

    // One read fails: the read call `after` calls from now (pread, or the reading side of an
    // in-kernel copy), or with offset >= 0 the first pread from that offset, fails with err;
    // or with shortBytes >= 0 gives only that many bytes and the next read none, as a file
    // cut short under the reader would. With a file name, only reads of that file count.
    struct ReadFault {
        int after = 0;
        int err = EIO;
        std::int64_t shortBytes = -1;
        off_t offset = -1;
        std::string file;
    };
    std::optional<ReadFault> readFault;
    // Once each, the call `after` calls of its kind from now fails with err: writes after
    // writing partBytes, fdatasync and fsync of files (the keying fuzzer draws these),
    // renames.
    struct Once {
        int after = 0;
        int err = EIO;
    };
    std::optional<Once> writeOnce, syncOnce, renameOnce;
    // Runs once, just before the next flock: another process acting in that moment.
    std::function<void()> beforeLock;

    int datasyncs = 0, renames = 0; // successful fdatasync and fsync calls of files; renames
    std::map<std::string, int> readOnlyOpens; // successful opens for reading only, by file name

    int open(const std::string& path, int flags, mode_t mode) override
    {
        const int fd = SystemFileIo::open(path, flags, mode);
        if (fd >= 0)
            m_names[fd] = path.substr(path.rfind('/') + 1);
        if (fd >= 0 && (flags & O_ACCMODE) == O_RDONLY)
            ++readOnlyOpens[m_names[fd]];
        return fd;
    }
    ssize_t pread(int fd, void* buf, std::size_t count, off_t offset) override
    {
        if (std::exchange(m_emptyNext, false))
            return 0;
        if (readFault && (readFault->file.empty() || readFault->file == m_names[fd]) &&
            (readFault->offset < 0 ? due(readFault) : readFault->offset == offset)) {
            const ReadFault f = *std::exchange(readFault, std::nullopt);
            if (f.shortBytes < 0)
                return fail(f.err);
            m_emptyNext = true;
            return SystemFileIo::pread(fd, buf, std::min(count, std::size_t(f.shortBytes)), offset);
        }
        return SystemFileIo::pread(fd, buf, count, offset);
    }
    int flock(int fd, int operation) override
    {
        if (beforeLock)
            std::exchange(beforeLock, nullptr)();
        return SystemFileIo::flock(fd, operation);
    }
    ssize_t pwrite(int fd, const void* buf, std::size_t count, off_t offset) override
    {
        if (due(writeOnce)) {
            SystemFileIo::pwrite(fd, buf, std::min(partBytes, count), offset);
            return fail(std::exchange(writeOnce, std::nullopt)->err);
        }
        // Overwriting what a file holds needs no new space.
        const auto inside = static_cast<std::size_t>(
            std::clamp<std::int64_t>(status(fd).st_size - offset, 0, std::int64_t(count)));
        return budgeted(inside, count,
                        [&](std::size_t n) { return SystemFileIo::pwrite(fd, buf, n, offset); });
    }
    ssize_t copyRange(int in, off_t inOffset, int out, off_t outOffset, std::size_t count) override
    {
        if (readFault && readFault->offset < 0 && readFault->file.empty() &&
            due(readFault)) // it reads as pread does
            return fail(std::exchange(readFault, std::nullopt)->err);
        return budgeted(0, count, [&](std::size_t n) {
            return SystemFileIo::copyRange(in, inOffset, out, outOffset, n);
        });
    }
    int fdatasync(int fd) override
    {
        return sync(false, [&] { return SystemFileIo::fdatasync(fd); });
    }
    int fsync(int fd) override
    {
        return sync(S_ISDIR(status(fd).st_mode), [&] { return SystemFileIo::fsync(fd); });
    }
    int rename(const std::string& from, const std::string& to) override
    {
        if (due(renameOnce))
            return fail(std::exchange(renameOnce, std::nullopt)->err);
        ++renames;
        const int renamed = SystemFileIo::rename(from, to);
        for (auto& [fd, name] : m_names) // a file renamed goes by its new name
            if (renamed == 0 && name == from.substr(from.rfind('/') + 1))
                name = to.substr(to.rfind('/') + 1);
        return renamed;
    }
    std::int64_t freeBytes(const std::string& folder) override
    {
        return freeSpace >= 0 ? freeSpace : SystemFileIo::freeBytes(folder);
    }

private:
    // Counts a call against a one-shot fault: true for the call it is meant for.
    template <class Fault> static bool due(std::optional<Fault>& f) { return f && f->after-- <= 0; }

    bool m_emptyNext = false;
    // The name of each descriptor's file. Left as it is at close, which a file's release may
    // do on a thread of its own: the next open of that number sets it anew.
    std::map<int, std::string> m_names;

    template <class Sync> int sync(bool dir, Sync call)
    {
        if (!dir && due(syncOnce))
            return fail(std::exchange(syncOnce, std::nullopt)->err);
        if (const int err = dir ? dirSyncErrno : datasyncErrno)
            return fail(err);
        datasyncs += dir ? 0 : 1;
        return call();
    }
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
        return SystemFileIo::fstat(fd, st), st;
    }
    static int fail(int err) { return errno = err, -1; }
};
