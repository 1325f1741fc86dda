#pragma once

#include <cstdint>
#include <string>

#include "app/Result.h"

class Engine;

// The record in hand and the record slots of the open data file.
class RecordStore
{
public:
    explicit RecordStore(Engine& e) : m_e(e) {}

    std::int32_t CurRec = 1;
    std::int32_t EndRec = 1;
    std::string RecBuf;
    std::string OrigRec;
    std::string InsRecBuf;
    bool CorrectMode = false;
    bool InsertPending = false;

    // Reads slot n into RecBuf and OrigRec and takes FmtNo from its format letter.
    Result<void> ReadRecord(std::int32_t n);
    // Stamps the format letter, cleans RecBuf and writes it to slot n.
    Result<void> WriteRecord(std::int32_t n);

    // Control characters and codes above 128 become blanks.
    static void CleanRecord(std::string& s);

private:
    Engine& m_e;
};
