#include "statusbar/Toolbar.h"

#include "engine/Engine.h"

bool Toolbar::Offered(Button b) const
{
    switch (b) {
    case ImgFileNew:
        return m_e.win.mnuNew;
    case ImgFileOpen:
        return m_e.win.mnuOpen;
    case ImgFileSave:
        return m_e.win.SaveData;
    default:
        return true;
    }
}

void Toolbar::set(Picture p, std::initializer_list<Button> buttons)
{
    for (const Button b : buttons)
        shown[b] = p;
}

void Toolbar::MouseDown(Button b)
{
    if (!Offered(b))
        return;
    shown[b] = Picture::Pressed;
    if (b == ImgFileOpen)
        set(Picture::Flat, {ImgFileNew, ImgFileSave});
}

void Toolbar::MouseMove(Button b)
{
    if (!Offered(b))
        return;
    shown[b] = Picture::Raised;
    switch (b) {
    case ImgFileOpen:
        set(Picture::Flat, {ImgFileNew, ImgFileSave, ImgFmt, ImgPrf});
        break;
    case ImgFileSave: // only New and Open: a Format left raised stays so
        set(Picture::Flat, {ImgFileNew, ImgFileOpen});
        break;
    case ImgFmt:
        set(Picture::Flat, {ImgPrf, ImgFileNew, ImgFileOpen, ImgFileSave});
        break;
    case ImgPrf:
        set(Picture::Flat, {ImgFmt, ImgFileNew, ImgFileOpen, ImgFileSave});
        break;
    case ImgFileNew:
    case ButtonCount:
        break;
    }
}

void Toolbar::MouseUp(Button b)
{
    if (!Offered(b))
        return;
    if (b == ImgFileOpen)
        return; // stays pressed until the pointer moves
    shown[b] = b == ImgPrf ? Picture::Flat : Picture::Raised;
}

Toolbar::Opens Toolbar::Click(Button b)
{
    if (!Offered(b))
        return Opens::Nothing;
    switch (b) {
    case ImgFileNew:
        m_e.file.mnuNew_Click();
        break;
    case ImgFileOpen:
        m_e.file.mnuOpen_Click();
        break;
    case ImgFileSave:
        // With no file open there is nothing to save, and "File Saved" would mislead.
        if (m_e.file.DataFileNo.isOpen())
            m_e.file.ImgFileSave_Click();
        break;
    case ImgFmt:
        m_e.fmtEditor.mnuVwFmt_Click();
        return Opens::FormatEditor;
    case ImgPrf:
        m_e.prefsForm.Show();
        return Opens::Preferences;
    case ButtonCount:
        break;
    }
    return Opens::Nothing;
}

void Toolbar::MoveOutside()
{
    shown.fill(Picture::Flat);
}
