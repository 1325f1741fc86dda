#include "batch/OpenFileTotals.h"

#include <utility>

#include "batch/LineReader.h"
#include "batch/TotalledField.h"
#include "engine/Engine.h"

namespace
{

std::string Label(const LayoutField& f, const PairLayout& pair, bool severalPairs)
{
    std::string label = f.name + " (" + std::to_string(f.start);
    if (f.len > 1)
        label += "-" + std::to_string(f.start + f.len - 1);
    label += ")";
    if (severalPairs)
        label += ", format " + std::to_string(pair.letter - 'a' + 1);
    return label;
}

} // namespace

OpenFileTotals::OpenFileTotals(Engine& e)
    : m_e(e), m_files(e.file.OnEvent.add([this](DataFileLifecycle::Event event) {
          event == DataFileLifecycle::Event::SetUp ? setUp() : closed();
      })),
      m_slots(e.rec.OnChange.add([this](const RecordStore::Change& c) { changed(c); }))
{
    if (m_e.file.ReadyForKeying())
        setUp();
}

void OpenFileTotals::setUp()
{
    m_open = true;
    m_path = m_e.file.DataFilePath;
    m_format = m_e.fmt.FmtName;
    m_layout = RecordLayout::Of(m_e.fmt);
    m_choices.clear();
    const bool several = m_layout.pairs().size() > 1;
    for (const PairLayout& pair : m_layout.pairs())
        for (const LayoutField& f : pair.fields)
            if (TotalledField::Qualifies(f))
                m_choices.push_back({pair.letter, f.number, Label(f, pair, several)});
    m_chosen = m_choices.empty() ? -1 : 0;
    for (std::size_t i = 0; m_wanted && i < m_choices.size(); ++i)
        if (m_choices[i] == *m_wanted)
            m_chosen = static_cast<int>(i);
    m_running.reset();
    m_stale = true;
    tell();
}

void OpenFileTotals::closed()
{
    m_open = false;
    m_path.clear();
    m_format.clear();
    m_choices.clear();
    m_chosen = -1;
    m_running.reset();
    m_readError.reset();
    m_stale = false;
    tell();
}

void OpenFileTotals::choose(int index)
{
    if (index < 0 || index >= static_cast<int>(m_choices.size()) || index == m_chosen)
        return;
    m_chosen = index;
    m_wanted = m_choices[static_cast<std::size_t>(index)];
    m_running.reset();
    m_stale = true;
    tell();
}

void OpenFileTotals::changed(const RecordStore::Change& change)
{
    // Before the first read the file holds the change already.
    if (!m_running || m_stale)
        return;
    if (!m_running->apply(change))
        m_stale = true;
    tell();
}

void OpenFileTotals::update()
{
    if (!std::exchange(m_stale, false))
        return;
    m_running.reset();
    m_readError.reset();
    if (m_chosen < 0)
        return;
    const Choice& c = m_choices[static_cast<std::size_t>(m_chosen)];
    const PairLayout& pair = *m_layout.pairOf(c.pair);
    RunningTotals running(
        TotalledField(m_layout.recLen(), pair, pair.fields[static_cast<std::size_t>(c.field - 1)]));
    auto in = LineReader::Open(m_e.io, m_path);
    const auto loaded = in ? running.load(in.value()) : Result<void>(in.error());
    if (!loaded) {
        m_readError = loaded.error();
        return;
    }
    m_running = std::move(running);
}

Result<Totals> OpenFileTotals::figures() const
{
    if (m_readError)
        return Error{"The data file could not be read: " + m_readError->message + "."};
    if (!m_running)
        return Error{m_open ? "The totals are not counted yet." : "No data file is open."};
    return m_running->totals();
}

void OpenFileTotals::tell() const
{
    if (OnChange)
        OnChange();
}
