#include "script/ReplayDialogs.h"

#include <algorithm>

namespace
{

bool Fits(Dialogs::Answer a, Dialogs::Buttons buttons)
{
    using A = Dialogs::Answer;
    switch (buttons) {
    case Dialogs::Buttons::OK:
        return a == A::OK;
    case Dialogs::Buttons::OKCancel:
        return a == A::OK || a == A::Cancel;
    case Dialogs::Buttons::YesNo:
    case Dialogs::Buttons::YesNoDefaultNo:
        return a == A::Yes || a == A::No;
    }
    return false;
}

// What a box left unanswered gives: its default button.
Dialogs::Answer FirstButton(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::YesNo:
        return Dialogs::Answer::Yes;
    case Dialogs::Buttons::YesNoDefaultNo:
        return Dialogs::Answer::No;
    case Dialogs::Buttons::OK:
    case Dialogs::Buttons::OKCancel:
        break;
    }
    return Dialogs::Answer::OK;
}

std::string ButtonNames(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::OK:
        return "OK";
    case Dialogs::Buttons::OKCancel:
        return "OK/Cancel";
    case Dialogs::Buttons::YesNo:
    case Dialogs::Buttons::YesNoDefaultNo:
        return "Yes/No";
    }
    return {};
}

} // namespace

std::string ReplayDialogs::AnswerName(Answer a)
{
    switch (a) {
    case Answer::OK:
        return "OK";
    case Answer::Cancel:
        return "Cancel";
    case Answer::Yes:
        return "Yes";
    case Answer::No:
        return "No";
    }
    return {};
}

std::optional<std::string> ReplayDialogs::takeMisfit()
{
    auto m = std::move(m_misfit);
    m_misfit.reset();
    return m;
}

Dialogs::Answer ReplayDialogs::messageBox(const std::string& text, const std::string& title,
                                          Buttons buttons, Icon)
{
    if (onBox)
        onBox(title, text);
    if (m_answers.empty())
        return FirstButton(buttons);
    const Answer a = m_answers.front();
    m_answers.pop_front();
    if (Fits(a, buttons))
        return a;
    m_misfit = "answer " + AnswerName(a) + " is not a button of the box '" + title + "' (" +
               ButtonNames(buttons) + ")";
    return FirstButton(buttons);
}

std::optional<std::string> ReplayDialogs::nextText(const char* dialog)
{
    if (m_texts.empty())
        return std::nullopt;
    auto t = std::move(m_texts.front());
    m_texts.pop_front();
    if (!t)
        m_misfit = std::string("accept answers an input box, not the ") + dialog;
    return t;
}

std::optional<std::string> ReplayDialogs::inputBox(const std::string&, const std::string&,
                                                   const std::string& def)
{
    if (m_texts.empty())
        return std::nullopt;
    auto t = std::move(m_texts.front());
    m_texts.pop_front();
    return t ? *t : def;
}

std::optional<std::string> ReplayDialogs::openFile(const OpenRequest&)
{
    const auto name = nextText("Open dialog");
    if (!name || name->empty())
        return name;
    // The real dialog hands back a full path.
    const std::filesystem::path p(*name);
    return p.is_absolute() ? *name : (m_baseDir / p).string();
}

std::optional<Color> ReplayDialogs::pickColor(Color)
{
    const auto text = nextText("colour picker");
    if (!text)
        return std::nullopt;
    const bool digits =
        !text->empty() && text->size() <= 8 &&
        std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
    const unsigned long value = digits ? std::stoul(*text) : 0;
    if (!digits || value > 0xFFFFFF) {
        m_misfit = "choose " + *text + " is no colour (a decimal number up to 16777215)";
        return std::nullopt;
    }
    return static_cast<Color>(value);
}

Dialogs::FormatChoice ReplayDialogs::chooseFormat(const std::vector<std::string>& entries)
{
    const auto text = nextText("format selection");
    if (!text)
        return {};
    FormatChoice c;
    c.accepted = true;
    c.text = *text;
    const auto it = std::find(entries.begin(), entries.end(), c.text);
    c.selected = it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
    return c;
}

bool ReplayDialogs::progress(const std::string&, std::int64_t, std::int64_t)
{
    return true; // a replayed session runs its work to the end
}
