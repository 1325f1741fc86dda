#include "datafile/FullIo.h"

#include <cerrno>
#include <fcntl.h>

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
            return Error{text::SystemError(errno)};
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
            return Error{text::SystemError(errno)};
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

} // namespace FullIo
