#pragma once

#include <array>
#include <string>

// Everything of the main window besides the entry screen that the engine decides: caption,
// menu states, status panels and the previous-record box. The window reads it after each
// event; the revision tells it whether anything changed.
struct WindowState {
    static constexpr const char* StartCaption = "KORVALEN Data Entry and Verification - Orlenmark";

    std::string caption = StartCaption;

    // File menu
    bool mnuNew = true, mnuOpen = true, mnuClose = false, SaveData = false;
    bool mnuVerifyChecked = false;
    // Edit menu
    bool mnuBack = false, mnuFwd = false, mnuInsRec = false, mnuDelRec = false;
    // The recent files below Exit: item 0 is their separator, items 1..5 the files.
    struct MenuItem {
        std::string caption;
        bool visible = false;
        bool enabled = true;
    };
    static constexpr int RecentItems = 6;
    std::array<MenuItem, RecentItems> mnuRecentFile{
        MenuItem{"-"},           MenuItem{"RecentFile1"}, MenuItem{"RecentFile2"},
        MenuItem{"RecentFile3"}, MenuItem{"RecentFile4"}, MenuItem{"RecentFile5"}};
    // Help menu: Showtips
    bool mnuTipsChecked = true;
    // Tools menu
    bool mnuCut = true;
    bool mnuPrefs = true;

    // Status panels 1..6 (index 0 unused); panel 3 is the duplicate switch picture.
    std::array<std::string, 7> panels;
    bool dupPictureOn = false;

    bool previousVisible = false;
    std::string previousText;

    unsigned revision = 0;
};
