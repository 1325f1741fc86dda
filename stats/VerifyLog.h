#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "common/Result.h"

class Engine;

// NAME.kvverify beside each data file: a row for every stored character Verify replaced.
// Replacements wait with the record in hand and are written, and forced to the disk,
// before the record itself is rewritten: no stored character changes without its trace.
class VerifyLog
{
public:
    static constexpr const char* Extension = ".kvverify";

    struct Row {
        std::time_t time = 0;
        std::int32_t record = 0;
        int position = 0; // in the record, from 1
        int field = 0;    // from 1
        char fieldType = ' ';
        char stored = ' ';
        char keyed = ' ';
        bool byBackspace = false; // else the third mismatching key
    };

    explicit VerifyLog(Engine& e);

    // A mismatching key at the cursor replaces the stored character.
    void Replaced(char stored, char keyed, bool byBackspace);
    // The record in hand was left without being written: its replacements never happened.
    void Discard() { m_pending.clear(); }
    bool HasPending() const { return !m_pending.empty(); }
    // Writes the waiting rows of record n; the record may be rewritten only when this
    // succeeded.
    Result<void> WritePending(std::int32_t n);
    // The log of the file open now.
    std::string Path() const;
    // The rows written in this session for the file open now, oldest first.
    const std::vector<Row>& SessionRows() const { return m_session; }
    // A file was opened: its log starts with none of this session's rows.
    void FileOpened();

    // The CSV line of a row, with its line end.
    std::string Line(const Row& row) const;

private:
    Engine& m_e;
    std::vector<Row> m_pending;
    std::vector<Row> m_session;
};
