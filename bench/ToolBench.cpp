// The korvalen-tool rows of scripts/bench: check, export --csv, totals and compare of a
// generated file of 1,000,000 records of 80 characters, each timed beside the awk, cut or
// cmp command that does the nearest plain-text work on the same file, in the same run.
// Run as: tool_bench TOOL FOLDER

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

#include "bench/BenchTable.h"

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Records = 1'000'000;
constexpr int Runs = 5;
// Fields of most types: number, two names, state, ZIP, phone, amount, count, note.
constexpr const char* FormatLine =
    "N-----A-------------------A-----------M-B----P---------R----.--N-------A-------E";
// No four blanks in a row, which would blank the whole heading.
constexpr const char* Heading =
    "CUST# NAME............... CITY....... ST ZIP. PHONE.... AMOUNT. COUNT.. NOTE...";
// The same columns for cut, and the amount's for awk.
constexpr const char* CutColumns = "-c1-6,7-26,27-38,39-40,41-45,46-55,56-63,64-71,72-79";
constexpr const char* AmountSubstr = "substr($0, 56, 8)";

[[noreturn]] void Fail(const std::string& what)
{
    std::cerr << "tool_bench: " << what << '\n';
    std::exit(1);
}

// Writes the records; the last one of the copy differs, so cmp reads both files through.
void WriteData(const fs::path& path, bool lastDiffers)
{
    static const char* const names[] = {"HALVERSON HARDWARE", "BRISTOL STATIONERS",
                                        "MESA GRAIN COOP", "PORTSIDE MARINE"};
    static const char* const cities[] = {"DULUTH", "ROANOKE", "GREELEY", "NORFOLK"};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string block;
    char r[96];
    for (int i = 0; i < Records; ++i) {
        const int amount = lastDiffers && i == Records - 1 ? 99999 : i % 100000;
        std::snprintf(r, sizeof r, "%06d%-20s%-12s%2s%5d%010lld%05d.%02d%08d%-8sa\r\n", i % 1000000,
                      names[i % 4], cities[i % 4], "MN", 10000 + i % 90000, 2187224410LL + i,
                      amount, i % 100, i, "OK");
        block += r;
        if (block.size() > (1 << 20)) {
            out << block;
            block.clear();
        }
    }
    out << block;
    if (!out.flush())
        Fail("cannot write " + path.string());
}

// Seconds a shell command takes, its output thrown away.
double Time(const std::string& command)
{
    const std::string line = command + " >/dev/null";
    const char* argv[] = {"/bin/sh", "-c", line.c_str(), nullptr};
    const auto t0 = Clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        Fail("cannot start /bin/sh");
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    // check and compare exit 1 on faults and differences; anything else is a failure.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        Fail("failed: " + command);
    return s;
}

void RowOf(const std::string& name, const std::string& measured, const std::string& anchorName,
           const std::string& anchor, double limit)
{
    BenchTable::Row row(name, anchorName);
    row.note = std::to_string(Runs) + " runs each";
    Time(measured); // both from a warm page cache
    Time(anchor);
    for (int i = 0; i < Runs; ++i) {
        row.samples.push_back(Time(measured));
        row.anchor.push_back(Time(anchor));
    }
    char target[32];
    std::snprintf(target, sizeof target, "ratio ≤ %.1f", limit);
    row.target = target;
    row.ratioLimit = limit;
    BenchTable::Print(row);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: tool_bench TOOL FOLDER\n";
        return 1;
    }
    const std::string tool = argv[1];
    const fs::path folder = argv[2];
    std::ofstream(folder / "FILE.FMT", std::ios::binary) << "TOOLBENCH\r\n"
                                                         << FormatLine << "\r\n"
                                                         << Heading << "\r\n";
    const fs::path a = folder / "TOOLA.DAT";
    const fs::path b = folder / "TOOLB.DAT";
    WriteData(a, false);
    WriteData(b, true);
    const std::string f = " --format TOOLBENCH";
    const std::string check = tool + " check " + a.string() + f;

    RowOf("h. korvalen-tool check, 1,000,000 records of 80 characters", check,
          "awk 'length($0) != 81 { n++ } END { print n+0 }'",
          "awk 'length($0) != 81 { n++ } END { print n+0 }' " + a.string(), 1.0);
    RowOf("h. korvalen-tool export --csv, same file", tool + " export --csv " + a.string() + f,
          std::string("cut ") + CutColumns + " --output-delimiter=,",
          std::string("cut ") + CutColumns + " --output-delimiter=, " + a.string(), 1.5);
    RowOf("h. korvalen-tool totals --field 7 (R----.--), same file",
          tool + " totals --field 7 " + a.string() + f,
          std::string("awk '{ s += ") + AmountSubstr + " } END { print s }'",
          std::string("awk '{ s += ") + AmountSubstr + " } END { print s }' " + a.string(), 1.0);
    RowOf("h. korvalen-tool compare of two 1,000,000-record files",
          tool + " compare " + a.string() + " " + b.string() + f, "cmp of the two + check",
          "cmp -s " + a.string() + " " + b.string() + "; " + check, 1.5);
    return 0;
}
