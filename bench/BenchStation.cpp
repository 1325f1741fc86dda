#include "bench/BenchStation.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

void BenchStation::WriteAppFolder(const fs::path& folder, const fs::path& demoData)
{
    fs::create_directories(folder);
    const std::string fmtLine = "A" + std::string(RecLen - 2, '-') + "E";
    const std::string heading = "TEXT" + std::string(RecLen - 4, ' ');
    std::ofstream(folder / "FILE.FMT", std::ios::binary | std::ios::trunc)
        << "BENCH80\r\n" + fmtLine + "\r\n" + heading + "\r\n";
    fs::copy_file(demoData / "dupoff.bmp", folder / "dupoff.bmp",
                  fs::copy_options::overwrite_existing);
}

std::string BenchStation::RecordText(std::int64_t n)
{
    std::string r(RecLen, 'x');
    for (int i = 9; i >= 0; --i, n /= 10)
        r[static_cast<std::size_t>(i)] = static_cast<char>('0' + n % 10);
    r.back() = 'a';
    return r;
}

bool BenchStation::WriteDataFile(const fs::path& path, std::int64_t count)
{
    constexpr std::int64_t Chunk = 1'000'000 / (RecLen + 2);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    for (std::int64_t first = 1; first <= count && out; first += Chunk) {
        const std::int64_t n = std::min(Chunk, count - first + 1);
        chunk.clear();
        for (std::int64_t i = 0; i < n; ++i)
            chunk += RecordText(first + i) + "\r\n";
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    return static_cast<bool>(out.flush());
}

BenchStation::BenchStation(const fs::path& folder) : e(screen, dialogs, store, folder)
{
    e.LoadSettings();
    e.Form_Load();
    dialogs.boxes.clear();
}

bool BenchStation::open(const fs::path& dataFile)
{
    dialogs.openAnswers.push_back(dataFile.string());
    dialogs.chooseEntry(Entry);
    e.file.mnuOpen_Click();
    const bool shown = e.scr.RecordShown && dialogs.boxes.empty();
    dialogs.boxes.clear();
    return shown;
}
