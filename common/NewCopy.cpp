#include "common/NewCopy.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

#include "common/FileHandle.h"
#include "common/FileIo.h"
#include "common/FullIo.h"
#include "common/TextUtil.h"

namespace
{

namespace fs = std::filesystem;

constexpr std::size_t NameMax = 255;
constexpr const char* Mark = ".kvnew-";

std::string FolderOf(const std::string& target)
{
    const auto slash = target.rfind('/');
    return slash == std::string::npos ? "." : target.substr(0, slash + 1);
}

bool IsCopyName(const std::string& name)
{
    return name.size() > 1 && name.front() == '.' && name.find(Mark) != std::string::npos;
}

} // namespace

NewCopy::NewCopy(FileIo& io, std::string target) : m_io(io), m_target(std::move(target)) {}

NewCopy::~NewCopy()
{
    if (m_fd >= 0)
        m_io.close(m_fd);
    if (!m_path.empty() && !m_inPlace)
        m_io.unlink(m_path);
}

std::string NewCopy::NameFor(const std::string& target, long pid, unsigned serial)
{
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string suffix = Mark + std::to_string(pid) + "-" + std::to_string(serial);
    const std::size_t room = NameMax - 1 - suffix.size();
    if (name.size() > room) {
        name.resize(room);
        // Not in the middle of a UTF-8 character.
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
            name.pop_back();
        if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0)
            name.pop_back();
    }
    return folder + "." + name + suffix;
}

int NewCopy::create(mode_t mode)
{
    static std::atomic<unsigned> serial{0};
    // A name may be taken by a copy a dead process with this number left; a sweep of another
    // station may take ours for such a one in the moment before it is locked.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string path = NameFor(m_target, ::getpid(), serial++);
        FileHandle copy(m_io, m_io.open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!copy.isOpen()) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        if (m_io.flock(copy.fd(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                continue; // a sweep holds it, and removes it
            const int err = errno;
            m_io.unlink(path);
            errno = err;
            return -1;
        }
        if (!FullIo::SameFile(m_io, copy.fd(), path))
            continue;
        m_path = path;
        m_fd = copy.release();
        return m_fd;
    }
    errno = EEXIST;
    return -1;
}

int NewCopy::renameOver(const std::string& target)
{
    const int renamed = m_io.rename(m_path, target);
    if (renamed == 0)
        m_inPlace = true;
    return renamed;
}

Result<void> NewCopy::replace(const std::string& target)
{
    if (m_io.fsync(m_fd) != 0)
        return Error{text::SystemError(errno), errno};
    if (renameOver(target) != 0)
        return Error{text::SystemError(errno), errno};
    if (!FullIo::SyncFolder(m_io, FolderOf(target)))
        return Error{"it is in place, but the folder could not be written to the disk, so its "
                     "name may not survive a power cut"};
    return {};
}

int NewCopy::release()
{
    m_inPlace = true;
    return std::exchange(m_fd, -1);
}

void NewCopy::RemoveStale(FileIo& io, const std::string& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!IsCopyName(it->path().filename().string()))
            continue;
        const std::string path = it->path().string();
        const auto opened = FullIo::OpenRegular(io, path, O_RDONLY | O_NOFOLLOW);
        if (!opened)
            continue;
        const FileHandle copy(io, opened.value());
        // Locked: a live process is building it. Our lock keeps anyone from taking it up
        // while it goes.
        if (io.flock(copy.fd(), LOCK_EX | LOCK_NB) == 0 && FullIo::SameFile(io, copy.fd(), path))
            io.unlink(path);
    }
}
