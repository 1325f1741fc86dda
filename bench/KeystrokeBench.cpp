// Times the engine per keystroke, screen model included: keying whole records (so that
// writing each record and setting up the next one is part of the stream), and stepping
// through a file of 10 000 records with Up and Down. Each case prints its median per key.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "common/Result.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/KeyNames.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

namespace fs = std::filesystem;

constexpr int Repetitions = 10;
constexpr int RecordsInStream = 200; // distinct records; the stream repeats after them
constexpr std::int32_t BrowseRecords = 10'000;
constexpr int BrowseRun = 100; // Down presses, then as many Up presses
constexpr double TargetMicros = 20;

const char* const KeyCustomer = "Keying/CUSTOMER";
const char* const KeyOrdersDup = "Keying/ORDERS+DUP";
const char* const Browse = "UpDown/10000records";

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A station as the program runs it: screen model, scripted dialogs, settings in memory and
// a folder of its own holding the shipped FILE.FMT.
class BenchStation
{
public:
    BenchStation()
    {
        app.write("FILE.FMT", ReadText(fs::path(DEMO_DATA_DIR) / "FILE.FMT"));
        app.write("dupoff.bmp", ReadText(fs::path(DEMO_DATA_DIR) / "dupoff.bmp"));
        e.LoadSettings();
        e.Form_Load();
    }

    // File > Open of name in the folder, under the format list entry given.
    Result<void> open(const std::string& name, const std::string& entry)
    {
        dialogs.openAnswers.push_back(app.file(name));
        dialogs.chooseEntry(entry);
        e.file.mnuOpen_Click();
        if (!e.scr.RecordShown)
            return Error{name + " did not open under " + entry};
        dialogs.boxes.clear(); // "Opening New File" for a file keyed from scratch
        return {};
    }

    void press(const KeyStroke& k) { e.keys.Press(k); }

    std::string fileBytes() const { return app.read(DataName); }

    static constexpr const char* DataName = "bench.dat";
    TempDir app;
    ScreenModel screen{800, 560};
    ScriptedDialogs dialogs;
    MemorySettingsStore store;
    Engine e{screen, dialogs, store, app.path()};
};

KeyStroke Named(std::string_view name)
{
    return KeyNames::Parse(name).value();
}

using Keys = std::vector<KeyStroke>;

// The keys that type a field's value: its characters, digits on the numeric pad (the 7
// of the main row is the Duplicate key), then Enter when the value does not fill the field
// (Enter also right-adjusts R and J fields).
void TypeField(Keys& keys, std::string_view value, std::size_t len)
{
    for (const char c : value) {
        const bool digit = c >= '0' && c <= '9';
        keys.push_back(digit ? Named("Pad" + std::string(1, c)) : KeyNames::ForChar(c).value());
    }
    if (value.size() < len)
        keys.push_back(Named("Enter"));
}

constexpr std::array<std::string_view, 8> Names{
    "HALVERSON HARDWARE", "BRISTOL STATIONERS", "MESA GRAIN COOP", "PORTSIDE MARINE",
    "CALLOWAY AND SONS",  "NORTHWIND SUPPLY",   "GREY OWL BOOKS",  "KESTREL FARMS"};
constexpr std::array<std::string_view, 8> Cities{"DULUTH",  "ROANOKE", "GREELEY", "NORFOLK",
                                                 "PADUCAH", "FARGO",   "BANGOR",  "SALINA"};
constexpr std::array<std::string_view, 8> States{"MN", "VA", "CO", "VA", "KY", "ND", "ME", "KS"};
constexpr std::array<std::string_view, 6> Items{"BOLT",    "WASHER", "HINGE",
                                                "BRACKET", "GASKET", "SPRING"};

std::string Digits(long long v, int width)
{
    std::string s(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && v > 0; --i, v /= 10)
        s[static_cast<std::size_t>(i)] = static_cast<char>('0' + v % 10);
    return s;
}

std::string Money(int cents)
{
    return std::to_string(cents / 100) + "." + Digits(cents % 100, 2);
}

// CUSTOMER: N6 number, A20 name, A12 city, M2 state, B5 zip, P10 phone, R8 credit with
// two decimals; Enter on the credit field ends the record.
Keys CustomerRecordKeys(int i)
{
    Keys keys;
    const auto k = static_cast<std::size_t>(i) % Names.size();
    TypeField(keys, Digits(104000 + 37LL * i, 6), 6);
    TypeField(keys, Names[k], 20);
    TypeField(keys, Cities[(k * 3) % Cities.size()], 12);
    TypeField(keys, States[(k * 3) % States.size()], 2);
    TypeField(keys, Digits(10000 + 7919LL * i % 89999, 5), 5);
    TypeField(keys, Digits(2185550000LL + 131LL * i, 10), 10);
    TypeField(keys, Money(50000 + 25000 * (i % 40)), 8);
    return keys;
}

