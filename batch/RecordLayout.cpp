#include "batch/RecordLayout.h"

#include <algorithm>
#include <set>
#include <utility>

#include "formats/FormatLoader.h"
#include "formats/FormatState.h"

namespace
{

int Overlap(int from, int to, const LayoutField& f)
{
    return std::max(0, std::min(to, f.start + f.len - 1) - std::max(from, f.start) + 1);
}

// Names repeated within a pair get their field number, so every column has its own.
void MakeUnique(std::vector<LayoutField>& fields)
{
    std::set<std::string> seen;
    for (LayoutField& f : fields) {
        if (!seen.insert(f.name).second)
            f.name += "_" + std::to_string(f.number);
    }
}

} // namespace

RecordLayout RecordLayout::Of(const FormatDef& def)
{
    FormatState state;
    FormatLoader::Apply(def, state);
    return Of(std::move(state));
}

RecordLayout RecordLayout::Of(FormatState state)
{
    RecordLayout layout;
    layout.m_recLen = state.RecLen;
    for (int pair = 1; pair <= state.FmtCount; ++pair) {
        state.FmtNo = pair;
        state.BuildFieldTable();
        PairLayout p;
        p.letter = state.formatLetter();
        p.formatLine = state.FmtLine;
        for (int n = 1; n <= state.FieldCount; ++n) {
            const Field& f = state.field(n);
            LayoutField lf{n, f.Start, f.Len, f.Typ, {}, {}};
            if (f.Start >= 1 && f.Start <= static_cast<int>(p.formatLine.size()))
                lf.picture = p.formatLine.substr(static_cast<std::size_t>(f.Start - 1),
                                                 static_cast<std::size_t>(f.Len));
            p.fields.push_back(std::move(lf));
        }
        const auto names = Names(p.fields, state.HeadLines[static_cast<std::size_t>(pair)]);
        for (std::size_t i = 0; i < p.fields.size(); ++i)
            p.fields[i].name = names[i];
        MakeUnique(p.fields);
        layout.m_pairs.push_back(std::move(p));
    }
    return layout;
}

std::vector<std::string> RecordLayout::Names(const std::vector<LayoutField>& fields,
                                             std::string_view heading)
{
    std::vector<std::string> names(fields.size());
    std::size_t i = 0;
    while (i < heading.size()) {
        if (heading[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(heading.find(' ', i), heading.size());
        const int from = static_cast<int>(i) + 1;
        const int to = static_cast<int>(end);
        std::string word(heading.substr(i, end - i));
        i = end;
        while (!word.empty() && word.back() == '.')
            word.pop_back();
        std::size_t best = fields.size();
        int most = 0;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (const int o = Overlap(from, to, fields[k]); o > most) {
                most = o;
                best = k;
            }
        }
        if (word.empty() || best == fields.size())
            continue;
        std::string& name = names[best];
        name += (name.empty() ? "" : " ") + word;
    }
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (names[k].empty())
            names[k] = "F" + std::to_string(fields[k].number);
    }
    return names;
}

const PairLayout* RecordLayout::pairOf(char letter) const
{
    const int n = letter - 'a';
    if (n < 0 || n >= static_cast<int>(m_pairs.size()))
        return nullptr;
    return &m_pairs[static_cast<std::size_t>(n)];
}

std::string RecordLayout::letters() const
{
    std::string s;
    for (const PairLayout& p : m_pairs)
        s += p.letter;
    return s;
}
