#include "batch/OutputSink.h"

#include <cerrno>
#include <unistd.h>

#include "common/FullIo.h"
#include "common/NewCopy.h"
#include "common/TextUtil.h"

OutputSink::OutputSink(OutputSink&&) noexcept = default;
OutputSink& OutputSink::operator=(OutputSink&&) noexcept = default;
OutputSink::~OutputSink() = default;

OutputSink OutputSink::ToDescriptor(int fd)
{
    OutputSink sink;
    sink.m_fd = fd;
    sink.m_buffer.reserve(BlockBytes + BlockBytes / 4);
    return sink;
}

Result<OutputSink> OutputSink::ToFile(FileIo& io, const std::string& path)
{
    OutputSink sink;
    sink.m_io = &io;
    sink.m_path = path;
    sink.m_copy = std::make_unique<NewCopy>(io, path);
    if (sink.m_copy->create(0666) < 0)
        return Error{path + ": cannot be created: " + text::SystemError(errno), errno};
    sink.m_fd = sink.m_copy->fd();
    sink.m_buffer.reserve(BlockBytes + BlockBytes / 4);
    return sink;
}

Result<void> OutputSink::spill()
{
    if (m_buffer.size() < BlockBytes)
        return {};
    return write();
}

Result<void> OutputSink::write()
{
    if (m_copy) {
        const auto written = FullIo::WriteAt(*m_io, m_fd, m_offset, m_buffer);
        if (!written)
            return Error{m_path + ": " + written.error().message, written.error().code};
        m_offset += static_cast<std::int64_t>(m_buffer.size());
        m_buffer.clear();
        return {};
    }
    // Standard output may be a pipe or a terminal, where offsets mean nothing.
    std::string_view rest = m_buffer;
    while (!rest.empty()) {
        const ssize_t n = ::write(m_fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Error{"standard output: " + text::SystemError(errno), errno};
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    m_buffer.clear();
    return {};
}

Result<void> OutputSink::finish()
{
    if (const auto written = write(); !written)
        return written;
    if (!m_copy)
        return {};
    if (const auto replaced = m_copy->replace(m_path); !replaced)
        return Error{m_path + ": " + replaced.error().message, replaced.error().code};
    return {};
}

bool OutputSink::ClosedPipe(const Error& e)
{
    return e.code == EPIPE;
}
