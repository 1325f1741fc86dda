// Times opening a small and a large data file the way the program does, and reading a
// format out of a FILE.FMT holding many. Opening reads only the first line and the last
// record, so the large file should open about as fast as the small one.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <unistd.h>

#include "common/Result.h"
#include "common/SystemFileIo.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "formats/FormatLoader.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

namespace fs = std::filesystem;

constexpr int RecLen = 60;
constexpr int SlotLen = RecLen + 2;
constexpr std::int64_t SmallRecords = 16;                    // 992 bytes
constexpr std::int64_t LargeRecords = 100'000'000 / SlotLen; // just under 100 MB
constexpr std::int64_t ChunkRecords = 16'384;                // about 1 MB per write
constexpr int ManyFormats = 50;

const char* const OpenSmall = "Open/1KB";
const char* const OpenLarge = "Open/100MB";

// Record n: its number in ten digits, filler, and the format letter of format 1.
std::string RecordText(std::int64_t n)
{
    std::string r(RecLen, 'x');
    for (int i = 9; i >= 0; --i, n /= 10)
        r[static_cast<std::size_t>(i)] = static_cast<char>('0' + n % 10);
    r.back() = 'a';
    return r;
}

Result<void> WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        return Error{"cannot write " + path.string()};
    return {};
}

// Writes records 1..count about 1 MB at a time, each chunk built whole in one buffer.
Result<void> WriteDataFile(const fs::path& path, std::int64_t count)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    for (std::int64_t first = 1; first <= count && out; first += ChunkRecords) {
        const std::int64_t n = std::min(ChunkRecords, count - first + 1);
        chunk.clear();
        for (std::int64_t i = 0; i < n; ++i)
            chunk += RecordText(first + i) + "\r\n";
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    if (!out.flush())
        return Error{"cannot write " + path.string()};
    return {};
}

std::string BenchFormatFile()
{
    const std::string fmtLine =
        std::string(10, 'N') + std::string(20, 'A') + std::string(29, 'X') + "E";
    const std::string heading = "RECORD NO. NAME" + std::string(RecLen - 16, '_') + "|";
    return "BENCH\r\n" + fmtLine + "\r\n" + heading + "\r\n";
}

// Fifty formats of one to three pairs, with separator lines between them.
std::string ManyFormatsFile()
{
    std::string text;
    for (int f = 1; f <= ManyFormats; ++f) {
        const int pairs = 1 + f % 3;
        const int len = 40 + f;
        char name[16];
        std::snprintf(name, sizeof name, "FMT%02d/%d", f, pairs);
        text += std::string(name) + "\r\n";
        for (int p = 1; p <= pairs; ++p) {
            const std::string fmtLine =
                "NNNN----" + std::string(static_cast<std::size_t>(len - 13), 'A') + "...." + "E";
            text += fmtLine + "\r\n" + std::string(static_cast<std::size_t>(len), 'H') + "\r\n";
        }
        text += std::string(20, '*') + "\r\n";
    }
    return text;
}

// The folder of generated files; removed with everything in it when the run ends.
class BenchFolder
{
public:
    static Result<BenchFolder> Make()
    {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "korvalen-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return Error{"cannot make a folder from " + pattern};
        BenchFolder folder(pattern);
        fs::create_directory(folder.formats(), ec);
        if (auto r = WriteText(folder.path / "FILE.FMT", BenchFormatFile()); !r)
            return r.error();
        if (auto r = WriteText(folder.formats() / "FILE.FMT", ManyFormatsFile()); !r)
            return r.error();
        if (auto r = WriteDataFile(folder.small(), SmallRecords); !r)
            return r.error();
        if (auto r = WriteDataFile(folder.large(), LargeRecords); !r)
            return r.error();
        return folder;
    }

    BenchFolder(BenchFolder&& other) noexcept : path(std::move(other.path)) { other.path.clear(); }
    BenchFolder& operator=(BenchFolder&&) = delete;
    ~BenchFolder()
    {
        std::error_code ec;
        if (!path.empty())
            fs::remove_all(path, ec);
    }

