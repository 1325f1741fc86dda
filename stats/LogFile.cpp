#include "stats/LogFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/FileHandle.h"
#include "common/FileIo.h"
#include "common/FullIo.h"
#include "common/TextUtil.h"

namespace LogFile
{

std::string BesideDataFile(const std::string& dataPath, std::string_view ext)
{
    const auto slash = dataPath.rfind('/');
    const auto dot = dataPath.rfind('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExt ? dataPath.substr(0, dot) : dataPath) + std::string(ext);
}

std::string IsoLocalTime(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    char buf[40];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string s(buf, n);
    // %z gives +0100; ISO 8601's extended form, which the date part uses, wants +01:00.
    if (s.size() >= 5)
        s.insert(s.size() - 2, 1, ':');
    return s;
}

std::string OperatorName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char* var : {"LOGNAME", "USER"})
        if (const char* v = std::getenv(var); v && *v)
            return v;
    return "unknown";
}

namespace
{

Error SystemFailure(const std::string& what, const std::string& path, int err)
{
    return Error{what + " " + path + ": " + text::SystemError(err), err};
}

// Cuts the log back to its length before this append's n bytes, unless another station
// appended after them: its rows are never cut.
void takeBack(FileIo& io, int fd, off_t length, ssize_t n)
{
    struct stat now {
    };
    if (io.fstat(fd, now) == 0 && now.st_size == length + n)
        io.ftruncate(fd, length);
}

} // namespace

Result<void> Append(FileIo& io, const std::string& path, std::string_view header,
                    const std::string& rows)
{
    struct stat before {
    };
    const bool existed = io.stat(path, before) == 0;
    const auto opened = FullIo::OpenRegular(io, path, O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (!opened)
        return Error{"could not open " + path + ": " + opened.error().message, opened.error().code};
    const FileHandle log(io, opened.value());
    struct stat st {
    };
    if (io.fstat(log.fd(), st) != 0)
        return SystemFailure("could not examine", path, errno);
    // A log this append made and could not fill is taken away again.
    const auto failed = [&](const std::string& what, int err) {
        if (!existed)
            io.unlink(path);
        return SystemFailure(what, path, err);
    };
    std::string text;
    if (st.st_size == 0)
        text.append(header).append("\n");
    text += rows;
    // With O_APPEND the write goes to the end whatever the offset says.
    const ssize_t n = io.pwrite(log.fd(), text.data(), text.size(), st.st_size);
    if (n != static_cast<ssize_t>(text.size())) {
        const int err = n < 0 ? errno : ENOSPC;
        if (n > 0)
            takeBack(io, log.fd(), st.st_size, n); // a part row would spoil the next one
        return failed("could not write to", err);
    }
    if (io.fdatasync(log.fd()) != 0) {
        const int err = errno;
        // Rows that may never reach the disk would be written again by the retry.
        takeBack(io, log.fd(), st.st_size, n);
        return failed("could not write to the disk", err);
    }
    // A new log's name reaches the disk with its folder, or the rows in it could vanish.
    if (!existed) {
        const auto slash = path.rfind('/');
        FullIo::SyncFolder(io, slash == std::string::npos ? "." : path.substr(0, slash + 1));
    }
    return {};
}

} // namespace LogFile
