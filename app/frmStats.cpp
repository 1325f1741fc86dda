#include "app/frmStats.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include "stats/KeyingCounts.h"
#include "stats/KeyingStats.h"

namespace
{

std::string Count(std::int64_t n)
{
    return std::to_string(n);
}

std::string HoursMinutesSeconds(std::int64_t ms)
{
    const long long s = ms / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return buf;
}

// Each figure's text; the rates with as many places as the statistics log gives them.
struct Figure {
    const char* name;
    const char* label;
    std::string (*text)(const KeyingCounts&);
};
constexpr Figure Figures[frmStats::FigureCount] = {
    {"Keystrokes", "Keystrokes", [](const KeyingCounts& c) { return Count(c.keystrokes); }},
    {"Stored", "Records stored", [](const KeyingCounts& c) { return Count(c.stored); }},
    {"Corrected", "Records corrected", [](const KeyingCounts& c) { return Count(c.corrected); }},
    {"Verified", "Records verified", [](const KeyingCounts& c) { return Count(c.verified); }},
    {"Mismatches", "Verify mismatches", [](const KeyingCounts& c) { return Count(c.mismatches); }},
    {"Replaced", "Characters replaced", [](const KeyingCounts& c) { return Count(c.replaced); }},
    {"Refused", "Keys refused", [](const KeyingCounts& c) { return Count(c.refused); }},
    {"KeyingTime", "Keying time",
     [](const KeyingCounts& c) { return HoursMinutesSeconds(c.keyingMs); }},
    {"KeystrokesPerHour", "Keystrokes per hour",
     [](const KeyingCounts& c) { return StatsColumns::Fixed(c.keystrokesPerHour(), 0); }},
    {"RecordsPerHour", "Records per hour",
     [](const KeyingCounts& c) { return StatsColumns::Fixed(c.recordsPerHour(), 1); }},
    {"RefusedPer1000", "Refused per 1,000 keystrokes",
     [](const KeyingCounts& c) { return StatsColumns::Fixed(c.refusedPerThousand(), 2); }},
    {"ReplacedPer1000", "Replaced per 1,000 keystrokes",
     [](const KeyingCounts& c) { return StatsColumns::Fixed(c.replacedPerThousand(), 2); }},
};

// A label is set only when its text moved, so an unchanged figure costs no repaint.
void Show(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

QDateTime At(double msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(msSinceEpoch));
}

} // namespace

frmStats::frmStats(const KeyingStats& stats, QWidget* parent) : SideWindow(parent), m_stats(stats)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Statistics"));
    // Nothing here is typed into: the window never takes the keyboard.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("<b>Session</b>"), this), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("<b>Open file</b>"), this), 0, 2, Qt::AlignRight);
    for (int i = 0; i < FigureCount; ++i) {
        const Figure& f = Figures[i];
        grid->addWidget(new QLabel(QString::fromLatin1(f.label), this), i + 1, 0);
        const auto n = static_cast<std::size_t>(i);
        for (auto [column, prefix, at] :
             {std::tuple{&m_session, "Session", 1}, std::tuple{&m_file, "File", 2}}) {
            auto* value = new QLabel(this);
            value->setObjectName(QLatin1String(prefix) + QLatin1String(f.name));
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(value, i + 1, at);
            (*column)[n] = value;
        }
    }
    grid->setColumnStretch(0, 1);
    grid->setHorizontalSpacing(24);
    layout->addLayout(grid);

    m_series = new QLineSeries;
    auto* chart = new QChart;
    chart->addSeries(m_series);
    chart->legend()->hide();
    chart->setTitle(QStringLiteral("Keystrokes per hour, in five-minute steps"));
    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setFormat(QStringLiteral("hh:mm"));
    m_timeAxis->setRange(At(stepX(0)), At(stepX(1)));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_series->attachAxis(m_timeAxis);
    m_rateAxis = new QValueAxis;
    m_rateAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_rateAxis->setRange(0, 1000);
    chart->addAxis(m_rateAxis, Qt::AlignLeft);
    m_series->attachAxis(m_rateAxis);
    m_chartView = new QChartView(chart, this);
    m_chartView->setObjectName(QStringLiteral("StepChart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setFocusPolicy(Qt::NoFocus);
    m_chartView->setMinimumHeight(220);
    layout->addWidget(m_chartView, 1);
    resize(440, 600);
}

void frmStats::refresh()
{
    const std::uint64_t revision = m_stats.revision();
    if (m_shownRevision == revision)
        return;
    m_shownRevision = revision;
    showFigures(m_session, &m_stats.session());
    // The counts of a file closed stay in the engine until the next opening; they are no
    // longer the open file's.
    showFigures(m_file, m_stats.FileOpen() ? &m_stats.file() : nullptr);
    followSteps();
}

void frmStats::showFigures(const Column& column, const KeyingCounts* counts)
{
    for (std::size_t i = 0; i < column.size(); ++i)
        Show(column[i],
             counts ? QString::fromStdString(Figures[i].text(*counts)) : QStringLiteral("\u2013"));
}

double frmStats::stepX(std::size_t step) const
{
    const auto stepMs = static_cast<double>(KeyingStats::StepMs);
    return static_cast<double>(m_stats.sessionStart()) * 1000.0 +
           static_cast<double>(step) * stepMs;
}

void frmStats::followSteps()
{
    const std::vector<KeyingStats::Step>& steps = m_stats.steps();
    const auto shown = static_cast<std::size_t>(m_series->count());
    if (steps.size() < shown)
        return;
    // The step drawn last went on since, and may be over now: its point moves, and the
    // steps begun since are added after it.
    if (shown > 0) {
        const auto last = static_cast<int>(shown - 1);
        const double rate = KeyingStats::StepRate(steps[shown - 1]);
        if (m_series->at(last).y() != rate)
            m_series->replace(last, stepX(shown - 1), rate);
    }
    for (std::size_t i = shown; i < steps.size(); ++i)
        m_series->append(stepX(i), KeyingStats::StepRate(steps[i]));
    if (steps.empty())
        return;
    for (std::size_t i = shown > 0 ? shown - 1 : 0; i + 1 < steps.size(); ++i)
        m_finishedPeak = std::max(m_finishedPeak, KeyingStats::StepRate(steps[i]));
    if (steps.size() != shown)
        m_timeAxis->setRange(At(stepX(0)), At(stepX(steps.size())));
    const double top = std::max(m_finishedPeak, KeyingStats::StepRate(steps.back()));
    if (top != m_shownTop) {
        m_shownTop = top;
        m_rateAxis->setRange(0, top > 0 ? top * 1.1 : 1000);
        m_rateAxis->applyNiceNumbers();
    }
}
