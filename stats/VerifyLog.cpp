#include "stats/VerifyLog.h"

#include "common/Latin1.h"
#include "engine/Engine.h"
#include "stats/KeyingCounts.h"
#include "stats/LogFile.h"

VerifyLog::VerifyLog(Engine& e) : m_e(e)
{
    // Room for a record's worth of replacements without allocating on the key path.
    m_pending.reserve(FormatState::MaxFields * 4);
}

void VerifyLog::Replaced(char stored, char keyed, bool byBackspace)
{
    const FormatState& f = m_e.fmt;
    const int col = m_e.scr.CurCol;
    int field = 0;
    for (int i = 1; i <= f.FieldCount; ++i) {
        const Field& fd = f.field(i);
        if (col >= fd.Start && col < fd.Start + fd.Len) {
            field = i;
            break;
        }
    }
    m_pending.push_back({m_e.clock.wallTime(), m_e.rec.CurRec, col, field,
                         field > 0 ? f.field(field).Typ : ' ', stored, keyed, byBackspace});
}

void VerifyLog::FileOpened()
{
    m_session.clear();
    m_pending.clear();
}

std::string VerifyLog::Path() const
{
    return LogFile::BesideDataFile(m_e.file.DataFilePath, Extension);
}

std::string VerifyLog::Line(const Row& r) const
{
    std::string s = LogFile::IsoLocalTime(r.time) + ',';
    Latin1::AppendCsv(m_e.OperatorName, s);
    s += ',' + std::to_string(r.record) + ',' + std::to_string(r.position) + ',' +
         std::to_string(r.field) + ',';
    Latin1::AppendCsv(std::string_view(&r.fieldType, 1), s);
    s += ',';
    Latin1::AppendCsv(std::string_view(&r.stored, 1), s);
    s += ',';
    Latin1::AppendCsv(std::string_view(&r.keyed, 1), s);
    s += ',';
    s += r.byBackspace ? VerifyColumns::Backspace : VerifyColumns::ThirdKey;
    s += '\n';
    return s;
}

Result<void> VerifyLog::WritePending(std::int32_t n)
{
    if (m_pending.empty())
        return {};
    std::string rows;
    for (Row& r : m_pending) {
        r.record = n;
        rows += Line(r);
    }
    const std::string log = Path();
    const auto appended = LogFile::Append(m_e.io, log, VerifyColumns::Header, rows);
    if (!appended)
        return Error{"its verification row could not be written first (" +
                         appended.error().message + ")",
                     appended.error().code};
    m_session.insert(m_session.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
    return {};
}
