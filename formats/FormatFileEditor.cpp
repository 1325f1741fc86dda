#include "formats/FormatFileEditor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include "common/FullIo.h"
#include "common/NewCopy.h"
#include "common/TextUtil.h"
#include "engine/Engine.h"

namespace
{

std::string Capitalised(std::string s)
{
    if (!s.empty() && s.front() >= 'a' && s.front() <= 'z')
        s.front() = static_cast<char>(s.front() - 'a' + 'A');
    return s;
}

} // namespace

void FormatFileEditor::mnuVwFmt_Click()
{
    if (!Visible)
        Form_Load();
    Visible = true;
}

void FormatFileEditor::Form_Load()
{
    ++loads;
    Text.clear();
    caption = DesignCaption;
    Path = m_e.file.FormatFilePath();
    OpenFmtForEdit(Path);
    CaretMoved(0);
}

bool FormatFileEditor::OpenFmtForEdit(const std::string& path)
{
    const auto read = FullIo::ReadFile(m_e.io, path);
    // A file that is there but could not be read must not be replaced by the empty text.
    m_unread = !read && read.error().code != ENOENT;
    if (!read) {
        m_e.MsgBox("Can't open file: " + path + "\r\n" + "Path:" + m_e.AppDir.string() + "." +
                   (m_unread ? "\r\n" + Capitalised(read.error().message) + "." : ""));
        return false;
    }
    caption = EditCaption;
    Text = read.value();
    return true;
}

bool FormatFileEditor::Save_Click()
{
    if (m_unread) {
        m_e.MsgBox("The format file " + Path +
                       " is there but could not be read, so saving would replace every format in "
                       "it with the text shown. Nothing was saved.\nCancel, mend the file (its "
                       "permissions or the disk) and open the editor again.",
                   Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
        return false;
    }
    FileIo& io = m_e.io;
    NewCopy copy(io, Path);
    struct stat st {
    };
    const bool existed = io.stat(Path, st) == 0;
    auto written = copy.create(0666) >= 0 ? Result<void>() : Error{text::SystemError(errno)};
    if (written && existed)
        io.fchmod(copy.fd(), st.st_mode & 07777); // keeps the file's own permissions
    if (written)
        written = FullIo::WriteAt(io, copy.fd(), 0, Text + "\r\n");
    if (written)
        written = copy.replace(Path);
    if (!written) {
        m_e.MsgBox("The format file " + Path + " could not be saved: " + written.error().message +
                       (copy.inPlace() ? ".\nThe new text is in the file, but after a power cut "
                                         "the file may hold the old one; the text stays in the "
                                         "editor, to be saved again."
                                       : ".\nThe file is as it was before; the text stays in "
                                         "the editor."),
                   Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
        return false;
    }
    Visible = false;
    return true;
}

void FormatFileEditor::Cancel_Click()
{
    Visible = false;
}

void FormatFileEditor::CaretMoved(std::size_t pos)
{
    pos = std::min(pos, Text.size());
    CurLine = Countlines(Text, pos);
    CurColumn = LineChar(Text, pos);
}

int FormatFileEditor::Countlines(const std::string& text, std::size_t L)
{
    int line = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos && at + 2 <= L;
         at = text.find("\r\n", at + 2))
        ++line;
    return line;
}

int FormatFileEditor::LineChar(const std::string& text, std::size_t pos)
{
    const auto lf = pos == 0 ? std::string::npos : text.rfind('\n', pos - 1);
    return static_cast<int>(pos - (lf == std::string::npos ? 0 : lf + 1)) + 1;
}
