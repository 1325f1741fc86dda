// The core rows of scripts/bench: opening, keying, durable completion, insert and delete in
// a large file, Cut, and peak memory. Prints Markdown rows only; scripts/bench adds the header.
// Run as: table_bench header|open|keying|complete|insdel|cut|memory FOLDER
//         table_bench --peak FOLDER DATAFILE RECORDS   (the child measured by "memory")

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchStation.h"
#include "bench/BenchTable.h"

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Len = BenchStation::RecLen;
constexpr std::int64_t SmallRecords = 1024 / (Len + 2); // about 1 KB
constexpr std::int64_t LargeRecords = 100'000'000 / (Len + 2);
constexpr std::int64_t MillionRecords = 1'000'000;
constexpr std::int64_t GigabyteRecords = 1'000'000'000 / (Len + 2);
constexpr int Openings = 200;
constexpr int KeyedRecords = 200;
constexpr int Completions = 200;
constexpr int InsDelRounds = 3;
constexpr int MemoryRecords = 1000;
constexpr int MemoryRuns = 3;
constexpr int CutRuns = 5;

double Since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Keeps the compiler from dropping the work whose result lands at p.
void Keep(const void* p)
{
    asm volatile("" : : "r"(p) : "memory");
}

[[noreturn]] void Fail(const std::string& what)
{
    std::cerr << "table_bench: " << what << '\n';
    std::exit(1);
}

fs::path Generated(const fs::path& folder, const std::string& name, std::int64_t records)
{
    const fs::path p = folder / name;
    if (!BenchStation::WriteDataFile(p, records))
        Fail("cannot write " + p.string());
    return p;
}

// Opening through the engine, small and large alternating, closing untimed.
void RowOpen(const fs::path& folder)
{
    const fs::path small = Generated(folder, "open-1k.dat", SmallRecords);
    const fs::path large = Generated(folder, "open-100m.dat", LargeRecords);
    BenchStation s(folder);
    s.e.file.DataPath = folder.string();
    if (!s.e.file.LoadFormat("BENCH80"))
        Fail("format BENCH80 did not load");
    BenchTable::Row row("a. open 100 MB data file", "open 1 KB data file");
    for (int i = 0; i < Openings; ++i) {
        for (const bool big : {false, true}) {
            const auto t0 = Clock::now();
            s.e.file.OpenDataFile((big ? large : small).string());
            const double t = Since(t0);
            const bool ok =
                s.e.scr.RecordShown && s.e.rec.CurRec == (big ? LargeRecords : SmallRecords) + 1;
            s.e.file.mnuClose_Click();
            if (!ok || !s.dialogs.boxes.empty())
                Fail("a data file did not open as a whole run of records");
            (big ? row.samples : row.anchor).push_back(t);
        }
    }
    row.note = std::to_string(Openings) + " each";
    row.target = "ratio ≤ 2";
    row.ratioLimit = 2;
    BenchTable::Print(row);
    fs::remove(small);
    fs::remove(large);
}

// Each key of 200 records timed alone, next to copying a record-length string.
void RowKeying(const fs::path& folder)
{
    const fs::path data = Generated(folder, "keying.dat", 0);
    BenchStation s(folder);
    if (!s.open(data))
        Fail("keying.dat did not open");
    const std::string record = BenchStation::RecordText(7);
    BenchTable::Row row("b. engine cost per keystroke", "copy an 80-char std::string");
    for (int r = 0; r < KeyedRecords; ++r) {
        for (int i = 0; i < Len - 1; ++i) {
            const KeyStroke k = KeyNames::ForChar(BenchStation::TypedChar(i)).value();
            auto t0 = Clock::now();
            s.press(k);
            row.samples.push_back(Since(t0));
            t0 = Clock::now();
            std::string copy = record;
            Keep(copy.data());
            row.anchor.push_back(Since(t0));
        }
    }
    if (s.e.rec.EndRec != KeyedRecords + 1 || !s.dialogs.boxes.empty())
        Fail("keying did not store every record");
    row.note = std::to_string(row.samples.size()) + " keys, completions included";
    row.target = "p50 ≤ 20 µs";
    row.p50Limit = 20e-6;
    BenchTable::Print(row);
    s.e.file.mnuClose_Click();
    fs::remove(data);
}

