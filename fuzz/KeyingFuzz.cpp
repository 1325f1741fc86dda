// Drives the keying engine with an arbitrary stream of keys, menu commands and answers to
// its message boxes, over one of a few formats and a small starting file, and checks that
// the data file stays well formed and holds exactly what the engine reported as stored.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/PositionOnlySurface.h"
#include "keying/KeyNames.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

// One pair; three pairs; a record wider than the screen; every type code.
constexpr std::string_view FormatFile = "* fuzz formats\r\n"
                                        "ONE\r\n"
                                        "N----A-------R--.-E\r\n"
                                        "ITEM NAME   PRICE\r\n"
                                        "PAIRS/3\r\n"
                                        "N--A---E\r\n"
                                        "NO NAME\r\n"
                                        "B--M---E\r\n"
                                        "NO NAME\r\n"
                                        "D--L---E\r\n"
                                        "NO NAME\r\n"
                                        "LONG\r\n"
                                        "A---------N---------A---------R-.E\r\n"
                                        "TEXT      NUMBER    TEXT      AMT\r\n"
                                        "ALL\r\n"
                                        "A-M-N-B-P-D-L-Y-R.J-S-E\r\n"
                                        "A M N B P D L Y R  J S\r\n";
constexpr std::array<const char*, 4> Formats = {"ONE", "PAIRS", "LONG", "ALL"};
constexpr std::array<int, 4> RecLens = {19, 8, 34, 23};
constexpr std::array<int, 4> Pairs = {1, 3, 1, 1};
constexpr const char* DataName = "k.dat";
// A screen narrower than LONG's record, so that it crosses sections.
constexpr double ScreenCols = 24;
constexpr double ScreenRows = 10;
constexpr std::size_t MaxEvents = 3000;

// What an event byte of 128 and above does: a key, or a menu command or click. New
// entries go at the end, so that the seeds keep their meaning.
enum class Command {
    None,
    InsRec,
    DelRec,
    Verify,
    Back,
    Fwd,
    Save,
    CancelProgress,
    PanelClick,
    Fault
};

struct Action {
    constexpr Action(const char* k) : key(k) {}
    constexpr Action(Command c) : command(c) {}
    const char* key = nullptr;
    Command command = Command::None;
};

constexpr std::array<Action, 64> Actions = {{
    "Enter",
    "Tab",
    "Shift+Tab",
    "Backspace",
    "Delete",
    "Insert",
    "Home",
    "End",
    "Left",
    "Right",
    "Up",
    "Down",
    "Ctrl+Home",
    "Ctrl+End",
    "F11",
    "F12",
    "Esc",
    "Alt+1",
    "Alt+2",
    "Alt+3",
    "Alt+F1",
    "Shift",
    "Ctrl+D",
    "7",
    "Pad7",
    "Pad9",
    "F2",
    "Alt+F5",
    ";",
    "Ctrl+S",
    Command::InsRec,
    Command::DelRec,
    Command::Verify,
    Command::Back,
    Command::Fwd,
    Command::Save,
    Command::CancelProgress,
    Command::PanelClick,
    // Memory keys: storing, then naming a key, recalling with any modifiers.
    "Alt+=",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "Shift+F4",
    "Ctrl+F9",
    "Shift+F3",
    "F1",
    "F10",
    // Keys the embedded-pad conversion turns into digits, and a pad key that it does not.
    "u",
    "k",
    "m",
    ",",
    ".",
    "(",
    "<",
    ">",
    "U",
    "L",
    "9",
    "Pad1",
    // A read, write, flush or rename of the file layer fails a few calls from now.
    Command::Fault,
}};

