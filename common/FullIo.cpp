#include "common/FullIo.h"

#include <cerrno>
#include <fcntl.h>

#include "common/FileHandle.h"
#include "common/TextUtil.h"

namespace FullIo
{

Result<void> ReadAt(FileIo& io, int fd, std::int64_t offset, std::string& buf)
{
    std::size_t got = 0;
    while (got < buf.size()) {
        const ssize_t r = io.pread(fd, buf.data() + got, buf.size() - got,
                                   static_cast<off_t>(offset + static_cast<std::int64_t>(got)));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return Error{text::SystemError(errno), errno};
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    buf.resize(got);
    return {};
}

Result<void> WriteAt(FileIo& io, int fd, std::int64_t offset, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = io.pwrite(fd, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return Error{text::SystemError(errno), errno};
        }
        done += static_cast<std::size_t>(w);
    }
    return {};
}

bool SyncFolder(FileIo& io, const std::string& folder)
{
    const int dir = io.open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    const bool synced = dir >= 0 && io.fsync(dir) == 0;
    if (dir >= 0)
        io.close(dir);
    return synced;
}

std::string KindOf(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return "a folder";
    if (S_ISFIFO(st.st_mode))
        return "a named pipe (FIFO)";
    if (S_ISSOCK(st.st_mode))
        return "a socket";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return "a device";
    return "not a regular file";
}

Result<int> OpenRegular(FileIo& io, const std::string& path, int flags, mode_t mode)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer for ever; on a regular file the
    // flag has no effect.
    const int fd = io.open(path, flags | O_NONBLOCK | O_CLOEXEC, mode);
    struct stat st {
    };
    if (fd < 0) {
        const int err = errno;
        // A socket cannot be opened at all; its kind says more than ENXIO.
        if (io.stat(path, st) == 0 && !S_ISREG(st.st_mode))
            return Error{"it is " + KindOf(st) + ", not a file", EINVAL};
        return Error{text::SystemError(err), err};
    }
    std::string refusal;
    int code = EINVAL;
    if (io.fstat(fd, st) != 0) {
        code = errno;
        refusal = text::SystemError(code);
    } else if (const std::string kind = KindOf(st); !kind.empty()) {
        refusal = "it is " + kind + ", not a file";
    }
    if (refusal.empty())
        return fd;
    io.close(fd);
    return Error{refusal, code};
}

Result<OpenedFile> OpenForReading(FileIo& io, const std::string& path)
{
    const auto opened = OpenRegular(io, path, O_RDONLY);
    if (!opened)
        return Error{path + ": " + opened.error().message, opened.error().code};
    OpenedFile f{FileHandle(io, opened.value())};
    struct stat st {
    };
    if (io.fstat(f.file.fd(), st) != 0)
        return Error{path + ": " + text::SystemError(errno), errno};
    f.length = st.st_size;
    return f;
}

bool SameFile(FileIo& io, int fd, const std::string& path)
{
    struct stat held {
    };
    struct stat named {
    };
    return io.fstat(fd, held) == 0 && io.stat(path, named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

Result<std::string> ReadFile(FileIo& io, const std::string& path, std::size_t limit)
{
    const auto opened = OpenRegular(io, path, O_RDONLY);
    if (!opened)
        return opened.error();
    const FileHandle file(io, opened.value());
    std::string bytes;
    std::string block;
    Result<void> read;
    // Read until the end itself, not the size fstat gives: files of /proc say 0.
    while (bytes.size() <= limit) {
        block.assign(64 << 10, '\0');
        read = ReadAt(io, file.fd(), static_cast<std::int64_t>(bytes.size()), block);
        if (!read || block.empty())
            break;
        bytes += block;
    }
    if (!read)
        return read.error();
    if (bytes.size() > limit)
        return Error{"it is larger than " + std::to_string(limit >> 20) + " MB", EFBIG};
    return bytes;
}

Result<std::vector<std::string>> ReadLines(FileIo& io, const std::string& path)
{
    const auto bytes = ReadFile(io, path);
    if (!bytes)
        return bytes.error();
    return text::SplitLines(bytes.value());
}

} // namespace FullIo
