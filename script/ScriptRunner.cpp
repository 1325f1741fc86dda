#include "script/ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <istream>
#include <iterator>
#include <ostream>
#include <vector>

#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "keying/KeyNames.h"
#include "keying/ScreenModel.h"
#include "script/ReplayDialogs.h"
#include "script/ScriptClock.h"

namespace
{

// A menu command: the window greys it out while enabled says so (no test: always offered)
// and leaves it out while visible says so. Exit ends the script, once it is not refused.
struct MenuItem {
    std::string_view name;
    bool (*enabled)(const WindowState&);
    void (*click)(Engine&);
    bool ends = false;
    bool (*visible)(const WindowState&) = nullptr;
    bool (*checked)(const WindowState&) = nullptr; // shown as a "*" after its state
};

template <bool WindowState::*flag> bool Flag(const WindowState& w)
{
    return w.*flag;
}

template <int i> bool RecentEnabled(const WindowState& w)
{
    return w.mnuRecentFile[i].enabled;
}

template <int i> bool RecentVisible(const WindowState& w)
{
    return w.mnuRecentFile[i].visible;
}

template <int i> constexpr MenuItem Recent(std::string_view name)
{
    return {name, &RecentEnabled<i>, [](Engine& e) { e.recent.mnuRecentFile_Click(i); }, false,
            &RecentVisible<i>};
}

// Add an item with its line here, in menu order: "show" lists them so.
constexpr MenuItem Menu[]{
    {"New", &Flag<&WindowState::mnuNew>, [](Engine& e) { e.file.mnuNew_Click(); }},
    {"Open", &Flag<&WindowState::mnuOpen>, [](Engine& e) { e.file.mnuOpen_Click(); }},
    {"Close", &Flag<&WindowState::mnuClose>, [](Engine& e) { e.file.mnuClose_Click(); }},
    {"Save", &Flag<&WindowState::SaveData>, [](Engine& e) { e.file.SaveData_Click(); }},
    {"Verify", nullptr, [](Engine& e) { e.mnuVerify_Click(); }},
    {"Exit", nullptr, [](Engine& e) { e.mnuExit_Click(); }, true},
    Recent<1>("Recent1"),
    Recent<2>("Recent2"),
    Recent<3>("Recent3"),
    Recent<4>("Recent4"),
    {"Previous", &Flag<&WindowState::mnuBack>, [](Engine& e) { e.rec.GoBack(); }},
    {"Next", &Flag<&WindowState::mnuFwd>, [](Engine& e) { e.rec.GoFwd(); }},
    {"Insert", &Flag<&WindowState::mnuInsRec>, [](Engine& e) { e.rec.mnuInsRec_Click(); }},
    {"Delete", &Flag<&WindowState::mnuDelRec>, [](Engine& e) { e.rec.mnuDelRec_Click(); }},
    {"Cut", &Flag<&WindowState::mnuCut>, [](Engine& e) { e.cut.mnuCut_Click(); }},
    {"Options", &Flag<&WindowState::mnuPrefs>, [](Engine& e) { e.prefsForm.Show(); }},
    {"Help", nullptr, [](Engine&) {}}, // the runner prints the page it would open
    {"Showtips", nullptr, [](Engine& e) { e.tip.mnuTips_Click(); }, false, nullptr,
     &Flag<&WindowState::mnuTipsChecked>},
    {"About", nullptr, [](Engine& e) { e.mnuAbout_Click(); }},
};

// The Preferences dialog's buttons, by the names a script clicks them with.
struct PrefsButton {
    std::string_view name;
    void (PrefsForm::*click)();
};

constexpr PrefsButton PrefsButtons[]{
    {"F12", &PrefsForm::DupkeyF12_Click},
    {"7key", &PrefsForm::DupKey7_Click},
    {"TextBackColor", &PrefsForm::cmdTxtclr_Click},
    {"FormBackColor", &PrefsForm::cmdBkClr_Click},
    {"OK", &PrefsForm::OK_Click},
    {"Cancel", &PrefsForm::Cancel_Click},
};

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Quoted(std::string_view s)
{
    return "'" + std::string(s) + "'";
}

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// Line breaks of any kind written as the two characters \n, so a box stays on one line.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\\n";
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return out;
}

// A character that cannot be shown as itself in a message.
std::string Shown(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127)
        return Quoted(std::string(1, c));
    static constexpr char Hex[] = "0123456789ABCDEF";
    return std::string("\\x") + Hex[u >> 4] + Hex[u & 15];
}

} // namespace

ScriptRunner::ScriptRunner(Engine& e, ScreenModel& screen, ReplayDialogs& dialogs,
                           std::ostream& out, ScriptClock* clock)
    : m_e(e), m_screen(screen), m_dialogs(dialogs), m_out(out), m_clock(clock)
{
    m_dialogs.onBox = [this](const std::string& title, const std::string& text) {
        box(title, text);
    };
}

ScriptRunner::~ScriptRunner()
{
    m_dialogs.onBox = nullptr;
}