// The first line of an order, keyed whole with DUP off: order, date, customer, line number,
// item, bin, quantity, price, amount, and the skipped field. DUP goes on before the last
// key, so that the next line is set up with the copied fields.
Keys FirstOrderLineKeys()
{
    Keys keys;
    for (const auto& [value, len] :
         std::initializer_list<std::pair<std::string_view, int>>{{"100234", 6},
                                                                 {"240105", 6},
                                                                 {"C1001", 8},
                                                                 {"001", 3},
                                                                 {"WIDGET", 8},
                                                                 {"B7", 4},
                                                                 {"12", 5},
                                                                 {"12.50", 8},
                                                                 {"150.00", 9},
                                                                 {"", 2}})
        TypeField(keys, value, static_cast<std::size_t>(len));
    keys.insert(keys.end() - 1, Named("Ctrl+D"));
    return keys;
}

// ORDERS with DUP on: order, date and customer are copied and the line number counts up,
// so the operator keys item, bin, quantity, price and amount; the skipped field after the
// amount completes the line.
Keys OrderLineKeys(int i)
{
    Keys keys;
    const int qty = 1 + (i * 7) % 40;
    const int cents = 125 + (i * 53) % 5000;
    TypeField(keys, Items[static_cast<std::size_t>(i) % Items.size()], 8);
    TypeField(keys, "B" + std::to_string(1 + i % 9), 4);
    TypeField(keys, std::to_string(qty), 5);
    TypeField(keys, Money(cents), 8);
    TypeField(keys, Money(qty * cents), 9);
    return keys;
}

// A keying session: the format, keys typed untimed first, and the records of the timed
// stream, which repeats after its last record.
struct KeyingCase {
    std::string entry;
    Keys setUpKeys;
    Keys keys;
    std::string storedPrefix;            // what every stored record starts with
    std::vector<std::size_t> recordEnds; // index past each record's last key

    void addRecord(const Keys& record)
    {
        keys.insert(keys.end(), record.begin(), record.end());
        recordEnds.push_back(keys.size());
    }
    double keysPerRecord() const
    {
        return static_cast<double>(keys.size()) / static_cast<double>(recordEnds.size());
    }
    // Records completed after n keys of the repeated stream.
    std::int64_t recordsAfter(std::int64_t n) const
    {
        const auto len = static_cast<std::int64_t>(keys.size());
        const auto rest = static_cast<std::size_t>(n % len);
        std::int64_t done = (n / len) * static_cast<std::int64_t>(recordEnds.size());
        for (const std::size_t end : recordEnds)
            done += end <= rest ? 1 : 0;
        return done;
    }
};

KeyingCase CustomerCase()
{
    KeyingCase c{"CUSTOMER-64", {}, {}, {}, {}};
    for (int i = 0; i < RecordsInStream; ++i)
        c.addRecord(CustomerRecordKeys(i));
    return c;
}

KeyingCase OrdersCase()
{
    KeyingCase c{"ORDERS-60", FirstOrderLineKeys(), {}, "100234240105C1001   ", {}};
    for (int i = 0; i < RecordsInStream; ++i)
        c.addRecord(OrderLineKeys(i));
    return c;
}

// Sets up a station for a keying case: a new data file opened and the set-up keys typed.
Result<void> SetUp(BenchStation& s, const KeyingCase& c)
{
    if (auto r = s.open(BenchStation::DataName, c.entry); !r)
        return r;
    for (const KeyStroke& k : c.setUpKeys)
        s.press(k);
    if (!s.dialogs.boxes.empty())
        return Error{c.entry + ": setting up showed \"" + s.dialogs.boxes.front().text + "\""};
    return {};
}

// Keys the whole stream once in a station of its own: every record must complete on its
// last key, with no message box, and reach the file as one slot.
Result<void> CheckStream(const KeyingCase& c)
{
    BenchStation s;
    if (auto r = SetUp(s, c); !r)
        return r;
    const std::int32_t first = s.e.rec.EndRec;
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
        s.press(c.keys[i]);
        if (!s.dialogs.boxes.empty())
            return Error{c.entry + ": key " + std::to_string(i) + " showed \"" +
                         s.dialogs.boxes.front().text + "\""};
        const auto done = c.recordsAfter(static_cast<std::int64_t>(i) + 1);
        if (s.e.rec.EndRec != first + done)
            return Error{c.entry + ": after key " + std::to_string(i) + " the file holds " +
                         std::to_string(s.e.rec.EndRec - 1) + " records, not " +
                         std::to_string(first - 1 + done)};
    }
    const std::size_t slot = static_cast<std::size_t>(s.e.fmt.RecLen) + 2;
    const std::string bytes = s.fileBytes();
    if (bytes.size() != slot * static_cast<std::size_t>(s.e.rec.EndRec - 1))
        return Error{c.entry + ": the file does not hold one slot per record"};
    for (std::size_t at = 0; at < bytes.size(); at += slot)
        if (bytes.compare(at, c.storedPrefix.size(), c.storedPrefix) != 0)
            return Error{c.entry + ": record " + std::to_string(at / slot + 1) + " starts " +
                         bytes.substr(at, c.storedPrefix.size())};
    return {};
}

