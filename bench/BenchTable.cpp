#include "bench/BenchTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double BenchTable::Percentile(std::vector<double> samples, double q)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto n = static_cast<double>(samples.size());
    auto rank = static_cast<std::size_t>(std::ceil(q * n));
    rank = std::clamp<std::size_t>(rank, 1, samples.size());
    return samples[rank - 1];
}

std::string BenchTable::Format(double value, Unit unit)
{
    char buf[32];
    if (unit == Unit::Megabytes) {
        std::snprintf(buf, sizeof buf, "%.1f MB", value);
        return buf;
    }
    if (value < 1e-6)
        std::snprintf(buf, sizeof buf, "%.0f ns", value * 1e9);
    else if (value < 1e-3)
        std::snprintf(buf, sizeof buf, "%.2f µs", value * 1e6);
    else if (value < 1)
        std::snprintf(buf, sizeof buf, "%.2f ms", value * 1e3);
    else
        std::snprintf(buf, sizeof buf, "%.2f s", value);
    return buf;
}

void BenchTable::PrintHeader()
{
    std::printf("| Measurement | p50 | p99 | Anchor | Anchor p50 | Anchor p99 | Ratio (p50) | "
                "Target | Result |\n");
    std::printf("|---|---:|---:|---|---:|---:|---:|---|---|\n");
}

void BenchTable::Print(const Row& row)
{
    const double p50 = Percentile(row.samples, 0.5);
    const double p99 = Percentile(row.samples, 0.99);
    const double a50 = Percentile(row.anchor, 0.5);
    const double a99 = Percentile(row.anchor, 0.99);
    const double ratio = a50 > 0 ? p50 / a50 : 0;
    bool pass = !row.samples.empty() && !row.anchor.empty();
    if (row.ratioLimit > 0)
        pass = pass && ratio <= row.ratioLimit;
    if (row.p50Limit > 0)
        pass = pass && p50 <= row.p50Limit;
    if (row.p99Limit > 0)
        pass = pass && p99 <= row.p99Limit;
    const std::string name = row.note.empty() ? row.name : row.name + " (" + row.note + ")";
    std::printf("| %s | %s | %s | %s | %s | %s | %.2f | %s | %s |\n", name.c_str(),
                Format(p50, row.unit).c_str(), Format(p99, row.unit).c_str(),
                row.anchorName.c_str(), Format(a50, row.unit).c_str(),
                Format(a99, row.unit).c_str(), ratio, row.target.c_str(),
                pass ? "pass" : "**FAIL**");
    std::fflush(stdout);
}
