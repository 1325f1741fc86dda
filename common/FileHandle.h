#pragma once

#include <utility>

class FileIo;

// A descriptor of the program's own, closed through its FileIo when the handle goes.
class FileHandle
{
public:
    FileHandle() = default;
    FileHandle(FileIo& io, int fd) : m_io(&io), m_fd(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : m_io(other.m_io), m_fd(std::exchange(other.m_fd, -1))
    {
    }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Gives the descriptor up, to a caller that closes it itself.
    int release() { return std::exchange(m_fd, -1); }
    void close();

private:
    FileIo* m_io = nullptr;
    int m_fd = -1;
};
