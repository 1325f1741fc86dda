#include "datafile/NewCopy.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

#include "common/TextUtil.h"
#include "datafile/FileIo.h"
#include "datafile/FullIo.h"

NewCopy::NewCopy(FileIo& io, const std::string& prefix) : m_io(io)
{
    static std::atomic<unsigned> serial{0};
    m_path = prefix + std::to_string(::getpid()) + "-" + std::to_string(serial++);
}

NewCopy::~NewCopy()
{
    if (m_fd >= 0)
        m_io.close(m_fd);
    if (!m_path.empty())
        m_io.unlink(m_path);
}

int NewCopy::create(mode_t mode)
{
    m_fd = m_io.open(m_path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    return m_fd;
}

int NewCopy::renameOver(const std::string& target)
{
    const int renamed = m_io.rename(m_path, target);
    if (renamed == 0)
        m_path.clear();
    return renamed;
}

Result<void> NewCopy::replace(const std::string& target)
{
    if (m_io.fsync(m_fd) != 0)
        return Error{text::SystemError(errno)};
    if (renameOver(target) != 0)
        return Error{text::SystemError(errno)};
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    if (!FullIo::SyncFolder(m_io, folder))
        return Error{"it is in place, but the folder could not be written to the disk, so its "
                     "name may not survive a power cut"};
    return {};
}

int NewCopy::release()
{
    m_path.clear();
    return std::exchange(m_fd, -1);
}