// The key that completes a record, next to a raw pwrite of one slot and fdatasync in a file
// of the same folder.
void RowComplete(const fs::path& folder)
{
    const fs::path data = Generated(folder, "complete.dat", 0);
    const fs::path raw = Generated(folder, "raw.dat", Completions);
    const int fd = ::open(raw.c_str(), O_WRONLY);
    if (fd < 0)
        Fail("cannot open " + raw.string());
    BenchStation s(folder);
    if (!s.open(data))
        Fail("complete.dat did not open");
    const std::string slot = BenchStation::RecordText(3) + "\r\n";
    BenchTable::Row row("d. record-completing keystroke", "pwrite one slot + fdatasync");
    for (int r = 0; r < Completions; ++r) {
        for (int i = 0; i < Len - 2; ++i)
            s.pressChar(BenchStation::TypedChar(i));
        const KeyStroke last = KeyNames::ForChar(BenchStation::TypedChar(Len - 2)).value();
        auto t0 = Clock::now();
        s.press(last);
        row.samples.push_back(Since(t0));
        if (s.e.rec.EndRec != r + 2)
            Fail("the last key did not complete the record");
        t0 = Clock::now();
        const auto at = static_cast<off_t>(r) * static_cast<off_t>(slot.size());
        if (::pwrite(fd, slot.data(), slot.size(), at) != static_cast<ssize_t>(slot.size()) ||
            ::fdatasync(fd) != 0)
            Fail("raw write failed");
        row.anchor.push_back(Since(t0));
    }
    ::close(fd);
    row.note = std::to_string(Completions) + " records";
    row.target = "ratio ≤ 1.5";
    row.ratioLimit = 1.5;
    BenchTable::Print(row);
    s.e.file.mnuClose_Click();
    fs::remove(data);
    fs::remove(raw);
}

double TimedCopy(const fs::path& from, const fs::path& to)
{
    const std::string cmd =
        "cp '" + from.string() + "' '" + to.string() + "' && sync '" + to.string() + "'";
    const auto t0 = Clock::now();
    if (std::system(cmd.c_str()) != 0)
        Fail("cp and sync failed");
    const double t = Since(t0);
    fs::remove(to);
    return t;
}

// Insert and delete at record 1 of a million records, each next to cp + sync of the file.
void RowInsDel(const fs::path& folder)
{
    const fs::path data = Generated(folder, "million.dat", MillionRecords);
    const fs::path copy = folder / "million-copy.dat";
    BenchStation s(folder);
    if (!s.open(data))
        Fail("million.dat did not open");
    BenchTable::Row ins("e. insert at record 1 of 1,000,000", "cp + sync of the file");
    BenchTable::Row del("e. delete record 1 of 1,000,000", "cp + sync of the file");
    const KeyStroke home = KeyNames::Parse("Ctrl+Home").value();
    for (int r = 0; r < InsDelRounds; ++r) {
        ins.anchor.push_back(TimedCopy(data, copy));
        s.press(home);
        s.dialogs.answers.push_back(Dialogs::Answer::Yes);
        auto t0 = Clock::now();
        s.e.rec.mnuInsRec_Click();
        for (int i = 0; i < Len - 1; ++i)
            s.pressChar(BenchStation::TypedChar(i));
        ins.samples.push_back(Since(t0));
        if (s.e.rec.EndRec != MillionRecords + 2)
            Fail("the insert did not add a record");

        del.anchor.push_back(TimedCopy(data, copy));
        s.press(home);
        s.dialogs.answers.push_back(Dialogs::Answer::Yes);
        t0 = Clock::now();
        s.e.rec.mnuDelRec_Click();
        del.samples.push_back(Since(t0));
        if (s.e.rec.EndRec != MillionRecords + 1)
            Fail("the delete did not remove a record");
    }
    s.e.file.mnuClose_Click();
    if (fs::file_size(data) != static_cast<std::uintmax_t>(MillionRecords * (Len + 2)))
        Fail("the file does not hold a million records after the run");
    for (BenchTable::Row* row : {&ins, &del}) {
        row->note = std::to_string(InsDelRounds) + " runs";
        row->target = "ratio ≤ 1.5";
        row->ratioLimit = 1.5;
        BenchTable::Print(*row);
    }
    fs::remove(data);
}

double TimedShell(const std::string& cmd)
{
    const auto t0 = Clock::now();
    if (std::system(cmd.c_str()) != 0)
        Fail("failed: " + cmd);
    return Since(t0);
}

