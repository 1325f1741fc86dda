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

Result<void> RecordStore::WriteRecord(std::int32_t n)
{
    const FormatState& f = m_e.fmt;
    const auto len = static_cast<std::size_t>(f.RecLen);
    RecBuf.resize(len, ' ');
    RecBuf[len - 1] = f.formatLetter();
    CleanRecord(RecBuf);
    RecBuf += "\r\n";
    auto written = m_e.file.DataFileNo.writeSlot(n, f.RecLen, RecBuf);
    if (!written)
        return written;
    m_e.win.previousText = RecBuf.substr(0, len);
    m_e.WindowChanged();
    return {};
}

void RecordStore::CleanRecord(std::string& s)
{
    for (char& c : s) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 128)
            c = ' ';
    }
}