// The keystroke of each key action, parsed once.
const std::vector<std::optional<KeyStroke>>& ActionKeys()
{
    static const std::vector<std::optional<KeyStroke>> keys = [] {
        std::vector<std::optional<KeyStroke>> out;
        for (const Action& a : Actions) {
            if (a.key == nullptr) {
                out.emplace_back();
                continue;
            }
            const auto ks = KeyNames::Parse(a.key);
            if (!ks) {
                std::fprintf(stderr, "KeyingFuzz: %s: %s\n", a.key, ks.error().message.c_str());
                std::abort();
            }
            out.push_back(ks.value());
        }
        return out;
    }();
    return keys;
}

// Reads the input a byte at a time; zeros once it runs out.
class Bytes
{
public:
    explicit Bytes(std::string_view in) : m_in(in) {}
    bool more() const { return m_at < m_in.size(); }
    std::uint8_t next() { return more() ? static_cast<std::uint8_t>(m_in[m_at++]) : 0; }

private:
    std::string_view m_in;
    std::size_t m_at = 0;
};

// Starting records: each a valid slot of a pair of the format.
std::vector<std::string> StartingSlots(int fmt, int count)
{
    std::vector<std::string> slots;
    const int recLen = RecLens[static_cast<std::size_t>(fmt)];
    for (int n = 0; n < count; ++n) {
        std::string rec(static_cast<std::size_t>(recLen - 1), '0');
        for (std::size_t i = 0; i < rec.size(); i += 3)
            rec[i] = static_cast<char>('1' + (n + static_cast<int>(i)) % 9);
        rec += static_cast<char>('a' + n % Pairs[static_cast<std::size_t>(fmt)]);
        slots.push_back(rec + "\r\n");
    }
    return slots;
}

// What the engine said it stored, applied in order to the starting slots.
void Apply(std::vector<std::string>& slots, const RecordStore::Change& c)
{
    using Kind = RecordStore::Change::Kind;
    const auto at = static_cast<std::size_t>(c.slot - 1);
    Require(c.slot >= 1);
    switch (c.kind) {
    case Kind::Written:
        Require(at <= slots.size());
        if (at == slots.size())
            slots.push_back(c.bytes);
        else
            slots[at] = c.bytes;
        return;
    case Kind::Inserted:
        Require(at <= slots.size());
        slots.insert(slots.begin() + static_cast<std::ptrdiff_t>(at), c.bytes);
        return;
    case Kind::Deleted:
        Require(at < slots.size());
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
}

void CheckFile(const std::string& bytes, const std::vector<std::string>& slots, int recLen,
               int pairs)
{
    const auto slot = static_cast<std::size_t>(recLen + 2);
    Require(bytes.size() % slot == 0);
    for (std::size_t at = 0; at < bytes.size(); at += slot) {
        for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(recLen); ++i) {
            const auto c = static_cast<unsigned char>(bytes[at + i]);
            Require(c >= 32 && c <= 128);
        }
        const char letter = bytes[at + slot - 3];
        Require(letter >= 'a' && letter < 'a' + pairs);
        Require(bytes.compare(at + slot - 2, 2, "\r\n") == 0);
    }
    std::string expected;
    for (const auto& s : slots)
        expected += s;
    Require(bytes == expected);
}

// A memory text of a shape settings can hold: any bytes (controls, codes above 128),
// digits only, digits among blanks, or printable text; from empty to longer than a key
// holds.
std::string MemText(Bytes& in, std::size_t maxLen)
{
    const std::uint8_t shape = in.next();
    const std::size_t len = in.next() % (maxLen + 1);
    std::string s;
    for (std::size_t i = 0; i < len; ++i) {
        const std::uint8_t b = in.next();
        switch (shape % 4) {
        case 0:
            s += static_cast<char>(b);
            break;
        case 1:
            s += static_cast<char>('0' + b % 10);
            break;
        case 2:
            s += b % 3 == 0 ? '0' + b % 10 : ' ';
            break;
        default:
            s += static_cast<char>(32 + b % 95);
            break;
        }
    }
    return s;
}

std::string MemKeyName(int n)
{
    return "F" + std::to_string(n);
}

