#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keying/Surface.h"

// The modal dialogs the program asks the operator through. The Qt front end shows real
// dialogs; tests give scripted answers and record what was shown.
class Dialogs
{
public:
    // YesNoDefaultNo: No is the default button, taken by Enter and by a box left unanswered.
    enum class Buttons { OK, OKCancel, YesNo, YesNoDefaultNo };
    enum class Icon { None, Question, Exclamation, Information };
    enum class Answer { OK, Cancel, Yes, No };

    struct OpenRequest {
        std::string title;
        std::vector<std::string> filters; // "Korvalen Files (*.dat)" ..., the first selected
        std::string startDir;
        std::string lastName; // the name chosen last, shown again
    };

    struct FormatChoice {
        bool accepted = false; // closed with OK
        int selected = -1;     // index of the chosen list entry, -1 when text was typed
        std::string text;      // the text line's content
    };

    virtual ~Dialogs() = default;

    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                              Icon icon) = 0;
    // nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& def) = 0;
    // The full path of the chosen file (it may not exist); nullopt when cancelled.
    virtual std::optional<std::string> openFile(const OpenRequest& request) = 0;
    virtual std::optional<Color> pickColor(Color initial) = 0;
    // The format selection dialog over the entries "NAME-LENGTH" of FILE.FMT.
    virtual FormatChoice chooseFormat(const std::vector<std::string>& entries) = 0;
    // Long work reports how far it is (done of total bytes); a window shows a progress
    // dialog once the work has taken about half a second, and closes it when done reaches
    // total. False once the operator has cancelled.
    virtual bool progress(const std::string& label, std::int64_t done, std::int64_t total) = 0;
};