void ScriptRunner::start()
{
    m_e.LoadSettings();
    m_e.Form_Load();
    // The tip of the day is reported and closed at once.
    m_e.tip.Form_Load();
    if (m_e.tip.Visible) {
        m_out << "tip: " << OneLine(m_e.tip.lblTipText) << '\n';
        m_e.tip.cmdOK_Click();
    }
}

Result<void> ScriptRunner::run(std::istream& in, const std::string& name)
{
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const auto goesOn = runLine(line);
        if (!goesOn)
            return Error{name + ":" + std::to_string(number) + ": " + goesOn.error().message};
        if (!goesOn.value())
            return {};
    }
    // Lines that could not be read are not an end: the session did not run as written.
    if (in.bad())
        return Error{name + ":" + std::to_string(number + 1) + ": the script could not be read"};
    return {};
}

Result<bool> ScriptRunner::runLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
        return true;
    // The argument is the rest of the line after one blank, as written: "type" and
    // "choose" keep the blanks in it.
    const std::string_view start = line.substr(line.find_first_not_of(" \t"));
    const auto blank = start.find(' ');
    const std::string_view word = start.substr(0, blank);
    const std::string_view arg =
        blank == std::string_view::npos ? std::string_view{} : start.substr(blank + 1);
    auto goesOn = command(word, arg);
    if (!goesOn)
        return goesOn;
    if (auto misfit = m_dialogs.takeMisfit())
        return Error{*misfit};
    return goesOn;
}

Result<bool> ScriptRunner::command(std::string_view word, std::string_view arg)
{
    auto done = [](const Result<void>& r) -> Result<bool> {
        if (!r)
            return r.error();
        return true;
    };
    if (word == "answer")
        return done(answer(Trim(arg)));
    if (word == "choose") {
        m_dialogs.queueText(std::string(arg));
        return true;
    }
    if (word == "accept") {
        if (!Trim(arg).empty())
            return Error{"accept takes nothing after it"};
        m_dialogs.queueDefault();
        return true;
    }
    if (m_e.prefsForm.Visible)
        return done(prefsCommand(word, arg));
    if (word == "menu")
        return menu(Trim(arg));
    if (word == "type")
        return done(type(arg));
    if (word == "key")
        return done(key(Trim(arg)));
    if (word == "click")
        return done(click(Trim(arg)));
    if (word == "wait")
        return done(wait(Trim(arg)));
    if (word == "show") {
        if (!Trim(arg).empty())
            return Error{"show takes nothing after it"};
        show();
        return true;
    }
    return Error{"unknown command " + Quoted(word)};
}

Result<void> ScriptRunner::answer(std::string_view arg)
{
    using A = Dialogs::Answer;
    for (const A a : {A::Yes, A::No, A::OK, A::Cancel}) {
        if (SameName(arg, ReplayDialogs::AnswerName(a))) {
            m_dialogs.queueAnswer(a);
            return {};
        }
    }
    return Error{"unknown answer " + Quoted(arg) + " (Yes, No, OK or Cancel)"};
}

Result<void> ScriptRunner::prefsCommand(std::string_view word, std::string_view arg)
{
    PrefsForm& form = m_e.prefsForm;
    if (word == "set") {
        // The box's name, one blank, then its text as written.
        const auto blank = arg.find(' ');
        const std::string_view box = arg.substr(0, blank);
        const std::string_view text =
            blank == std::string_view::npos ? std::string_view{} : arg.substr(blank + 1);
        for (int n = 2; n <= 9; ++n) {
            if (SameName(box, "F" + std::to_string(n))) {
                form.Mem[static_cast<std::size_t>(n)] = std::string(text);
                return {};
            }
        }
        return Error{"unknown box " + Quoted(box) + " (F2 to F9)"};
    }
    if (word == "click") {
        const std::string_view name = Trim(arg);
        if (SameName(name, "Uptron")) {
            form.Check1 = !form.Check1;
            return {};
        }
        const auto it = std::ranges::find_if(
            PrefsButtons, [&](const PrefsButton& b) { return SameName(b.name, name); });
        if (it == std::end(PrefsButtons))
            return Error{"unknown control " + Quoted(name) +
                         " (F12, 7key, Uptron, TextBackColor, FormBackColor, OK or Cancel)"};
        (form.*(it->click))();
        return {};
    }
    if (word == "show") {
        if (!Trim(arg).empty())
            return Error{"show takes nothing after it"};
        m_out << "prefs:";
        for (int n = 2; n <= 9; ++n)
            m_out << (n == 2 ? " " : " | ") << 'F' << n << '='
                  << form.Mem[static_cast<std::size_t>(n)];
        m_out << " | dupkey=" << (form.DupkeyF12 ? "F12" : "7key")
              << " | uptron=" << (form.Check1 ? "on" : "off") << '\n';
        return {};
    }
    return Error{Quoted(word) + " cannot be done while the Preferences dialog is open (set, " +
                 "click, choose, answer, accept or show; click OK or Cancel to close it)"};
}

