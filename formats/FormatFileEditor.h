#pragma once

#include <cstddef>
#include <string>

class Engine;

// The FILE.FMT editor as the program sees it: the text being edited (CR LF line ends, as in
// the file), its caption, and loading and saving. It works beside the main window and never
// touches the open data file.
class FormatFileEditor
{
public:
    static constexpr const char* DesignCaption =
        "File.fmt (located in data file directory) stores the formats/structures of data files ";
    static constexpr const char* EditCaption = "Editing FILE.FMT - Format/structure file";
    static constexpr const char* Notes =
        "Notes about FILE.FMT:   In the text box at right are structure / format definitions . "
        "There is one short line ( Name of Format) followed by one Or more pairs of lines . If "
        "there is only one pair there is no slash after the format name . If there is a slash "
        "and a number the number represents the no. of pairs in the format . A pair of lines "
        "consists of one Heading and one Format line.  The Heading line maybe blank but MUST "
        "contain one Carriage Return.  ANY text editor can be used to edit FILE.FMT";
    static constexpr const char* Legend =
        "A-Alpha,M-Alpha only  N-Numeric, B-Numeric space fill, P-Numeric space fill,  "
        "D-Duplicate, L-Alpha Dup, Y-AutoIncrement , R- Right-Adjust Numeric, J-Right-Adjust "
        "Alpha, S-Skip, E-End of Format Line. F12 is Duplicate key.";

    explicit FormatFileEditor(Engine& e) : m_e(e) {}

    std::string Text; // as edited
    std::string caption = DesignCaption;
    std::string Path; // the file loaded and saved
    bool Visible = false;
    unsigned loads = 0; // counts Form_Load, so a window knows when to show the text anew
    // The caret's line and column (from 1), as the status panels show them.
    int CurLine = 1;
    int CurColumn = 1;

    // Tools > Edit Format File: loads FILE.FMT of the data folder unless the editor is open.
    void mnuVwFmt_Click();
    void Form_Load();
    // Reads the file into the text; tells the operator when it cannot.
    bool OpenFmtForEdit(const std::string& path);
    // Writes the text and CR LF over the file, through a copy renamed into place; the editor
    // closes only once that is done, and stays open with the text when it fails.
    bool Save_Click();
    void Cancel_Click();
    // The caret moved to offset pos of the text.
    void CaretMoved(std::size_t pos);

    // Line of offset L (CR LF pairs before it, plus 1) and column of offset pos (characters
    // since the LF before it, plus 1).
    static int Countlines(const std::string& text, std::size_t L);
    static int LineChar(const std::string& text, std::size_t pos);

private:
    Engine& m_e;
    bool m_unread = false; // the file is there, but could not be read
};