// Tools > Cut of 100 MB next to cut(1) and cat(1) writing the same file; all three end
// with their output on the disk.
void RowCut(const fs::path& folder)
{
    const fs::path data = Generated(folder, "cut-100m.dat", LargeRecords);
    const fs::path out = folder / "cut-100m.fil";
    const fs::path tool = folder / "cut-100m.tool";
    const std::string in = "'" + data.string() + "'", to = "'" + tool.string() + "'";
    BenchStation s(folder);
    BenchTable::Row vsCut("g. Cut of a 100 MB data file", "cut -c1-79,81 + sync");
    BenchTable::Row vsCat("g. Cut of a 100 MB data file", "cat + sync");
    for (int r = 0; r < CutRuns; ++r) {
        fs::remove(out);
        const auto t0 = Clock::now();
        const auto done = s.e.cut.RemoveLastCharacters(data.string(), out.string());
        const double t = Since(t0);
        if (!done || !done.value())
            Fail("Cut failed: " + (done ? std::string("cancelled") : done.error().message));
        vsCut.samples.push_back(t);
        vsCat.samples.push_back(t);
        fs::remove(tool);
        vsCut.anchor.push_back(TimedShell("cut -c1-79,81 " + in + " >" + to + " && sync " + to));
        fs::remove(tool);
        vsCat.anchor.push_back(TimedShell("cat " + in + " >" + to + " && sync " + to));
    }
    fs::remove(tool);
    if (std::system(("sed 's/.\\r$/\\r/' " + in + " | cmp -s - '" + out.string() + "'").c_str()) !=
        0)
        Fail("the Cut copy differs from sed's");
    for (BenchTable::Row* row : {&vsCut, &vsCat}) {
        row->note = std::to_string(CutRuns) + " runs, LC_ALL=C";
        row->target = row == &vsCut ? "ratio ≤ 1" : "ratio ≤ 2";
        row->ratioLimit = row == &vsCut ? 1 : 2;
        BenchTable::Print(*row);
    }
    fs::remove(data);
    fs::remove(out);
}

// Child: opens the file, keys records at its end and exits; its peak is read by the parent.
int PeakChild(const fs::path& folder, const fs::path& data, int records)
{
    BenchStation s(folder);
    if (!s.open(data))
        return 2;
    s.press(KeyNames::Parse("Ctrl+End").value());
    const std::int32_t first = s.e.rec.EndRec;
    for (int r = 0; r < records; ++r)
        for (int i = 0; i < Len - 1; ++i)
            s.pressChar(BenchStation::TypedChar(i));
    const bool keyedAll = s.e.rec.EndRec - first == records && s.dialogs.boxes.empty();
    s.e.file.mnuClose_Click();
    return keyedAll ? 0 : 3;
}

// Peak resident memory of one child, in MB.
double PeakOf(const char* self, const fs::path& folder, const fs::path& data)
{
    const std::string records = std::to_string(MemoryRecords);
    const std::string f = folder.string(), d = data.string();
    std::vector<char*> argv{const_cast<char*>(self),
                            const_cast<char*>("--peak"),
                            const_cast<char*>(f.c_str()),
                            const_cast<char*>(d.c_str()),
                            const_cast<char*>(records.c_str()),
                            nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, self, nullptr, nullptr, argv.data(), environ) != 0)
        Fail("cannot start the child");
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail("the child keying " + d + " failed");
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KB
}

void RowMemory(const char* self, const fs::path& folder)
{
    const fs::path big = Generated(folder, "gigabyte.dat", GigabyteRecords);
    const fs::path tiny = Generated(folder, "tiny.dat", SmallRecords);
    BenchTable::Row row("f. peak memory, 1 GB file open + 1,000 records keyed",
                        "same with a 1 KB file");
    row.unit = BenchTable::Unit::Megabytes;
    for (int r = 0; r < MemoryRuns; ++r) {
        row.samples.push_back(PeakOf(self, folder, big));
        row.anchor.push_back(PeakOf(self, folder, tiny));
    }
    row.note = std::to_string(MemoryRuns) + " child runs, ru_maxrss";
    row.target = "p99 ≤ 60 MB";
    row.p99Limit = 60;
    BenchTable::Print(row);
    fs::remove(big);
    fs::remove(tiny);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--peak")
        return PeakChild(argv[2], argv[3], std::atoi(argv[4]));
    if (argc != 3) {
        std::cerr << "usage: table_bench header|open|keying|complete|insdel|cut|memory FOLDER\n";
        return 1;
    }
    const std::string what = argv[1];
    const fs::path folder = argv[2];
    if (what == "header") {
        BenchTable::PrintHeader();
        return 0;
    }
    BenchStation::WriteAppFolder(folder, DEMO_DATA_DIR);
    if (what == "open")
        RowOpen(folder);
    else if (what == "keying")
        RowKeying(folder);
    else if (what == "complete")
        RowComplete(folder);
    else if (what == "insdel")
        RowInsDel(folder);
    else if (what == "cut")
        RowCut(folder);
    else if (what == "memory")
        RowMemory(argv[0], folder);
    else
        Fail("no such row: " + what);
    return 0;
}
