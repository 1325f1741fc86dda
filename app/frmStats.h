#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/SideWindow.h"

class KeyingStats;
struct KeyingCounts;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QValueAxis;

// Tools > Statistics: the operator's figures for the session and for the open file, and
// the session's keystrokes per hour in five-minute steps. The figures live in the engine,
// so closing and opening the window again loses nothing. A figure's labels are named
// "Session" and "File" followed by the figure's name (SessionKeystrokes, FileKeyingTime).
class frmStats : public SideWindow
{
    Q_OBJECT

public:
    static constexpr int FigureCount = 12;

    frmStats(const KeyingStats& stats, QWidget* parent);

protected:
    void refresh() override;

private:
    using Column = std::array<QLabel*, FigureCount>;
    static void showFigures(const Column& column, const KeyingCounts* counts);
    void followSteps();
    double stepX(std::size_t step) const;

    const KeyingStats& m_stats;
    Column m_session{};
    Column m_file{};
    QChartView* m_chartView = nullptr;
    QLineSeries* m_series = nullptr;
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_rateAxis = nullptr;
    double m_finishedPeak = 0; // the highest rate of the steps that are over
    double m_shownTop = -1;
    std::optional<std::uint64_t> m_shownRevision;
};
