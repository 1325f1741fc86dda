#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include <QMainWindow>

#include "engine/Engine.h"
#include "keying/ScreenModel.h"

class EntryScreenWidget;
class frmFieldTotals;
class frmKvlPrefs;
class frmStats;
class frmVerifyLog;
class frmVwFmtFile;
class StatusPanel;
class ToolbarStrip;
struct KeyStroke;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QtDialogs;
class SettingsStore;

// The main window: menus, status bar and entry screen around the engine. It forwards the
// operator's commands to the engine and shows the engine's window state after each one.
class frmKvl : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int InitialCols = 100;
    static constexpr int InitialHeightPx = 560;
    // The desktop's program that shows a file with the viewer the user chose.
    static constexpr const char* Opener = "xdg-open";

    // The program's own files, and the folder the operator's files are opened from at first.
    struct Folders {
        std::filesystem::path app, data;
    };

    // Without dialogs the window shows real Qt dialogs; tests pass scripted ones.
    frmKvl(const Folders& folders, SettingsStore& store, Dialogs* dialogs = nullptr,
           QWidget* parent = nullptr);
    // The application directory is the data folder too, as in the build folder.
    frmKvl(const std::filesystem::path& appDir, SettingsStore& store, Dialogs* dialogs = nullptr,
           QWidget* parent = nullptr)
        : frmKvl(Folders{appDir, appDir}, store, dialogs, parent)
    {
    }
    ~frmKvl() override;

    // Shows what the engine changed: the window state when its revision moved, and the
    // dirty part of the entry screen.
    void refresh();
    // The tip of the day after start-up, unless tips are off.
    void showTipOfDay();
    // What the window shows the engine's state of; tests look at it.
    const Engine& engine() const { return m_engine; }

protected:
    // Left clicks on the status panels, a click being a release inside the panel pressed.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildToolsMenu();
    void buildHelpMenu();
    void buildStatusBar();
    int panelNumber(const QObject* watched) const; // 0 when not a panel
    void buildPreviousBox();
    void buildToolbar();
    void connectScreen();
    void keyToEngine(const KeyStroke& key);

    QAction* makeAction(QMenu* menu, const QString& text, const QString& name);
    QAction* addCommand(QMenu* menu, const QString& text, const QString& name,
                        std::function<void()> command);

    // Each part touches only the controls whose state changed since it was last shown.
    void showWindowState();
    void showMenus(const WindowState& w, const WindowState* shown);
    void showRecentFiles(const WindowState& w, const WindowState* shown);
    void showPanels(const WindowState& w, const WindowState* shown);
    void showPreviousBox(const WindowState& w, const WindowState* shown);
    void showDupPicture(bool on);
    void placePreviousBox();
    void followCellSize();
    QFont scaledFont(QFont font) const;
    void snapSize();
    void terminateOnce();
    void showHelp();
    void showFieldTotals();

    std::unique_ptr<QtDialogs> m_ownDialogs;
    ScreenModel m_model;
    Engine m_engine;

    // Qt children of this window.
    EntryScreenWidget* m_screen = nullptr;
    QLineEdit* m_previous = nullptr;
    QLabel* m_lblPrv = nullptr;
    std::array<StatusPanel*, 7> m_panels{}; // 1..6
    QAction* m_mnuNew = nullptr;
    QAction* m_mnuOpen = nullptr;
    QAction* m_mnuClose = nullptr;
    QAction* m_saveData = nullptr;
    QAction* m_mnuVerify = nullptr;
    QAction* m_mnuBack = nullptr;
    QAction* m_mnuFwd = nullptr;
    QAction* m_mnuInsRec = nullptr;
    QAction* m_mnuDelRec = nullptr;
    std::array<QAction*, WindowState::RecentItems> m_mnuRecentFile{}; // 0 is the separator
    QAction* m_mnuCut = nullptr;
    QAction* m_mnuPrefs = nullptr;
    frmKvlPrefs* m_prefs = nullptr;
    frmVwFmtFile* m_fmtEditor = nullptr;
    frmFieldTotals* m_fieldTotals = nullptr; // made when first opened
    frmStats* m_statsWindow = nullptr;
    frmVerifyLog* m_verifyLogWindow = nullptr;
    QAction* m_mnuTips = nullptr;
    ToolbarStrip* m_toolbar = nullptr;

    std::optional<unsigned> m_shownRevision;
    std::optional<WindowState> m_shownState;
    std::optional<bool> m_shownDupOn;
    int m_shownCellWidth = 0;
    int m_pressedPanel = 0; // the panel the left button went down on
    bool m_terminated = false;
    bool m_snapping = false;
};
