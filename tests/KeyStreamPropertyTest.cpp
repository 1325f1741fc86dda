// Long random key streams over the formats of the shipped FILE.FMT. Whatever the operator
// presses, the data file must stay a run of whole, clean record slots, and the record
// counters must agree with it. Each stream comes from a fixed seed, so a failure replays.

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "keying/KeyNames.h"
#include "tests/support/Station.h"

namespace
{

constexpr std::size_t StreamSteps = 12000;
// The counters are checked after every step, the whole file this often and at the end.
constexpr std::size_t FileCheckEvery = 250;
// Steps shown before the one that broke something.
constexpr std::size_t ContextSteps = 24;
constexpr const char* DataName = "stream.dat";

// What the operator does, with how often each comes up. Key names are read by KeyNames;
// "Pad" is a numeric-pad digit, "Char" a typed character, "InsRec"/"DelRec" the Edit menu
// command answered Yes or No at random, "Verify" the File menu switch.
constexpr std::pair<std::string_view, double> Pool[]{
    {"Enter", 12},  {";", 2},        {"Tab", 3},      {"Shift+Tab", 2}, {"Backspace", 3},
    {"Delete", 2},  {"Insert", 2},   {"Home", 2},     {"End", 2},       {"Left", 3},
    {"Right", 4},   {"Up", 3},       {"Down", 3},     {"Ctrl+Home", 1}, {"Ctrl+End", 1},
    {"F11", 1},     {"F12", 1},      {"7", 2},        {"Esc", 1},       {"Ctrl+D", 0.2},
    {"Alt+1", 0.7}, {"Alt+2", 0.7},  {"Alt+3", 0.5},  {"Alt+F1", 0.5},  {"Pad", 3},
    {"Char", 55},   {"InsRec", 0.7}, {"DelRec", 0.7}, {"Verify", 0.15}};

// Draws the steps of one stream. Characters lean to digits and capitals, so that fields
// are accepted and records get completed, but any printable character can come.
std::vector<std::string> MakeStream(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    const auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto character = [&]() -> std::string {
        const int p = uniform(0, 99);
        if (p < 45)
            return {static_cast<char>('0' + uniform(0, 9))};
        if (p < 65)
            return {static_cast<char>('A' + uniform(0, 25))};
        if (p < 75)
            return {static_cast<char>('a' + uniform(0, 25))};
        return {p < 85 ? ' ' : p < 90 ? '.' : static_cast<char>(uniform(32, 126))};
    };
    std::vector<double> weights;
    for (const auto& [name, weight] : Pool)
        weights.push_back(weight);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::vector<std::string> steps;
    while (steps.size() < StreamSteps) {
        const std::string name(Pool[pick(rng)].first);
        if (name == "Char")
            steps.push_back(character());
        else if (name == "Pad")
            steps.push_back("Pad" + std::to_string(uniform(0, 9)));
        else if (name.ends_with("Rec"))
            steps.push_back(name + (uniform(0, 1) == 1 ? " (Yes)" : " (No)"));
        else
            steps.push_back(name);
        // Alt+F1 asks for a type code: usually a valid one, sometimes anything.
        if (name == "Alt+F1")
            steps.push_back(uniform(0, 2) > 0 ? std::string(1, "ABDJLMNRY-"[uniform(0, 9)])
                                              : character());
    }
    return steps;
}

// One step as the window delivers it; a message box takes the step's answer, else its
// first button.
void Perform(Station& s, const std::string& step)
{
    s.dialogs.answers.clear();
    s.dialogs.boxes.clear();
    if (step.size() == 1)
        return s.stroke(KeyNames::ForChar(step[0]).value());
    if (step == "Verify")
        return s.e.mnuVerify_Click();
    const bool yes = step.ends_with("(Yes)");
    if (!yes && !step.ends_with("(No)"))
        return s.key(step);
    s.dialogs.answers.push_back(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    if (step.starts_with("InsRec"))
        return s.e.rec.mnuInsRec_Click();
    s.e.rec.mnuDelRec_Click();
}

// The first thing wrong with one slot, if any: RecLen-1 codes 32..128, a format letter
// among the loaded pairs, CR LF.
std::optional<std::string> BrokenSlot(std::string_view slot, char lastLetter)
{
    const std::size_t len = slot.size() - 2;
    for (std::size_t i = 0; i + 1 < len; ++i) {
        const auto c = static_cast<unsigned char>(slot[i]);
        if (c < 32 || c > 128)
            return "position " + std::to_string(i + 1) + " holds code " + std::to_string(c);
    }
    if (slot[len - 1] < 'a' || slot[len - 1] > lastLetter)
        return "format letter is code " + std::to_string(static_cast<unsigned char>(slot[len - 1]));
    if (slot.substr(len) != "\r\n")
        return "the slot does not end with CR LF";
    return std::nullopt;
}

// The first broken invariant: the counters always, the data file when asked.
std::optional<std::string> Broken(const Station& s, bool readFile)
{
    const auto& r = s.e.rec;
    if (r.CurRec < 1 || r.CurRec > r.EndRec)
        return "CurRec " + std::to_string(r.CurRec) + " is outside 1.." + std::to_string(r.EndRec);
    if (!readFile)
        return std::nullopt;
    const std::size_t slotLen = static_cast<std::size_t>(s.e.fmt.RecLen) + 2;
    const std::string bytes = s.app.read(DataName);
    if (bytes.size() % slotLen != 0)
        return "file length " + std::to_string(bytes.size()) + " is not a whole number of " +
               std::to_string(slotLen) + "-byte slots";
    const std::size_t slots = bytes.size() / slotLen;
    if (static_cast<std::size_t>(r.EndRec - 1) != slots)
        return "EndRec " + std::to_string(r.EndRec) + " but the file holds " +
               std::to_string(slots) + " records";
    const char lastLetter = static_cast<char>('a' + s.e.fmt.FmtCount - 1);
    for (std::size_t n = 0; n < slots; ++n)
        if (const auto bad =
                BrokenSlot(std::string_view(bytes).substr(n * slotLen, slotLen), lastLetter))
            return "slot " + std::to_string(n + 1) + ": " + *bad;
    return std::nullopt;
}

// Plays the steps until one breaks an invariant; what broke, after which steps.
std::optional<std::string> Play(Station& s, const std::vector<std::string>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::optional<std::string> bad;
        try {
            Perform(s, steps[i]);
            bad = Broken(s, i + 1 == steps.size() || (i + 1) % FileCheckEvery == 0);
        } catch (const std::exception& ex) {
            bad = std::string("threw ") + ex.what();
        }
        if (!bad)
            continue;
        std::string out = "after step " + std::to_string(i + 1) + ": " + *bad + "\nsteps:";
        for (std::size_t k = i >= ContextSteps ? i - ContextSteps : 0; k <= i; ++k)
            out += steps[k].size() == 1 ? " '" + steps[k] + "'" : " " + steps[k];
        return out;
    }
    return std::nullopt;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Format {
    const char* label;
    const char* name; // as named in FILE.FMT
    int recLen;
    int pairs;
    bool demoData; // start from DEMO.DAT rather than an empty file
    std::uint32_t seed;

    friend void PrintTo(const Format& f, std::ostream* os) { *os << f.name; }
};
constexpr Format Customer{"Customer", "CUSTOMER", 64, 1, true, 1101};
constexpr Format Payroll{"Payroll", "PAYROLL/2", 72, 2, false, 2201};
constexpr Format Orders{"Orders", "ORDERS", 60, 1, false, 3301};
constexpr Format Invoice{"Invoice", "INVOICE", 138, 1, false, 4401};

// Starts the station and opens one format on a new data file, the DUP switch as asked.
void Open(Station& s, const Format& f, bool dupOn)
{
    s.start();
    if (f.demoData)
        s.app.write(DataName, ReadFile(DEMO_DATA_DIR "/DEMO.DAT"));
    s.open(DataName, std::string(f.name) + "-" + std::to_string(f.recLen));
    if (dupOn)
        s.key("Ctrl+D");
}

class KeyStreamTest : public ::testing::TestWithParam<std::tuple<Format, bool>>
{
};

TEST_P(KeyStreamTest, KeepsTheDataFileWholeAndTheCountersTrue)
{
    const auto [f, dupOn] = GetParam();
    const std::uint32_t seed = f.seed + (dupOn ? 1 : 0);
    SCOPED_TRACE(std::string(f.name) + (dupOn ? ", DUP on" : "") + ", seed " +
                 std::to_string(seed));
    Station s(ReadFile(DEMO_DATA_DIR "/FILE.FMT"));
    Open(s, f, dupOn);
    ASSERT_TRUE(s.e.scr.RecordShown) << f.name << " did not open";
    ASSERT_EQ(s.e.fmt.RecLen, f.recLen);
    ASSERT_EQ(s.e.fmt.FmtCount, f.pairs);
    ASSERT_EQ(s.e.aids.DupSw, dupOn);
    const auto failure = Play(s, MakeStream(seed));
    EXPECT_FALSE(failure.has_value()) << *failure;
}

INSTANTIATE_TEST_SUITE_P(Formats, KeyStreamTest,
                         ::testing::Combine(::testing::Values(Customer, Payroll, Orders, Invoice),
                                            ::testing::Bool()),
                         [](const auto& p) {
                             return std::string(std::get<0>(p.param).label) +
                                    (std::get<1>(p.param) ? "Dup" : "");
                         });

// Alt+F1 then "-" on position 1 leaves the first position in no field once the record is
// set up again; Enter there filled from position 0 and threw. A stream found it.
TEST(KeyStreamFound, DashOverTheFirstTypeCodeKeepsTheFileWhole)
{
    Station s(ReadFile(DEMO_DATA_DIR "/FILE.FMT"));
    Open(s, Invoice, true);
    ASSERT_TRUE(s.e.scr.RecordShown);
    const auto failure = Play(s, {"F11", "Right", "Up", "Alt+F1", "-", "End", "Down", "Enter"});
    EXPECT_FALSE(failure.has_value()) << *failure;
}

} // namespace
