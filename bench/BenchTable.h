#pragma once

#include <string>
#include <utility>
#include <vector>

// One Markdown table row per measurement: p50 and p99 of the samples and of an anchor
// measured in the same run, their ratio, the target and whether it was met.
class BenchTable
{
public:
    enum class Unit { Seconds, Megabytes };

    struct Row {
        Row(std::string measured, std::string anchoredBy)
            : name(std::move(measured)), anchorName(std::move(anchoredBy))
        {
        }
        std::string name;
        std::vector<double> samples;
        std::string anchorName;
        std::vector<double> anchor;
        Unit unit = Unit::Seconds;
        std::string target;    // shown as given
        double ratioLimit = 0; // pass when ratio <= ratioLimit, if set
        double p50Limit = 0;   // pass when p50 <= p50Limit, if set
        double p99Limit = 0;   // pass when p99 <= p99Limit, if set
        std::string note;      // appended to the name, e.g. the sample count
    };

    // Nearest-rank percentile, q in (0, 1]; 0 for no samples.
    static double Percentile(std::vector<double> samples, double q);
    static std::string Format(double value, Unit unit);

    // The column header lines of the table.
    static void PrintHeader();
    // Prints the row at once, so that a long run shows its rows as they come.
    static void Print(const Row& row);
};
