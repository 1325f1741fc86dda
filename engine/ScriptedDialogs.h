#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/Dialogs.h"

// Dialogs for runs without a screen (tests, benchmarks, replayed sessions): they answer from
// queues and record what was shown. A message box with no queued answer takes its first
// button; an Open dialog or format selection with nothing queued is cancelled.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown {
        std::string text;
        std::string title;
        Buttons buttons;
        Icon icon;
    };

    std::deque<Answer> answers;
    std::deque<std::string> openAnswers;
    std::deque<FormatChoice> formatAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<Color> colorAnswers; // the colour picker is cancelled when empty
    // The progress report that answers "cancelled" (counted from 1); 0 never cancels.
    int cancelProgressAt = 0;
    int progressReports = 0;
    // Called at each progress report, to look at the window while the work goes on.
    std::function<void()> onProgress;

    std::vector<Shown> boxes;
    std::vector<OpenRequest> openRequests;
    struct InputRequest {
        std::string prompt, title, def;
    };
    std::vector<InputRequest> inputRequests;
    std::vector<std::vector<std::string>> formatLists;

    // Queues the choice of a list entry, found by its text (or typed when not listed).
    void chooseEntry(const std::string& text) { m_entries.push_back(text); }

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& def) override;
    std::optional<std::string> openFile(const OpenRequest& request) override;
    std::optional<Color> pickColor(Color initial) override;
    FormatChoice chooseFormat(const std::vector<std::string>& entries) override;
    bool progress(const std::string& label, std::int64_t done, std::int64_t total) override;

    // Texts of the message boxes shown, in order.
    std::vector<std::string> texts() const;

private:
    std::deque<std::string> m_entries;
};
