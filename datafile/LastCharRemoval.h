#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/Result.h"

class Engine;
class FileIo;

// Tools > Cut: writes the copy of a data file whose lines have each lost their last
// character (the records without their format letters), named after it with ".fil".
class LastCharRemoval
{
public:
    static constexpr const char* Title = "Last Character removal";

    explicit LastCharRemoval(Engine& e) : m_e(e) {}

    // Closes the open file, asks for the file to cut and writes its copy.
    void mnuCut_Click();

    // The copy's name: the file name up to its first "." and "fil", or the name and ".fil".
    static std::string OutputName(const std::string& input);
    // Writes the copy of input to output in one go, showing the progress dialog. False when
    // the operator cancelled it.
    Result<bool> RemoveLastCharacters(const std::string& input, const std::string& output);

    // Told how far the copy is (done of total bytes); false cancels it.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;
    // Whether output names input itself: its copy would be written over it.
    static bool WouldOverwrite(const std::string& input, const std::string& output);
    // The copy of input written to output with no window: a copy beside output, renamed over
    // it once it is complete and on the disk. False when progress cancelled it.
    static Result<bool> WriteCopy(FileIo& io, const std::string& input, const std::string& output,
                                  const Progress& progress);

private:
    Engine& m_e;
};
