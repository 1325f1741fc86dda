#pragma once

#include <cstdint>

// What the opening finds when it lays a format's record length over an existing file.
struct SlotCheck {
    enum class Kind {
        Empty,    // nothing stored yet
        Ok,       // a whole number of records
        Mismatch, // the first line's length is not the format's record length
        Fragment, // whole records followed by a piece that is not one
    };
    Kind kind = Kind::Empty;
    std::int64_t records = 0;      // stored records
    bool lastLacksLineEnd = false; // the last record is whole but its CR LF is missing
    std::int64_t fragmentBytes = 0;

    static SlotCheck Of(std::int64_t length, int measured, int recLen);
};