// Counts the memory-key saves, so that the stored texts are checked once the program
// has written them.
class CountingStore : public MemorySettingsStore
{
public:
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (app == Preferences::AppName && section == "Memkey")
            ++memKeySaves;
        MemorySettingsStore::saveSetting(app, section, key, value);
    }

    int memKeySaves = 0;
};

// Texts left in the store by an earlier session, or by hand: unchecked, and as long as
// they come, with or without an F2.
void StoreRawMemKeys(CountingStore& store, Bytes& in)
{
    const std::uint8_t present = in.next();
    for (int n = 2; n <= 9; ++n)
        if ((present >> (n - 2)) & 1)
            store.values[{Preferences::AppName, "Memkey", MemKeyName(n)}] = MemText(in, 64);
}

// Memory keys the operator stored in this session, as storing them would keep them.
void SeedMemKeys(Engine& e, Bytes& in)
{
    for (int count = in.next() % 9; count > 0; --count) {
        const auto n = static_cast<std::size_t>(2 + in.next() % 8);
        e.prefs.MemKeys[n] = Preferences::FixedMemText(MemText(in, 48));
    }
}

// One fault of the file layer, a few calls of its kind from now: the engine must take each
// as the disk's word and keep the file and its model alike.
void ArmFault(FaultyFileIo& io, Bytes& in)
{
    const std::uint8_t kind = in.next();
    const int after = in.next() % 6;
    switch (kind % 5) {
    case 0:
        io.readFault = FaultyFileIo::ReadFault{.after = after};
        return;
    case 1: // a read cut short
        io.readFault = FaultyFileIo::ReadFault{.after = after, .shortBytes = in.next() % 24};
        return;
    case 2:
        io.writeOnce = FaultyFileIo::Once{.after = after};
        io.partBytes = in.next() % 24;
        return;
    case 3:
        io.syncOnce = FaultyFileIo::Once{.after = after};
        return;
    default:
        io.renameOnce = FaultyFileIo::Once{.after = after};
        return;
    }
}

// What holds after every event, whatever was keyed.
void CheckState(const Engine& e, const CountingStore& store, const std::vector<std::string>& slots)
{
    for (int n = 2; n <= 9; ++n)
        Require(e.prefs.MemKeys[static_cast<std::size_t>(n)].size() == Preferences::MemKeyLength);
    if (e.scr.RecordShown) {
        const int recLen = e.fmt.RecLen;
        Require(e.rec.RecBuf.size() == static_cast<std::size_t>(recLen));
        Require(e.scr.CurCol >= 1 && e.scr.CurCol <= recLen);
        Require(e.rec.CurRec >= 1 && e.rec.CurRec <= e.rec.EndRec);
        // A stored record on the screen is the one its slot holds: what is changed on it
        // is written back to the slot it was read from.
        const auto n = static_cast<std::size_t>(e.rec.CurRec);
        if (e.rec.CorrectMode && n < static_cast<std::size_t>(e.rec.EndRec) && n <= slots.size())
            Require(slots[n - 1].compare(0, static_cast<std::size_t>(recLen), e.rec.OrigRec) == 0);
    }
    if (store.memKeySaves == 0)
        return;
    for (const auto& [key, value] : store.getAllSettings(Preferences::AppName, "Memkey")) {
        Require(value.size() <= Preferences::MemKeyLength);
        Require(value.empty() || (value.front() != ' ' && value.back() != ' '));
    }
}

void Answer(ScriptedDialogs& dialogs, std::uint8_t b)
{
    static constexpr std::array<Dialogs::Answer, 4> answers = {
        Dialogs::Answer::Yes, Dialogs::Answer::No, Dialogs::Answer::OK, Dialogs::Answer::Cancel};
    dialogs.answers.assign(2, answers[b % answers.size()]);
    dialogs.inputAnswers.assign(1, std::string(1, static_cast<char>('0' + b % 10)));
    dialogs.boxes.clear();
}

