#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "common/Result.h"

class FileIo;

// The CSV logs kept beside a data file: NAME.kvstats and NAME.kvverify. A row is appended
// with one write to the file opened for appending and then forced to the disk, so rows of
// two stations never interleave and a row the program went on from is stored.
namespace LogFile
{

// NAME.dat gives NAME.ext beside it; a name without an extension gets one added.
std::string BesideDataFile(const std::string& dataPath, std::string_view ext);
// ISO 8601 local time with its offset: 2026-12-11T09:15:02+01:00.
std::string IsoLocalTime(std::time_t t);
// The login name of the user the program runs as; "unknown" when none can be found.
std::string OperatorName();

// Appends text (whole rows, each ending in a line end) to the log at path; a file that is
// new, or empty, gets the header line first. Nothing of a failed append stays behind.
Result<void> Append(FileIo& io, const std::string& path, std::string_view header,
                    const std::string& rows);

} // namespace LogFile
