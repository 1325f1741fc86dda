#include "datafile/DataFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TextUtil.h"

namespace
{

std::int64_t SlotOffset(std::int32_t n, int recLen)
{
    return static_cast<std::int64_t>(n - 1) * (recLen + 2);
}

} // namespace

DataFile::~DataFile()
{
    close();
}

DataFile::DataFile(DataFile&& other) noexcept : m_fd(other.m_fd), m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

DataFile& DataFile::operator=(DataFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

Result<DataFile> DataFile::Open(const std::filesystem::path& path, bool truncate)
{
    const std::string name = path.string();
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Error{text::SystemError(errno)};
    DataFile file(fd, path);
    struct stat st {
    };
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode))
        return Error{"it is not a regular file"};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return Error{"it is already open for keying in another copy of KORVALEN"};
        return Error{text::SystemError(errno)};
    }
    if (truncate && ::ftruncate(fd, 0) != 0)
        return Error{text::SystemError(errno)};
    return file;
}

Result<std::int64_t> DataFile::length() const
{
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        return Error{text::SystemError(errno)};
    return static_cast<std::int64_t>(st.st_size);
}

Result<std::string> DataFile::readSlot(std::int32_t n, int recLen) const
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    std::string buf(static_cast<std::size_t>(recLen + 2), '\0');
    std::size_t got = 0;
    const std::int64_t offset = SlotOffset(n, recLen);
    while (got < buf.size()) {
        const ssize_t r = ::pread(m_fd, buf.data() + got, buf.size() - got,
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
    return buf;
}

Result<void> DataFile::writeAt(std::int64_t offset, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
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

Result<void> DataFile::writeSlot(std::int32_t n, int recLen, std::string_view slot)
{
    if (n < 1)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    const auto size = length();
    if (!size)
        return size.error();
    const std::int64_t offset = SlotOffset(n, recLen);
    const std::int64_t gap = offset - size.value();
    if (gap > 0) {
        const std::int64_t partial = size.value() % (recLen + 2);
        if (gap > 2 || partial < recLen)
            return Error{"the record would leave a gap in the file"};
        // The last record lacks its line end: complete it before appending.
        const auto done = writeAt(size.value(), std::string_view("\r\n").substr(2 - gap));
        if (!done)
            return done;
    }
    return writeAt(offset, slot);
}

Result<void> DataFile::truncateSlots(std::int32_t count, int recLen)
{
    if (::ftruncate(m_fd, static_cast<off_t>(SlotOffset(count + 1, recLen))) != 0)
        return Error{text::SystemError(errno)};
    return {};
}

Result<void> DataFile::flush()
{
    if (m_fd < 0)
        return {};
    if (::fsync(m_fd) != 0)
        return Error{text::SystemError(errno)};
    return {};
}

void DataFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock too
        m_fd = -1;
    }
}
