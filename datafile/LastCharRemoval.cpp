#include "datafile/LastCharRemoval.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>

#include "common/FileHandle.h"
#include "common/FullIo.h"
#include "common/NewCopy.h"
#include "common/TextUtil.h"
#include "engine/Engine.h"

namespace
{

namespace fs = std::filesystem;

// Large reads and writes keep the system calls few; small enough for a lively progress bar.
constexpr std::size_t Block = 1 << 20;

// One line without its LF: a CR before it is dropped, then the last character, and the
// rest is written with CR LF. An empty line stays empty.
void CutLine(std::string_view line, std::string& out)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!line.empty())
        line.remove_suffix(1);
    out.append(line);
    out.append("\r\n");
}

// Cuts the whole lines of block into out; the bytes after its last LF go to pending, which
// also holds what the block before left unfinished.
void CutLines(std::string_view block, std::string& pending, std::string& out)
{
    const char* p = block.data();
    const char* const end = p + block.size();
    if (!pending.empty()) {
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', block.size()));
        if (lf == nullptr) {
            pending.append(block);
            return;
        }
        pending.append(p, lf);
        CutLine(pending, out);
        pending.clear();
        p = lf + 1;
    }
    while (p < end) {
        const auto* lf =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (lf == nullptr) {
            pending.assign(p, end);
            return;
        }
        CutLine(std::string_view(p, static_cast<std::size_t>(lf - p)), out);
        p = lf + 1;
    }
}

} // namespace

std::string LastCharRemoval::OutputName(const std::string& input)
{
    const auto nameStart = input.rfind(fs::path::preferred_separator);
    const auto dot = input.find('.', nameStart == std::string::npos ? 0 : nameStart + 1);
    if (dot == std::string::npos)
        return input + ".fil";
    return input.substr(0, dot + 1) + "fil";
}

void LastCharRemoval::mnuCut_Click()
{
    if (!m_e.rec.MayDropRecordInHand("Close the file for Cut"))
        return;
    m_e.file.CloseFile();
    const auto answer = m_e.dialogs.inputBox("Data file name in " + m_e.file.DataPath, Title,
                                             m_e.file.DataFilePath);
    if (!answer || text::Trim(*answer).empty())
        return;
    std::string input = DataFileLifecycle::WithDefaultExtension(*answer);
    if (fs::path(input).is_relative())
        input = (fs::path(m_e.file.DataDir()) / input).string();
    const std::string output = OutputName(input);

    if (WouldOverwrite(input, output)) {
        m_e.MsgBox("The copy of " + input + " without the last characters would be written over " +
                       "the file itself, so nothing was done.",
                   Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, Title);
        return;
    }
    const auto done = RemoveLastCharacters(input, output);
    if (!done) {
        m_e.MsgBox(done.error().message, Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, Title);
        return;
    }
    if (!done.value())
        return; // cancelled: nothing was written
    m_e.MsgBox("Last character removed from file : " + input + "\r" + "File name : " + output,
               Dialogs::Buttons::OK, Dialogs::Icon::None, Title);
}

bool LastCharRemoval::WouldOverwrite(const std::string& input, const std::string& output)
{
    std::error_code ec;
    return output == input || fs::equivalent(input, output, ec);
}

Result<bool> LastCharRemoval::RemoveLastCharacters(const std::string& input,
                                                   const std::string& output)
{
    const std::string label = "Removing the last character of each line of " + input;
    // However it ends, the progress dialog goes.
    struct EndProgress {
        Dialogs& dialogs;
        const std::string& label;
        ~EndProgress() { dialogs.progress(label, 0, 0); }
    } const endProgress{m_e.dialogs, label};
    return WriteCopy(m_e.io, input, output, [&](std::int64_t done, std::int64_t total) {
        return m_e.dialogs.progress(label, done, total);
    });
}

Result<bool> LastCharRemoval::WriteCopy(FileIo& io, const std::string& input,
                                        const std::string& output, const Progress& progress)
{
    const auto cannotRead = [&](const std::string& why) {
        return Error{"The file " + input + " could not be read: " + why + "."};
    };
    const auto cannotWrite = [&](const std::string& why) {
        return Error{"The file " + output + " could not be written: " + why + "."};
    };

    const auto opened = FullIo::OpenRegular(io, input, O_RDONLY);
    if (!opened)
        return cannotRead(opened.error().message);
    const FileHandle in(io, opened.value());
    struct stat st {
    };
    if (io.fstat(in.fd(), st) != 0)
        return cannotRead(text::SystemError(errno));
    const std::int64_t total = st.st_size;

    // Copies that a Cut killed part-way left beside the output go first: they may hold the
    // room this one needs.
    NewCopy::RemoveStale(io, fs::path(output).parent_path().string());
    NewCopy copy(io, output);
    if (copy.create(0666) < 0)
        return Error{"The file " + output + " could not be created: " + text::SystemError(errno) +
                     "."};

    std::string block(Block, '\0');
    std::string pending;
    std::string out;
    out.reserve(Block + Block / 2);
    std::int64_t readAt = 0;
    std::int64_t writtenAt = 0;
    const auto flushOut = [&]() -> Result<void> {
        const auto written = FullIo::WriteAt(io, copy.fd(), writtenAt, out);
        if (!written)
            return cannotWrite(written.error().message);
        writtenAt += static_cast<std::int64_t>(out.size());
        out.clear();
        return {};
    };
    for (;;) {
        block.resize(Block);
        const auto read = FullIo::ReadAt(io, in.fd(), readAt, block);
        if (!read)
            return cannotRead(read.error().message);
        if (block.empty())
            break;
        readAt += static_cast<std::int64_t>(block.size());
        CutLines(block, pending, out);
        if (out.size() >= Block) {
            if (const auto written = flushOut(); !written)
                return written.error();
        }
        // The flush to the disk is the last step: the bar stays up until it is done.
        if (progress && !progress(std::min(readAt, total), total + 1))
            return false;
    }
    // A last line without its line end is a line like the others.
    if (!pending.empty())
        CutLine(pending, out);
    if (const auto written = flushOut(); !written)
        return written.error();
    if (const auto replaced = copy.replace(output); !replaced)
        return cannotWrite(replaced.error().message);
    return true;
}
