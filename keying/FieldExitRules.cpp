#include "keying/FieldExitRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/TextUtil.h"
#include "engine/Engine.h"

namespace
{

bool ZeroFilled(char type)
{
    return type == 'N' || type == 'R' || type == 'D' || type == 'Y';
}

// The numeric value of a field's text, or nothing when it is blank or not a number.
std::optional<double> FieldValue(const std::string& v)
{
    const auto first = v.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::string t = v.substr(first, v.find_last_not_of(' ') - first + 1);
    bool digit = false, dot = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !dot)
            dot = true;
        else if (!((c == '-' || c == '+') && i == 0))
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

// A number in its shortest decimal form: 42, 2.5.
std::string ShortestDecimal(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

} // namespace

std::string FieldExitRules::Adjdec(const std::string& fld, const std::string& fm)
{
    const auto f = fld.find('.');
    const auto m = fm.find('.');
    const std::size_t iw = m == std::string::npos ? fm.size() : m;
    const std::size_t dw = m == std::string::npos ? 0 : fm.size() - m - 1;
    std::string ip = f == std::string::npos ? fld : fld.substr(0, f);
    std::string dp = f == std::string::npos ? std::string() : fld.substr(f + 1);
    ip = ip.size() > iw ? ip.substr(0, iw) : std::string(iw - ip.size(), '0') + ip;
    dp = dp.size() > dw ? dp.substr(0, dw) : dp + std::string(dw - dp.size(), '0');
    return m == std::string::npos ? ip : ip + "." + dp;
}

void FieldExitRules::FieldExit()
{
    const Field& fld = m_e.fmt.field(m_e.fld.CurFld);
    if (fld.Start < 1)
        return; // the cursor is in no field (Alt+F1 can turn the first code into "-")
    const int k = m_e.scr.CurCol - fld.Start;
    const int n = std::max(fld.Len - k, 0);
    fillRestOfField(
        std::string(static_cast<std::size_t>(n), ZeroFilled(m_e.fld.FldType) ? '0' : ' '));
}

void FieldExitRules::AutoDup()
{
    const Field& fld = m_e.fmt.field(m_e.fld.CurFld);
    if (fld.Start < 1)
        return;
    const int col = m_e.scr.CurCol;
    const int n = std::max(fld.Start + fld.Len - col, 0);
    // Where the previous record is shorter (none yet), the record keeps what it has.
    std::string s =
        m_e.rec.RecBuf.substr(static_cast<std::size_t>(col - 1), static_cast<std::size_t>(n));
    const std::string& prev = m_e.rec.OrigRec;
    for (int i = 0; i < n && col - 1 + i < static_cast<int>(prev.size()); ++i)
        s[static_cast<std::size_t>(i)] = prev[static_cast<std::size_t>(col - 1 + i)];
    fillRestOfField(s);
}

void FieldExitRules::AutoSkip()
{
    const Field& fld = m_e.fmt.field(m_e.fld.CurFld);
    if (fld.Start < 1)
        return;
    const int n = std::max(fld.Start + fld.Len - m_e.scr.CurCol, 0);
    fillRestOfField(std::string(static_cast<std::size_t>(n), ' '));
}

void FieldExitRules::fillRestOfField(const std::string& s)
{
    RecordStore& r = m_e.rec;
    const int from = m_e.scr.CurCol;
    if (from < 1 || from > static_cast<int>(r.RecBuf.size()))
        return;
    const int n = static_cast<int>(s.size());
    const int room = std::max(static_cast<int>(r.RecBuf.size()) - (from - 1), 0);
    r.RecBuf.replace(static_cast<std::size_t>(from - 1),
                     static_cast<std::size_t>(std::min(n, room)),
                     s.substr(0, static_cast<std::size_t>(std::min(n, room))));
    m_e.scr.CurCol = from + n;
    FieldFilled(from, n, true);
}

void FieldExitRules::FieldFilled(int from, int count, bool filledWhole)
{
    EntryScreen& scr = m_e.scr;
    scr.ShowRange(from, count, m_e.prefs.TextBackColor);
    if (scr.CurCol >= m_e.fmt.RecLen) {
        // While a record is being set up it is shown filled; the next key completes it.
        if (scr.SettingUp) {
            scr.CurCol = m_e.fmt.RecLen;
            scr.FollowCursor();
            return;
        }
        m_e.ver.RecordComplete();
        return;
    }
    // A field filled as a whole is not adjusted again on leaving it.
    if (filledWhole)
        m_e.fld.FldType = 'A';
    m_e.fld.CursorMovedOn();
}

void FieldExitRules::Radj()
{
    FieldTracker& fld = m_e.fld;
    RecordStore& r = m_e.rec;
    EntryScreen& scr = m_e.scr;
    fld.FieldInfo();
    if (fld.FldStart < 1)
        return;
    const int keyed = std::clamp(scr.CurCol - fld.FldStart, 0, fld.FldLen);
    // Blanks behind the characters put in were never keyed: a memory text shorter than the
    // field leaves them, and they must not land among the digits.
    std::string s = text::TrimRight(fld.FldKeyed.substr(0, static_cast<std::size_t>(keyed)));
    if (fld.FldPic.find('.') != std::string::npos)
        s = Adjdec(s, fld.FldPic);
    else
        s = std::string(static_cast<std::size_t>(fld.FldLen) - s.size(), '0') + s;
    s.resize(static_cast<std::size_t>(fld.FldLen), ' ');
    r.RecBuf.replace(static_cast<std::size_t>(fld.FldStart - 1), s.size(), s);
    scr.CurCol = fld.FldStart + fld.FldLen;
    scr.ShowRange(fld.FldStart, fld.FldLen, m_e.prefs.TextBackColor);
    if (scr.CurCol >= m_e.fmt.RecLen)
        scr.CurCol = m_e.fmt.RecLen;
    scr.FollowCursor();
    AdjDone = 1;
}

void FieldExitRules::AutoInc()
{
    FieldTracker& fld = m_e.fld;
    EntryScreen& scr = m_e.scr;
    const Field& f = m_e.fmt.field(fld.CurFld);
    if (f.Start < 1)
        return;
    const std::string& prev = m_e.rec.OrigRec;
    const std::string v =
        f.Start >= 1 && f.Start <= static_cast<int>(prev.size())
            ? prev.substr(static_cast<std::size_t>(f.Start - 1), static_cast<std::size_t>(f.Len))
            : std::string();
    const auto value = FieldValue(v);
    if (!value || std::fabs(*value) >= 1e15) {
        m_e.surface.hideCaret();
        m_e.MsgBox("Auto Inc  Max field length = 9");
        fld.FieldInfo();
        fld.ShowFieldType();
        scr.FollowCursor();
        return;
    }
    std::string t = ShortestDecimal(*value + 1);
    const auto len = static_cast<std::size_t>(f.Len);
    if (t.size() < len)
        t.insert(0, len - t.size(), '0');
    t = t.substr(t.size() - len);
    m_e.rec.RecBuf.replace(static_cast<std::size_t>(f.Start - 1), len, t);
    scr.CurCol = f.Start + f.Len;
    FieldFilled(f.Start, f.Len, true);
}

void FieldExitRules::FillRecord()
{
    const FormatState& f = m_e.fmt;
    RecordStore& r = m_e.rec;
    EntryScreen& scr = m_e.scr;
    for (int n = 1; n <= f.FieldCount; ++n) {
        const Field& fld = f.field(n);
        const char fill = fld.Typ == 'N' || fld.Typ == 'R' ? '0' : ' ';
        for (int col = fld.Start; col < fld.Start + fld.Len && col < f.RecLen; ++col)
            r.RecBuf[static_cast<std::size_t>(col - 1)] = fill;
    }
    m_e.fld.CurFld = f.FieldCount;
    m_e.fld.FldType = f.field(f.FieldCount).Typ;
    scr.CurCol = f.RecLen;
    // Shown filled, with the cursor on the end position: the next key completes it.
    scr.ShowRange(1, f.RecLen - 1, m_e.prefs.TextBackColor);
    scr.FollowCursor();
    m_e.status.DispStatus();
}
