#include "datafile/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/FullIo.h"
#include "common/NewCopy.h"
#include "common/TextUtil.h"

namespace
{

namespace fs = std::filesystem;

// Large enough for the kernel to copy at full speed, small enough for a lively progress bar.
constexpr std::int64_t CopyChunk = 8 << 20;

std::int64_t SlotOffset(std::int32_t n, int recLen)
{
    return static_cast<std::int64_t>(n - 1) * (recLen + 2);
}

std::string Size(std::int64_t bytes)
{
    if (bytes < (10 << 20))
        return std::to_string((bytes + 1023) >> 10) + " KB";
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

} // namespace

DataFile::~DataFile()
{
    close();
}

DataFile::DataFile(DataFile&& other) noexcept
    : m_io(other.m_io), m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)),
      m_trusted(other.m_trusted), m_release(std::move(other.m_release))
{
}

DataFile& DataFile::operator=(DataFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_io = other.m_io;
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_trusted = other.m_trusted;
        m_release = std::move(other.m_release);
    }
    return *this;
}

Result<DataFile> DataFile::Open(FileIo& io, const fs::path& path, bool truncate)
{
    // Another station's insertion or deletion may rename its new copy over the path between
    // our opening and our lock: the lock then holds a file nobody will read again. Opened
    // anew, the path leads to the new file, which that station holds locked until it is done.
    constexpr int Tries = 5;
    for (int attempt = 1;; ++attempt) {
        const auto opened = FullIo::OpenRegular(io, path.string(), O_RDWR | O_CREAT, 0644);
        if (!opened)
            return opened.error();
        DataFile file(io, opened.value(), path);
        if (io.flock(file.m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                return Error{"it is already open for keying in another copy of KORVALEN",
                             EWOULDBLOCK};
            return Error{text::SystemError(errno), errno};
        }
        if (!FullIo::SameFile(io, file.m_fd, path.string())) {
            if (attempt < Tries)
                continue;
            return Error{"another station replaced it each time it was opened; try again"};
        }
        if (truncate) {
            if (io.ftruncate(file.m_fd, 0) != 0)
                return Error{text::SystemError(errno), errno};
            if (io.fsync(file.m_fd) != 0)
                return Error{text::SystemError(errno), errno};
        }
        // We hold the file's lock, so no other station is building a copy of it; copies of
        // other files are told apart by their own locks.
        NewCopy::RemoveStale(io, file.target().parent_path().string());
        return file;
    }
}

fs::path DataFile::target() const
{
    // A link stays a link: the file it names is the one replaced.
    std::error_code ec;
    const fs::path real = fs::canonical(m_path, ec);
    return ec ? m_path : real;
}

Result<std::int64_t> DataFile::length() const
{
    struct stat st {
    };
    if (m_io->fstat(m_fd, st) != 0)
        return Error{text::SystemError(errno)};
    return static_cast<std::int64_t>(st.st_size);
}

Result<int> DataFile::measureRecLen() const
{
    // Record lengths are 16-bit; a first line longer than that is not a record anyway.
    constexpr std::int64_t Limit = 1 << 20;
    std::string block;
    for (std::int64_t seen = 0; seen < Limit; seen += static_cast<std::int64_t>(block.size())) {
        block.assign(4096, '\0');
        const auto read = FullIo::ReadAt(*m_io, m_fd, seen, block);
        if (!read)
            return read.error();
        if (block.empty())
            break;
        if (const auto cr = block.find('\r'); cr != std::string::npos)
            return static_cast<int>(seen + static_cast<std::int64_t>(cr));
    }
    return -1;
}

Result<std::string> DataFile::readSlot(std::int32_t n, int recLen) const
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    std::string buf(static_cast<std::size_t>(recLen + 2), '\0');
    const auto read = FullIo::ReadAt(*m_io, m_fd, SlotOffset(n, recLen), buf);
    if (!read)
        return read.error();
    // Blanks in place of what could not be read would be written back over the record.
    if (static_cast<int>(buf.size()) < recLen)
        return Error{"only " + std::to_string(buf.size()) + " of its " + std::to_string(recLen) +
                         " characters could be read",
                     EIO};
    return buf;
}

Result<void> DataFile::untrustedError() const
{
    return Error{"an earlier write to the disk failed, so what the disk holds is uncertain; "
                 "close the file and check it before keying into it again"};
}

Result<void> DataFile::syncFailed(int err)
{
    m_trusted = false;
    return Error{"it could not be written to the disk (" + text::SystemError(err) + ")"};
}

Result<void> DataFile::writeSlot(std::int32_t n, int recLen, std::string_view slot)
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    if (!m_trusted)
        return untrustedError();
    const auto size = length();
    if (!size)
        return size.error();
    const std::int64_t before = size.value();
    const std::int64_t offset = SlotOffset(n, recLen);
    const std::int64_t gap = offset - before;
    if (gap > 0 && (gap > 2 || before % (recLen + 2) < recLen))
        return Error{"the record would leave a gap in the file"};

    // What the write covers of the file today, put back should the write fail part-way.
    std::string old(static_cast<std::size_t>(
                        std::clamp<std::int64_t>(before - offset, 0, std::int64_t(slot.size()))),
                    '\0');
    if (!old.empty()) {
        const std::size_t wanted = old.size();
        const auto read = FullIo::ReadAt(*m_io, m_fd, offset, old);
        if (!read)
            return read;
        // Without all of it, a failed write could not be undone.
        if (old.size() < wanted)
            return Error{"the record it replaces could not be read whole", EIO};
    }
    auto written = Result<void>();
    if (gap > 0) // the last record lacks its line end: complete it before appending
        written =
            FullIo::WriteAt(*m_io, m_fd, before,
                            std::string_view("\r\n").substr(static_cast<std::size_t>(2 - gap)));
    if (written)
        written = FullIo::WriteAt(*m_io, m_fd, offset, slot);
    // Not on the disk: the file goes back to what it was, so no part of a slot stays.
    const auto undo = [&] {
        if (!old.empty())
            FullIo::WriteAt(*m_io, m_fd, offset, old);
        m_io->ftruncate(m_fd, static_cast<off_t>(before));
    };
    if (!written) {
        undo();
        return written;
    }
    if (m_io->fdatasync(m_fd) != 0) {
        const int err = errno;
        undo();
        return syncFailed(err);
    }
    return {};
}