    fs::path small() const { return path / "small.dat"; }
    fs::path large() const { return path / "large.dat"; }
    fs::path formats() const { return path / "formats"; }

    fs::path path;

private:
    explicit BenchFolder(fs::path p) : path(std::move(p)) {}
};

// Opens dataFile through the engine once per iteration and closes it again untimed.
void BenchOpen(benchmark::State& state, const fs::path& folder, const fs::path& dataFile,
               std::int64_t records)
{
    ScreenModel screen;
    ScriptedDialogs dialogs;
    MemorySettingsStore store;
    Engine e(screen, dialogs, store, folder);
    e.Form_Load();
    e.file.DataPath = folder.string();
    if (!e.file.LoadFormat("BENCH")) {
        state.SkipWithError("format BENCH did not load");
        return;
    }
    dialogs.boxes.clear(); // Form_Load misses the status-bar picture; that is expected here

    // One untimed opening checks that the whole path ran and warms the file cache.
    e.file.OpenDataFile(dataFile.string());
    const bool opened = e.scr.RecordShown && e.rec.CurRec == records + 1 &&
                        e.rec.OrigRec == RecordText(records) && dialogs.boxes.empty();
    e.file.mnuClose_Click();
    if (!opened) {
        state.SkipWithError("the data file did not open as a whole run of records");
        return;
    }
    for (auto _ : state) {
        e.file.OpenDataFile(dataFile.string());
        state.PauseTiming();
        const bool shown = e.scr.RecordShown;
        e.file.mnuClose_Click();
        state.ResumeTiming();
        if (!shown) {
            state.SkipWithError("the data file was not set up for keying");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(dataFile));
}

void BenchLoadFormat(benchmark::State& state, const fs::path& fmtFile)
{
    char name[8];
    std::snprintf(name, sizeof name, "FMT%02d", static_cast<int>(state.range(0)));
    SystemFileIo io;
    for (auto _ : state) {
        auto def = FormatLoader::LoadFormat(io, fmtFile, name);
        if (!def) {
            state.SkipWithError(def.error().message.c_str());
            break;
        }
        benchmark::DoNotOptimize(def);
    }
}

// Shows the runs as usual and keeps each benchmark's real time per iteration, in seconds.
class TimeKeeper : public benchmark::ConsoleReporter
{
public:
    TimeKeeper() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions the median stands for the benchmark.
            const bool counts = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
            if (counts)
                seconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }

    std::map<std::string, double> seconds;
};

void PrintRatio(const TimeKeeper& keeper)
{
    const auto small = keeper.seconds.find(OpenSmall);
    const auto large = keeper.seconds.find(OpenLarge);
    if (small == keeper.seconds.end() || large == keeper.seconds.end() || small->second <= 0) {
        std::cout << "\nOpen 100 MB / open 1 KB: not measured in this run\n";
        return;
    }
    std::printf("\nOpen 1 KB: %.2f us, open 100 MB: %.2f us, ratio 100 MB / 1 KB: %.3f\n",
                small->second * 1e6, large->second * 1e6, large->second / small->second);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    auto made = BenchFolder::Make();
    if (!made) {
        std::cerr << "open_bench: " << made.error().message << '\n';
        return 1;
    }
    const BenchFolder folder = std::move(made).value();
    const fs::path root = folder.path, small = folder.small(), large = folder.large();

    benchmark::RegisterBenchmark(
        OpenSmall, [=](benchmark::State& s) { BenchOpen(s, root, small, SmallRecords); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        OpenLarge, [=](benchmark::State& s) { BenchOpen(s, root, large, LargeRecords); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "LoadFormat",
        [fmt = folder.formats() / "FILE.FMT"](benchmark::State& s) { BenchLoadFormat(s, fmt); })
        ->Arg(1)
        ->Arg(ManyFormats / 2)
        ->Arg(ManyFormats)
        ->Unit(benchmark::kMicrosecond);

    TimeKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    benchmark::Shutdown();
    PrintRatio(keeper);
    return 0;
}