void Event(Engine& e, ScriptedDialogs& dialogs, FaultyFileIo& io, Bytes& in)
{
    const std::uint8_t op = in.next();
    Answer(dialogs, in.next());
    if (op < 128) { // a character, most of what an operator keys
        const auto ks = KeyNames::ForChar(static_cast<char>(32 + op % 96));
        if (ks)
            e.keys.Press(*ks);
        return;
    }
    const std::size_t k = op - 128u;
    if (k >= Actions.size())
        return;
    if (const auto& ks = ActionKeys()[k]) {
        e.keys.Press(*ks);
        return;
    }
    const WindowState& w = e.win;
    switch (Actions[k].command) {
    case Command::InsRec:
        if (w.mnuInsRec)
            e.rec.mnuInsRec_Click();
        return;
    case Command::DelRec:
        if (w.mnuDelRec)
            e.rec.mnuDelRec_Click();
        return;
    case Command::Verify:
        e.mnuVerify_Click();
        return;
    case Command::Back:
        if (w.mnuBack)
            e.rec.GoBack();
        return;
    case Command::Fwd:
        if (w.mnuFwd)
            e.rec.GoFwd();
        return;
    case Command::Save:
        e.file.SaveData_Click();
        return;
    case Command::CancelProgress: // the operator cancels the next long operation
        dialogs.cancelProgressAt = dialogs.progressReports + 1;
        return;
    case Command::PanelClick: // any panel, the duplicate switch's among them
        e.status.PanelClick(1 + in.next() % StatusLine::PanelCount);
        return;
    case Command::Fault:
        ArmFault(io, in);
        return;
    case Command::None:
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzFolder& folder = FuzzFolder::WithFormats("korvalen-keying-fuzz", FormatFile);
    Bytes in(std::string_view(reinterpret_cast<const char*>(data), size));
    // Format in the low bits; then the pad conversion, and where memory keys come from.
    const std::uint8_t setup = in.next();
    const int fmt = setup % static_cast<int>(Formats.size());
    const bool padConversion = (setup & 4) != 0;
    const bool rawStored = (setup & 8) != 0;
    const bool seeded = (setup & 16) != 0;
    std::vector<std::string> slots = StartingSlots(fmt, in.next() % 4);
    std::string start;
    for (const auto& s : slots)
        start += s;
    if (!folder.write(DataName, start))
        std::abort();

    PositionOnlySurface screen(ScreenCols, ScreenRows);
    ScriptedDialogs dialogs;
    CountingStore store;
    if (rawStored)
        StoreRawMemKeys(store, in);
    FaultyFileIo io;
    Engine e(screen, dialogs, store, folder.path(), io);
    e.Form_Load();
    e.prefs.UptronSw = padConversion;
    if (seeded)
        SeedMemKeys(e, in);
    e.file.DataPath = folder.path().string();
    Require(e.file.LoadFormat(Formats[static_cast<std::size_t>(fmt)]));
    e.file.OpenDataFile((folder.path() / DataName).string());
    Require(e.scr.RecordShown);
    const Subscription heard =
        e.rec.OnChange.add([&slots](const RecordStore::Change& c) { Apply(slots, c); });
    CheckState(e, store, slots);

    for (std::size_t n = 0; n < MaxEvents && in.more(); ++n) {
        Event(e, dialogs, io, in);
        CheckState(e, store, slots);
    }
    io = FaultyFileIo(); // a fault still armed must not fail the reading below
    e.file.CloseFile();
    CheckFile(folder.read(DataName), slots, RecLens[static_cast<std::size_t>(fmt)],
              Pairs[static_cast<std::size_t>(fmt)]);

    // The end of the program saves the memory keys; the next session recalls the same.
    e.Form_Terminate();
    CheckState(e, store, slots);
    Preferences next;
    next.LoadMemKeys(store);
    for (std::size_t n = 2; n <= 9; ++n)
        Require(OperatorAids::RecallText(next.MemKeys[n]) ==
                OperatorAids::RecallText(e.prefs.MemKeys[n]));
    return 0;
}
