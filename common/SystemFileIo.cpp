#include "common/SystemFileIo.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

int SystemFileIo::open(const std::string& path, int flags, mode_t mode)
{
    return ::open(path.c_str(), flags, mode);
}

int SystemFileIo::close(int fd)
{
    return ::close(fd);
}

ssize_t SystemFileIo::pread(int fd, void* buf, std::size_t count, off_t offset)
{
    return ::pread(fd, buf, count, offset);
}

ssize_t SystemFileIo::pwrite(int fd, const void* buf, std::size_t count, off_t offset)
{
    return ::pwrite(fd, buf, count, offset);
}

ssize_t SystemFileIo::copyRange(int in, off_t inOffset, int out, off_t outOffset, std::size_t count)
{
    loff_t from = inOffset;
    loff_t to = outOffset;
    return ::copy_file_range(in, &from, out, &to, count, 0);
}

int SystemFileIo::fdatasync(int fd)
{
    return ::fdatasync(fd);
}

int SystemFileIo::fsync(int fd)
{
    return ::fsync(fd);
}

int SystemFileIo::ftruncate(int fd, off_t length)
{
    return ::ftruncate(fd, length);
}

int SystemFileIo::fstat(int fd, struct stat& st)
{
    return ::fstat(fd, &st);
}

int SystemFileIo::stat(const std::string& path, struct stat& st)
{
    return ::stat(path.c_str(), &st);
}

int SystemFileIo::flock(int fd, int operation)
{
    return ::flock(fd, operation);
}

int SystemFileIo::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int SystemFileIo::fchown(int fd, uid_t owner, gid_t group)
{
    return ::fchown(fd, owner, group);
}

int SystemFileIo::rename(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str());
}

int SystemFileIo::unlink(const std::string& path)
{
    return ::unlink(path.c_str());
}

std::int64_t SystemFileIo::freeBytes(const std::string& folder)
{
    struct statvfs st {
    };
    if (::statvfs(folder.c_str(), &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.f_bavail) * static_cast<std::int64_t>(st.f_frsize);
}
