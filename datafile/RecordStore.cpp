#include "datafile/RecordStore.h"

#include "app/Engine.h"

Result<void> RecordStore::ReadRecord(std::int32_t n)
{
    FormatState& f = m_e.fmt;
    auto slot = m_e.file.DataFileNo.readSlot(n, f.RecLen);
    if (!slot)
        return slot.error();
    RecBuf = std::move(slot).value();
    if (static_cast<int>(RecBuf.size()) < f.RecLen)
        RecBuf.resize(static_cast<std::size_t>(f.RecLen), ' ');
    OrigRec = RecBuf;
    const int no = f.RecLen >= 1 ? RecBuf[static_cast<std::size_t>(f.RecLen - 1)] - 'a' + 1 : 1;
    f.FmtNo = no < 1 || no > f.FmtCount ? 1 : no;
    return {};
}
