#pragma once

#include <string>
#include <sys/types.h>

#include "common/Result.h"

class FileIo;

// A file being built beside the one it will replace, under a name of its own; removed
// unless it was renamed over that file.
class NewCopy
{
public:
    // The copy for target, named after prefix with this process and a serial number.
    NewCopy(FileIo& io, const std::string& prefix);
    ~NewCopy();
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;

    // Creates it, failing when the name is taken; the descriptor, or -1 and errno.
    int create(mode_t mode);
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // Renames it over target: from here on its name is no longer ours to remove.
    int renameOver(const std::string& target);
    // Flushes it, renames it over target and flushes the folder, so that target holds the
    // old or the new content whatever happens; the error says which step failed.
    Result<void> replace(const std::string& target);
    // The copy has taken its place: its descriptor is the caller's now.
    int release();

private:
    FileIo& m_io;
    std::string m_path;
    int m_fd = -1;
};