void BenchKeying(benchmark::State& state, const KeyingCase& c)
{
    BenchStation s;
    if (auto r = SetUp(s, c); !r) {
        state.SkipWithError(r.error().message.c_str());
        return;
    }
    const std::int32_t first = s.e.rec.EndRec;
    std::size_t next = 0;
    for (auto _ : state) {
        s.press(c.keys[next]);
        if (++next == c.keys.size())
            next = 0;
    }
    const auto keyed = static_cast<std::int64_t>(state.iterations());
    if (s.e.rec.EndRec - first != c.recordsAfter(keyed))
        state.SkipWithError("records were lost on the way");
    state.counters["keys/rec"] = c.keysPerRecord();
    state.counters["records"] = s.e.rec.EndRec - first;
}

std::string CustomerRecord(std::int32_t n)
{
    const auto k = static_cast<std::size_t>(n) % Names.size();
    std::string r = Digits(n, 6);
    r += std::string(Names[k]) + std::string(20 - Names[k].size(), ' ');
    r += std::string(Cities[k]) + std::string(12 - Cities[k].size(), ' ');
    r += std::string(States[k]) + Digits(10000 + n % 89999, 5) + Digits(2185550000LL + n, 10);
    r += Digits(n % 10000, 5) + ".00a";
    return r;
}

// Ctrl+Home to the first record untimed, then runs of Down and Up through the records after
// it. Each step reads a slot and sets the screen up for it.
void BenchBrowse(benchmark::State& state)
{
    BenchStation s;
    std::string bytes;
    for (std::int32_t n = 1; n <= BrowseRecords; ++n)
        bytes += CustomerRecord(n) + "\r\n";
    s.app.write(BenchStation::DataName, bytes);
    if (auto r = s.open(BenchStation::DataName, "CUSTOMER-64"); !r) {
        state.SkipWithError(r.error().message.c_str());
        return;
    }
    const KeyStroke up = Named("Up"), down = Named("Down");
    s.press(Named("Ctrl+Home"));
    if (s.e.rec.CurRec != 1 || s.e.rec.RecBuf != CustomerRecord(1)) {
        state.SkipWithError("the record shown is not the one stored");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        s.press(step < BrowseRun ? down : up);
        if (++step == 2 * BrowseRun)
            step = 0;
    }
    if (!s.dialogs.boxes.empty() || !s.e.rec.CorrectMode)
        state.SkipWithError("stepping left the stored records");
}

// Shows the runs as usual and keeps each benchmark's median time per key, in seconds.
class MedianKeeper : public benchmark::ConsoleReporter
{
public:
    MedianKeeper() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool counts = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
            if (!run.error_occurred && counts)
                seconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }

    std::map<std::string, double> seconds;
};

void PrintMedians(const MedianKeeper& keeper)
{
    std::printf("\nMedian per keystroke (target %.0f us):\n", TargetMicros);
    for (const char* name : {KeyCustomer, KeyOrdersDup, Browse}) {
        const auto it = keeper.seconds.find(name);
        if (it == keeper.seconds.end()) {
            std::printf("  %-22s not measured in this run\n", name);
            continue;
        }
        const double us = it->second * 1e6;
        std::printf("  %-22s %8.2f us  %s\n", name, us, us < TargetMicros ? "ok" : "OVER TARGET");
    }
}

void Register(const char* name, const KeyingCase& c)
{
    benchmark::RegisterBenchmark(name, [c](benchmark::State& s) { BenchKeying(s, c); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const KeyingCase customer = CustomerCase();
    const KeyingCase orders = OrdersCase();
    for (const KeyingCase* c : {&customer, &orders}) {
        if (auto r = CheckStream(*c); !r) {
            std::cerr << "keystroke_bench: " << r.error().message << '\n';
            return 1;
        }
    }

    Register(KeyCustomer, customer);
    Register(KeyOrdersDup, orders);
    benchmark::RegisterBenchmark(Browse, BenchBrowse)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true);

    MedianKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    benchmark::Shutdown();
    PrintMedians(keeper);
    return 0;
}
