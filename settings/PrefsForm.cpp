#include "settings/PrefsForm.h"

#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "settings/SettingsStore.h"

void PrefsForm::Form_Load()
{
    FillMemBoxes();
    DupkeyF12 = m_e.prefs.DupKeyCode != Preferences::DupKey7;
    Check1 = m_e.prefs.UptronSw;
}

void PrefsForm::FillMemBoxes()
{
    for (int n = 2; n <= 9; ++n)
        MemKeyStored(n);
}

void PrefsForm::MemKeyStored(int n)
{
    // The padding is no part of what the operator sees in the box.
    const auto i = static_cast<std::size_t>(n);
    Mem[i] = text::TrimRight(m_e.prefs.MemKeys[i]);
}

void PrefsForm::Show()
{
    Visible = true;
}

void PrefsForm::DupkeyF12_Click()
{
    DupkeyF12 = true;
    m_e.prefs.DupKeyCode = Preferences::DupKeyF12;
}

void PrefsForm::DupKey7_Click()
{
    DupkeyF12 = false;
    m_e.prefs.DupKeyCode = Preferences::DupKey7;
}

void PrefsForm::cmdTxtclr_Click()
{
    pickColor(m_e.prefs.TextBackColor, "f1");
}

void PrefsForm::cmdBkClr_Click()
{
    pickColor(m_e.prefs.FormBackColor, "f2");
}

void PrefsForm::pickColor(Color& color, const char* key)
{
    const auto chosen = m_e.dialogs.pickColor(color);
    if (!chosen) {
        m_e.MsgBox("Cancelled");
        return;
    }
    // Used from the next drawing on; nothing on the screen changes now.
    color = *chosen;
    m_e.store.saveSetting(Preferences::AppName, "formcolor", key, std::to_string(*chosen));
}

void PrefsForm::OK_Click()
{
    Preferences& p = m_e.prefs;
    for (std::size_t i = 2; i <= 9; ++i)
        p.MemKeys[i] = Preferences::FixedMemText(text::Trim(Mem[i]));
    p.UptronSw = Check1;
    p.SaveMemKeys(m_e.store);
    m_e.store.saveSetting(Preferences::AppName, "dupkey", "dupkey", std::to_string(p.DupKeyCode));
    m_e.store.saveSetting(Preferences::AppName, "uptronsw", "sw", p.UptronSw ? "-1" : "0");
    Visible = false;
    m_e.WindowChanged();
}

void PrefsForm::Cancel_Click()
{
    Visible = false;
}
