#include "common/FileHandle.h"

#include "common/FileIo.h"

FileHandle::~FileHandle()
{
    close();
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_io = other.m_io;
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void FileHandle::close()
{
    if (m_fd >= 0)
        m_io->close(std::exchange(m_fd, -1));
}
