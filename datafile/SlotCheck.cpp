#include "datafile/SlotCheck.h"

#include <cerrno>
#include <fstream>

#include "common/TextUtil.h"

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

Result<int> MeasureRecLen(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Error{text::SystemError(errno)};
    // Record lengths are 16-bit; a first line longer than that is not a record anyway.
    constexpr int Limit = 1 << 20;
    char buf[4096];
    int seen = 0;
    while (seen < Limit) {
        in.read(buf, sizeof buf);
        const auto got = static_cast<int>(in.gcount());
        if (got <= 0)
            break;
        for (int i = 0; i < got; ++i)
            if (buf[i] == '\r')
                return seen + i;
        seen += got;
    }
    return -1;
}