Result<bool> ScriptRunner::menu(std::string_view arg)
{
    const auto it =
        std::ranges::find_if(Menu, [&](const MenuItem& m) { return SameName(m.name, arg); });
    if (it == std::end(Menu))
        return Error{"unknown menu " + Quoted(arg)};
    // A hidden or greyed-out item cannot be clicked.
    if ((it->visible != nullptr && !it->visible(m_e.win)) ||
        (it->enabled != nullptr && !it->enabled(m_e.win)))
        return true;
    if (it->name == "Help")
        m_out << "help: " << m_e.HelpPage().string() << '\n';
    it->click(m_e);
    return !m_e.Ended();
}

Result<void> ScriptRunner::type(std::string_view text)
{
    std::vector<KeyStroke> strokes;
    for (const char c : text) {
        const auto k = KeyNames::ForChar(c);
        if (!k)
            return Error{"no key types " + Shown(c)};
        strokes.push_back(*k);
    }
    for (const KeyStroke& k : strokes)
        press(k);
    return {};
}

Result<void> ScriptRunner::key(std::string_view name)
{
    const auto k = KeyNames::Parse(name);
    if (!k)
        return k.error();
    press(*k);
    return {};
}

void ScriptRunner::press(const KeyStroke& k)
{
    if (m_clock)
        m_clock->advance(ScriptClock::KeyMs);
    m_e.keys.Press(k);
}

Result<void> ScriptRunner::wait(std::string_view seconds)
{
    std::int64_t s = 0;
    const auto [end, err] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), s);
    if (err != std::errc() || end != seconds.data() + seconds.size() || s < 0)
        return Error{"wait takes a number of seconds, not " + Quoted(seconds)};
    if (m_clock)
        m_clock->advance(s * 1000);
    return {};
}

Result<void> ScriptRunner::click(std::string_view panel)
{
    for (int n = 1; n <= StatusLine::PanelCount; ++n) {
        if (SameName(panel, "PANEL" + std::to_string(n)) ||
            SameName(panel, StatusLine::PanelKey(n))) {
            m_e.status.PanelClick(n);
            return {};
        }
    }
    return Error{"unknown panel " + Quoted(panel) + " (PANEL1 to PANEL" +
                 std::to_string(StatusLine::PanelCount) + " or DupSw)"};
}

void ScriptRunner::show()
{
    const double T = m_e.scr.T();
    const std::string message = m_screen.rowText(T + 4);
    const auto& p = m_e.win.panels;
    m_out << "caption: " << m_e.win.caption << '\n'
          << "heading: " << text::TrimRight(m_screen.rowText(T)) << '\n'
          << "data: " << text::TrimRight(m_screen.rowText(T + 1)) << '\n'
          << "format: " << text::TrimRight(m_screen.rowText(T + 2)) << '\n'
          << "message: "
          << text::TrimRight(message.size() > StatusLine::MessageColumn
                                 ? message.substr(StatusLine::MessageColumn)
                                 : std::string())
          << '\n'
          << "status: " << p[1] << " | " << p[2] << " | "
          << (m_e.win.dupPictureOn ? "dup on" : "dup off") << " | " << p[4] << " | " << p[5]
          << " | " << p[6] << '\n'
          << "record: CurRec=" << m_e.rec.CurRec << " EndRec=" << m_e.rec.EndRec
          << " CurCol=" << m_e.scr.CurCol << " CurFld=" << m_e.fld.CurFld
          << " FldType=" << m_e.fld.FldType << " Verify=" << (m_e.ver.VerifyMode ? "on" : "off")
          << '\n'
          << "colors: text=" << m_e.prefs.TextBackColor << " form=" << m_e.prefs.FormBackColor
          << " message=" << m_screen.cellColor(StatusLine::MessageColumn, T + 4) << '\n'
          << "menus:";
    for (const MenuItem& item : Menu) {
        if (item.ends || (item.visible != nullptr && !item.visible(m_e.win)))
            continue; // Exit: always there, and choosing it ends the script
        const bool enabled = item.enabled == nullptr || item.enabled(m_e.win);
        m_out << ' ' << item.name << (enabled ? '+' : '-');
        if (item.checked != nullptr && item.checked(m_e.win))
            m_out << '*';
    }
    m_out << '\n' << "recent:";
    const char* separator = " ";
    for (int i = 1; i < WindowState::RecentItems; ++i) {
        const auto& item = m_e.win.mnuRecentFile[static_cast<std::size_t>(i)];
        if (!item.visible)
            continue;
        m_out << separator << i << '=' << item.caption;
        separator = " | ";
    }
    m_out << '\n';
    const auto counts = [&](const KeyingCounts& c) {
        m_out << "keys=" << c.keystrokes << " stored=" << c.stored << " corrected=" << c.corrected
              << " verified=" << c.verified << " mismatches=" << c.mismatches
              << " replaced=" << c.replaced << " refused=" << c.refused;
    };
    m_out << "stats: file ";
    if (m_e.stats.FileOpen())
        counts(m_e.stats.file());
    else
        m_out << "none";
    m_out << " | session ";
    counts(m_e.stats.session());
    m_out << '\n';
}

void ScriptRunner::box(const std::string& title, const std::string& text)
{
    m_out << "box: " << title << " | " << OneLine(text) << '\n';
}
