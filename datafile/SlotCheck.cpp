#include "datafile/SlotCheck.h"

SlotCheck SlotCheck::Of(std::int64_t length, int measured, int recLen)
{
    SlotCheck c;
    if (length <= 0)
        return c;
    if (measured != recLen) {
        // A file holding a single record without its line end has no CR to measure by.
        if (measured < 0 && length == recLen) {
            c.kind = Kind::Ok;
            c.records = 1;
            c.lastLacksLineEnd = true;
            return c;
        }
        c.kind = Kind::Mismatch;
        return c;
    }
    const std::int64_t slot = recLen + 2;
    c.records = length / slot;
    const std::int64_t rest = length % slot;
    c.kind = Kind::Ok;
    if (rest >= recLen) {
        ++c.records;
        c.lastLacksLineEnd = true;
    } else if (rest > 0) {
        c.kind = Kind::Fragment;
        c.fragmentBytes = rest;
    }
    return c;
}
