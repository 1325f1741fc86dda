#pragma once

#include "common/FileIo.h"

// FileIo straight onto the system calls.
class SystemFileIo : public FileIo
{
public:
    int open(const std::string& path, int flags, mode_t mode) override;
    int close(int fd) override;
    ssize_t pread(int fd, void* buf, std::size_t count, off_t offset) override;
    ssize_t pwrite(int fd, const void* buf, std::size_t count, off_t offset) override;
    ssize_t copyRange(int in, off_t inOffset, int out, off_t outOffset, std::size_t count) override;
    int fdatasync(int fd) override;
    int fsync(int fd) override;
    int ftruncate(int fd, off_t length) override;
    int fstat(int fd, struct stat& st) override;
    int stat(const std::string& path, struct stat& st) override;
    int flock(int fd, int operation) override;
    int fchmod(int fd, mode_t mode) override;
    int fchown(int fd, uid_t owner, gid_t group) override;
    int rename(const std::string& from, const std::string& to) override;
    int unlink(const std::string& path) override;
    std::int64_t freeBytes(const std::string& folder) override;
};
