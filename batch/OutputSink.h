#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/Result.h"

class FileIo;
class NewCopy;

// Where a command's output goes: a descriptor (standard output) or a file named with -o,
// built in a copy beside it and renamed into place at the end, so an interrupted run leaves
// no partial file. Output is gathered in a large buffer and written in blocks.
class OutputSink
{
public:
    static constexpr std::size_t BlockBytes = 1 << 20;

    static OutputSink ToDescriptor(int fd);
    static Result<OutputSink> ToFile(FileIo& io, const std::string& path);

    OutputSink(OutputSink&&) noexcept;
    OutputSink& operator=(OutputSink&&) noexcept;
    ~OutputSink();

    // Appended to directly; spill() writes it once it is large.
    std::string& buffer() { return m_buffer; }
    void append(std::string_view text) { m_buffer += text; }
    Result<void> spill();
    // Writes the rest; a file is flushed and renamed over its name.
    Result<void> finish();

    // The reader of a pipe went away (| head): the run ends quietly.
    static bool ClosedPipe(const Error& e);

private:
    OutputSink() = default;
    Result<void> write();

    FileIo* m_io = nullptr;
    int m_fd = -1;
    std::string m_path;
    std::unique_ptr<NewCopy> m_copy;
    std::int64_t m_offset = 0;
    std::string m_buffer;
};