Result<void> DataFile::insertSlot(std::int32_t n, int recLen, std::string_view slot,
                                  const Progress& progress)
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    return rewrite(SlotOffset(n, recLen), 0, slot, progress);
}

Result<void> DataFile::removeSlot(std::int32_t n, int recLen, const Progress& progress)
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    return rewrite(SlotOffset(n, recLen), recLen + 2, {}, progress);
}

Result<void> DataFile::copyBytes(int to, std::int64_t from, std::int64_t at, std::int64_t count,
                                 std::int64_t& done, std::int64_t total, const Progress& progress)
{
    bool inKernel = true;
    std::string buffer;
    while (count > 0) {
        const auto chunk = static_cast<std::size_t>(std::min(count, CopyChunk));
        ssize_t moved = -1;
        if (inKernel) {
            moved =
                m_io->copyRange(m_fd, static_cast<off_t>(from), to, static_cast<off_t>(at), chunk);
            if (moved < 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
        } else {
            buffer.assign(chunk, '\0');
            const auto read = FullIo::ReadAt(*m_io, m_fd, from, buffer);
            if (!read)
                return read;
            const auto written = FullIo::WriteAt(*m_io, to, at, buffer);
            if (!written)
                return written;
            moved = static_cast<ssize_t>(buffer.size());
        }
        if (moved < 0) {
            if (errno == EINTR)
                continue;
            return Error{text::SystemError(errno)};
        }
        if (moved == 0)
            return Error{"the file became shorter while it was copied"};
        from += moved;
        at += moved;
        count -= moved;
        done += moved;
        if (progress && !progress(done, total))
            return Error{"it was cancelled"};
    }
    return {};
}

Result<void> DataFile::rewrite(std::int64_t offset, std::int64_t removed, std::string_view inserted,
                               const Progress& progress)
{
    if (!m_trusted)
        return untrustedError();
    struct stat st {
    };
    if (m_io->fstat(m_fd, st) != 0)
        return Error{text::SystemError(errno)};
    const std::int64_t size = st.st_size;
    if (offset > size || offset + removed > size)
        return Error{"the record is not in the file"};
    const std::int64_t total = size - removed + static_cast<std::int64_t>(inserted.size());

    const fs::path file = target();
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const std::int64_t free = m_io->freeBytes(folder.string());
    if (free >= 0 && free < total)
        return Error{"there is not enough free space on the disk for the new copy of the file (" +
                     Size(total) + " needed, " + Size(free) + " free); the file is unchanged"};

    // Locked from its creation, so a second station never finds the file unlocked once the
    // copy has taken its name.
    NewCopy copy(*m_io, file.string());
    if (copy.create(st.st_mode & 07777) < 0)
        return Error{"its new copy could not be created (" + text::SystemError(errno) + ")"};
    m_io->fchmod(copy.fd(), st.st_mode & 07777);   // the umask narrowed it
    m_io->fchown(copy.fd(), st.st_uid, st.st_gid); // allowed only to root; harmless otherwise

    std::int64_t done = 0;
    if (progress && !progress(0, total))
        return Error{"it was cancelled"};
    auto step = copyBytes(copy.fd(), 0, 0, offset, done, total, progress);
    if (step) {
        step = FullIo::WriteAt(*m_io, copy.fd(), offset, inserted);
        done += static_cast<std::int64_t>(inserted.size());
    }
    if (step)
        step = copyBytes(copy.fd(), offset + removed,
                         offset + static_cast<std::int64_t>(inserted.size()),
                         size - offset - removed, done, total, progress);
    if (!step)
        return step;
    if (m_io->fsync(copy.fd()) != 0)
        return Error{"its new copy could not be written to the disk (" + text::SystemError(errno) +
                     "); the file is unchanged"};
    if (copy.renameOver(file.string()) != 0)
        return Error{"its new copy could not take its place (" + text::SystemError(errno) +
                     "); the file is unchanged"};
    // The old content goes, and its lock with it: the new file holds one already.
    m_release = std::jthread([io = m_io, fd = m_fd] { io->close(fd); });
    m_fd = copy.release();
    // The new name must survive a power cut too.
    const bool dirSynced = FullIo::SyncFolder(*m_io, folder.string());
    // The new content is in place either way; a name that may not survive a power cut
    // means the file is not trusted from here on, which the caller tells the operator.
    if (!dirSynced)
        m_trusted = false;
    return {};
}

Result<void> DataFile::flush()
{
    if (m_fd < 0)
        return {};
    if (!m_trusted)
        return untrustedError();
    if (m_io->fsync(m_fd) != 0)
        return syncFailed(errno);
    return {};
}

void DataFile::close()
{
    if (m_release.joinable())
        m_release.join();
    if (m_fd >= 0) {
        m_io->close(m_fd); // releases the lock too
        m_fd = -1;
    }
    m_trusted = true;
}
