#include "formats/FormatFileEditor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include "common/TextUtil.h"
#include "datafile/DataFile.h"
#include "datafile/FullIo.h"
#include "datafile/NewCopy.h"
#include "engine/Engine.h"

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
    const auto read = text::ReadFile(path);
    if (!read) {
        m_e.MsgBox("Can't open file: " + path + "\r\n" + "Path:" + m_e.AppDir.string() + ".");
        return false;
    }
    caption = EditCaption;
    Text = read.value();
    return true;
}

bool FormatFileEditor::Save_Click()
{
    FileIo& io = m_e.io;
    NewCopy copy(io, DataFile::CopyPrefix(Path));
    struct stat st {
    };
    const bool existed = ::stat(Path.c_str(), &st) == 0;
    auto written = copy.create(0666) >= 0 ? Result<void>() : Error{text::SystemError(errno)};
    if (written && existed)
        io.fchmod(copy.fd(), st.st_mode & 07777); // keeps the file's own permissions
    if (written)
        written = FullIo::WriteAt(io, copy.fd(), 0, Text + "\r\n");
    if (written)
        written = copy.replace(Path);
    if (!written) {
        m_e.MsgBox("The format file " + Path + " could not be saved: " + written.error().message +
                       ".\nThe file is as it was before; the text stays in the editor.",
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
