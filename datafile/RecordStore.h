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
    bool CorrectMode = false;
    bool InsertPending = false;

    // Reads slot n into RecBuf and OrigRec and takes FmtNo from its format letter.
    Result<void> ReadRecord(std::int32_t n);

private:
    Engine& m_e;
};
