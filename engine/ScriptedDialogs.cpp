#include "engine/ScriptedDialogs.h"

#include <algorithm>

Dialogs::Answer ScriptedDialogs::messageBox(const std::string& text, const std::string& title,
                                            Buttons buttons, Icon icon)
{
    boxes.push_back({text, title, buttons, icon});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::Yes;
    case Buttons::YesNoDefaultNo:
        return Answer::No;
    case Buttons::OK:
    case Buttons::OKCancel:
        break;
    }
    return Answer::OK;
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& prompt,
                                                     const std::string& title,
                                                     const std::string& def)
{
    inputRequests.push_back({prompt, title, def});
    if (inputAnswers.empty())
        return std::nullopt;
    std::string a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::openFile(const OpenRequest& request)
{
    openRequests.push_back(request);
    if (openAnswers.empty())
        return std::nullopt;
    std::string a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

std::optional<Color> ScriptedDialogs::pickColor(Color)
{
    if (colorAnswers.empty())
        return std::nullopt;
    const Color c = colorAnswers.front();
    colorAnswers.pop_front();
    return c;
}

Dialogs::FormatChoice ScriptedDialogs::chooseFormat(const std::vector<std::string>& entries)
{
    formatLists.push_back(entries);
    if (!m_entries.empty()) {
        FormatChoice c;
        c.accepted = true;
        c.text = m_entries.front();
        m_entries.pop_front();
        const auto it = std::find(entries.begin(), entries.end(), c.text);
        c.selected = it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
        return c;
    }
    if (formatAnswers.empty())
        return {};
    FormatChoice c = formatAnswers.front();
    formatAnswers.pop_front();
    return c;
}

std::vector<std::string> ScriptedDialogs::texts() const
{
    std::vector<std::string> out;
    for (const auto& b : boxes)
        out.push_back(b.text);
    return out;
}

bool ScriptedDialogs::progress(const std::string&, std::int64_t, std::int64_t)
{
    ++progressReports;
    if (onProgress)
        onProgress();
    return cancelProgressAt == 0 || progressReports < cancelProgressAt;
}
