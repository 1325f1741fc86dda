#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

// The system calls every file of the program is read and written through, with their POSIX
// meaning: -1 and errno on failure. The program uses SystemFileIo; checks put a layer in
// between that fails chosen calls, so that every failure path can be exercised without a
// broken disk.
class FileIo
{
public:
    virtual ~FileIo() = default;

    virtual int open(const std::string& path, int flags, mode_t mode) = 0;
    virtual int close(int fd) = 0;
    virtual ssize_t pread(int fd, void* buf, std::size_t count, off_t offset) = 0;
    virtual ssize_t pwrite(int fd, const void* buf, std::size_t count, off_t offset) = 0;
    // Copies within the kernel where it can; -1 with EXDEV, ENOSYS or EINVAL where it cannot.
    virtual ssize_t copyRange(int in, off_t inOffset, int out, off_t outOffset,
                              std::size_t count) = 0;
    virtual int fdatasync(int fd) = 0;
    virtual int fsync(int fd) = 0;
    virtual int ftruncate(int fd, off_t length) = 0;
    virtual int fstat(int fd, struct stat& st) = 0;
    // The file the path names now, links followed.
    virtual int stat(const std::string& path, struct stat& st) = 0;
    virtual int flock(int fd, int operation) = 0;
    virtual int fchmod(int fd, mode_t mode) = 0;
    virtual int fchown(int fd, uid_t owner, gid_t group) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int unlink(const std::string& path) = 0;
    // Bytes an unprivileged writer may still use in the folder's file system, or -1.
    virtual std::int64_t freeBytes(const std::string& folder) = 0;
};
