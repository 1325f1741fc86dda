#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "engine/Dialogs.h"

// Dialogs for a replayed session: message boxes take queued answers (or their first
// button) and are reported as they appear; the Open dialog, input box, format selection and
// colour picker take the next text of one shared queue and are cancelled when it is empty.
// An input box can also be told to take its default text.
class ReplayDialogs : public Dialogs
{
public:
    // Relative names chosen in the Open dialog are taken inside baseDir.
    explicit ReplayDialogs(std::filesystem::path baseDir) : m_baseDir(std::move(baseDir)) {}

    // Called with every message box as it is shown.
    std::function<void(const std::string& title, const std::string& text)> onBox;

    void queueAnswer(Answer a) { m_answers.push_back(a); }
    void queueText(std::string text) { m_texts.push_back(std::move(text)); }
    void queueDefault() { m_texts.push_back(std::nullopt); }

    // Set when a queued answer was none of its box's buttons (the box took its first one
    // instead); reading it clears it.
    std::optional<std::string> takeMisfit();

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& def) override;
    std::optional<std::string> openFile(const OpenRequest& request) override;
    std::optional<Color> pickColor(Color initial) override;
    FormatChoice chooseFormat(const std::vector<std::string>& entries) override;
    bool progress(const std::string& label, std::int64_t done, std::int64_t total) override;

    static std::string AnswerName(Answer a);

private:
    // The next queued text; an input box's default where only an input box may take it.
    std::optional<std::string> nextText(const char* dialog);

    std::filesystem::path m_baseDir;
    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_texts; // nullopt: the input box's default
    std::optional<std::string> m_misfit;
};
