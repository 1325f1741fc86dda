#pragma once

#include <string>
#include <sys/types.h>

#include "common/Result.h"

class FileIo;

// A file being built beside the one it will replace, under a hidden name of its own; removed
// unless it was renamed over that file. It is locked from its creation on, so a copy that no
// process holds locked was left by one that died, and RemoveStale clears it away.
class NewCopy
{
public:
    // A copy for target, in target's folder.
    NewCopy(FileIo& io, std::string target);
    ~NewCopy();
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;

    // Creates and locks it under a name no other file has; the descriptor, or -1 and errno.
    int create(mode_t mode);
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // Renames it over target: from here on its name is no longer ours to remove.
    int renameOver(const std::string& target);
    // Flushes it, renames it over target and flushes the folder, so that target holds the
    // old or the new content whatever happens; the error says which step failed.
    Result<void> replace(const std::string& target);
    // It has been renamed over its target: the new content is in place, even when a later
    // step of replace failed.
    bool inPlace() const { return m_inPlace; }
    // The copy has taken its place: its descriptor is the caller's now.
    int release();

    // The hidden name of a copy of target: "." + its file name + ".kvnew-PID-N", the file
    // name shortened where needed so that the whole fits the 255 bytes a name may have.
    static std::string NameFor(const std::string& target, long pid, unsigned serial);
    // Removes the copies in folder that no process holds locked any more.
    static void RemoveStale(FileIo& io, const std::string& folder);

private:
    FileIo& m_io;
    std::string m_target;
    std::string m_path;
    int m_fd = -1;
    bool m_inPlace = false;
};
