#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class Engine;

// The "Tip of the Day" window as the program sees it: the tips of TIPOFDAY.TXT, the one
// shown, and its buttons. Each start shows the tip after the one shown last.
class TipOfDay
{
public:
    // The tip switch is kept under the program's own name, the tip counter under the
    // application's.
    static constexpr const char* ExeName = "korvalen";
    static constexpr const char* TipsFile = "TIPOFDAY.TXT";

    explicit TipOfDay(Engine& e) : m_e(e) {}

    std::vector<std::string> Tips; // 1-based in the operator's words: Tips[0] is tip 1
    std::int32_t CurrentTip = 0;
    std::string lblTipText;
    bool chkLoadTipsAtStartup = false;
    bool Visible = false;

    // At start-up: shows the next tip, or nothing when tips are off (then Help > Showtips
    // loses its check mark).
    void Form_Load();
    bool LoadTips(const std::filesystem::path& file);
    void NextTip();
    void PrevTip();
    void DisplayCurrentTip();
    void chkLoadTipsAtStartup_Click(bool checked);
    void cmdOK_Click();

    // Help > Showtips: the switch for the next start.
    void mnuTips_Click();

private:
    void Form_Unload();

    Engine& m_e;
};
