#include "app/frmKvl.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>

#include "app/EntryScreenWidget.h"
#include "app/KeyTranslation.h"
#include "app/QtDialogs.h"
#include "app/QtText.h"
#include "app/StatusPanel.h"
#include "app/ToolbarStrip.h"
#include "app/frmFieldTotals.h"
#include "app/frmKvlPrefs.h"
#include "app/frmStats.h"
#include "app/frmTip.h"
#include "app/frmVerifyLog.h"
#include "app/frmVwFmtFile.h"
#include "common/FindFile.h"
#include "common/FullIo.h"

namespace
{

QString PathText(const std::filesystem::path& p)
{
    return QtText::Path(p.string());
}

QFont MonoFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    return font;
}

constexpr int PanelCount = 6;
constexpr int PanelMinWidths[PanelCount + 1] = {0, 0, 42, 109, 71, 71, 85};

// Whether a part of the engine's window state differs from what the window shows; every
// part does before the window has shown any.
template <class T>
bool Changed(const WindowState* shown, const WindowState& now, T WindowState::*part)
{
    return !shown || shown->*part != now.*part;
}

} // namespace

frmKvl::frmKvl(const Folders& folders, SettingsStore& store, Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this)),
      m_engine(m_model, dialogs ? *dialogs : *m_ownDialogs, store, folders.app)
{
    m_engine.DataHome = folders.data;
    m_screen = new EntryScreenWidget(m_model, this);
    m_screen->setObjectName(QStringLiteral("EntryScreen"));
    setCentralWidget(m_screen);
    buildMenus();
    buildStatusBar();
    buildPreviousBox();
    buildToolbar();
    connectScreen();
    if (m_ownDialogs)
        m_ownDialogs->setBeforeMessage([this] { refresh(); });

    const QSize avail = screen() ? screen()->availableGeometry().size() : QSize(1024, 768);
    setMinimumSize(avail / 2);
    resize(std::max(InitialCols * Surface::CellWidth, avail.width() / 2),
           std::max(InitialHeightPx, avail.height() / 2));
    m_screen->setFocus();

    m_engine.LoadSettings();
    m_engine.Form_Load();
    refresh();
}

frmKvl::~frmKvl()
{
    // Children outlive the engine: nothing they report may reach it any more, and the
    // side windows stop looking at it.
    m_screen->disconnect(this);
    m_statsWindow->hide();
    m_verifyLogWindow->hide();
    // A window destroyed without being closed still saves what Exit saves.
    terminateOnce();
}

void frmKvl::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildToolsMenu();
    buildHelpMenu();
}

QAction* frmKvl::makeAction(QMenu* menu, const QString& text, const QString& name)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

QAction* frmKvl::addCommand(QMenu* menu, const QString& text, const QString& name,
                            std::function<void()> command)
{
    QAction* action = makeAction(menu, text, name);
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        command();
        refresh();
    });
    return action;
}

void frmKvl::buildFileMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&File"));
    DataFileLifecycle& file = m_engine.file;
    m_mnuNew = addCommand(menu, QStringLiteral("&New Data File"), QStringLiteral("mnuNew"),
                          [&file] { file.mnuNew_Click(); });
    m_mnuOpen = addCommand(menu, QStringLiteral("&Open"), QStringLiteral("mnuOpen"),
                           [&file] { file.mnuOpen_Click(); });
    m_mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuClose = addCommand(menu, QStringLiteral("&Close"), QStringLiteral("mnuClose"),
                            [&file] { file.mnuClose_Click(); });
    m_saveData = addCommand(menu, QStringLiteral("File &Save"), QStringLiteral("SaveData"),
                            [&file] { file.SaveData_Click(); });
    m_saveData->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuVerify = addCommand(menu, QStringLiteral("&Verify"), QStringLiteral("mnuVerify"), [this] {
        m_engine.mnuVerify_Click();
        // Qt flipped the check already; the engine may have refused the switch.
        m_mnuVerify->setChecked(m_engine.win.mnuVerifyChecked);
    });
    m_mnuVerify->setCheckable(true);
    menu->addSeparator();
    QAction* exit = makeAction(menu, QStringLiteral("E&xit"), QStringLiteral("mnuExit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_mnuRecentFile[0] = menu->addSeparator();
    m_mnuRecentFile[0]->setObjectName(QStringLiteral("mnuRecentFile0"));
    for (int i = 1; i < WindowState::RecentItems; ++i)
        m_mnuRecentFile[static_cast<std::size_t>(i)] =
            addCommand(menu, {}, QStringLiteral("mnuRecentFile%1").arg(i),
                       [this, i] { m_engine.recent.mnuRecentFile_Click(i); });
}

void frmKvl::buildEditMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Edit"));
    RecordStore& rec = m_engine.rec;
    m_mnuBack = addCommand(menu, QStringLiteral("&Previous Record"), QStringLiteral("mnuBack"),
                           [&rec] { rec.GoBack(); });
    m_mnuFwd = addCommand(menu, QStringLiteral("&Next Record"), QStringLiteral("mnuFwd"),
                          [&rec] { rec.GoFwd(); });
    m_mnuInsRec = addCommand(menu, QStringLiteral("&Insert Record "), QStringLiteral("mnuInsRec"),
                             [&rec] { rec.mnuInsRec_Click(); });
    m_mnuInsRec->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_mnuDelRec = addCommand(menu, QStringLiteral("&Delete Record"), QStringLiteral("mnuDelRec"),
                             [&rec] { rec.mnuDelRec_Click(); });
    m_mnuDelRec->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
}

void frmKvl::buildViewMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&View"));
    EntryScreen& scr = m_engine.scr;
    addCommand(menu, QStringLiteral("&Larger Text"), QStringLiteral("mnuLarger"),
               [&scr] { scr.LargerText(); })
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    addCommand(menu, QStringLiteral("&Smaller Text"), QStringLiteral("mnuSmaller"), [&scr] {
        scr.SmallerText();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    addCommand(menu, QStringLiteral("&Normal Size"), QStringLiteral("mnuNormalSize"), [&scr] {
        scr.NormalSize();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void frmKvl::buildToolsMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Tools"));
    m_mnuCut = addCommand(menu, QStringLiteral("&Cut"), QStringLiteral("mnuCut"),
                          [this] { m_engine.cut.mnuCut_Click(); });
    m_fmtEditor = new frmVwFmtFile(m_engine.fmtEditor, this);
    addCommand(menu, QStringLiteral("&Edit Format File"), QStringLiteral("mnuVwFmt"), [this] {
        m_engine.fmtEditor.mnuVwFmt_Click();
        m_fmtEditor->showFromModel();
    });
    addCommand(menu, QStringLiteral("Field &Totals"), QStringLiteral("mnuFieldTotals"),
               [this] { showFieldTotals(); });
    m_prefs = new frmKvlPrefs(m_engine.prefsForm, this);
    m_mnuPrefs = addCommand(menu, QStringLiteral("O&ptions"), QStringLiteral("mnuPrefs"),
                            [this] { m_prefs->showModal(); });
    menu->addSeparator();
    m_statsWindow = new frmStats(m_engine.stats, this);
    addCommand(menu, QStringLiteral("&Statistics"), QStringLiteral("mnuStats"),
               [this] { m_statsWindow->showBeside(); });
    m_verifyLogWindow = new frmVerifyLog(m_engine, this);
    addCommand(menu, QStringLiteral("Verification &Log"), QStringLiteral("mnuVerifyLog"),
               [this] { m_verifyLogWindow->showBeside(); });
}

void frmKvl::buildHelpMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(menu, QStringLiteral("Korvalen Help"), QStringLiteral("Kvhelp"), [this] {
        showHelp();
    })->setShortcut(QKeySequence(Qt::Key_F1));
    m_mnuTips = addCommand(menu, QStringLiteral("Showtips"), QStringLiteral("mnuTips"),
                           [this] { m_engine.tip.mnuTips_Click(); });
    m_mnuTips->setCheckable(true);
    addCommand(menu, QStringLiteral("About"), QStringLiteral("mnuAbout"),
               [this] { m_engine.mnuAbout_Click(); });
}

void frmKvl::showFieldTotals()
{
    // Nothing follows the file's records until the operator asks for the totals.
    if (!m_fieldTotals)
        m_fieldTotals = new frmFieldTotals(m_engine, this);
    m_fieldTotals->showBeside();
}

void frmKvl::showTipOfDay()
{
    m_engine.tip.Form_Load();
    if (m_engine.tip.Visible) {
        frmTip tip(m_engine.tip, this);
        tip.showModal();
    }
    refresh();
}

void frmKvl::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    for (int n = 1; n <= PanelCount; ++n) {
        auto* panel = new StatusPanel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(n));
        panel->setToolTip(QtText::Display(std::string(StatusLine::PanelToolTip(n))));
        panel->setMinimumWidth(PanelMinWidths[n]);
        bar->addPermanentWidget(panel, n == 1 ? 1 : 0);
        panel->installEventFilter(this);
        m_panels[static_cast<std::size_t>(n)] = panel;
    }
    m_panels[3]->setAlignment(Qt::AlignCenter);
}

int frmKvl::panelNumber(const QObject* watched) const
{
    const auto it = std::find(m_panels.begin() + 1, m_panels.end(), watched);
    return it == m_panels.end() ? 0 : static_cast<int>(it - m_panels.begin());
}

bool frmKvl::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_screen && type == QEvent::MouseMove)
        m_toolbar->pointerOutside();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const int n = press || type == QEvent::MouseButtonRelease ? panelNumber(watched) : 0;
    if (n == 0 || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QMainWindow::eventFilter(watched, event);
    // A double click is the second click's press: it arms the panel and the release that
    // follows clicks, so two clicks toggle twice.
    if (press) {
        m_pressedPanel = n;
        return true;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool clicked =
        m_pressedPanel == n &&
        m_panels[static_cast<std::size_t>(n)]->rect().contains(mouse->position().toPoint());
    m_pressedPanel = 0;
    if (clicked) {
        m_engine.status.PanelClick(n);
        refresh();
    }
    return true;
}

void frmKvl::buildPreviousBox()
{
    m_previous = new QLineEdit(m_screen);
    m_previous->setObjectName(QStringLiteral("Previous"));
    m_previous->setReadOnly(true);
    m_previous->setFocusPolicy(Qt::NoFocus);
    m_previous->hide();
    m_lblPrv = new QLabel(QStringLiteral("Previous Record"), m_screen);
    m_lblPrv->setObjectName(QStringLiteral("LblPrv"));
    m_lblPrv->hide();
}

void frmKvl::buildToolbar()
{
    m_toolbar = new ToolbarStrip(m_engine.toolbar, m_screen);
    m_toolbar->setAutoFillBackground(true);
    m_toolbar->setGeometry(0, 0, m_screen->width(), ToolbarStrip::HeightPx);
    // The entry band starts below the strip, whatever its height.
    m_engine.scr.setToolbarHeightPx(m_toolbar->height());
    m_screen->setMouseTracking(true);
    m_screen->installEventFilter(this);
    connect(m_toolbar, &ToolbarStrip::clicked, this, [this](Toolbar::Opens opens) {
        if (opens == Toolbar::Opens::FormatEditor)
            m_fmtEditor->showFromModel();
        else if (opens == Toolbar::Opens::Preferences)
            m_prefs->showModal();
        refresh();
    });
}

void frmKvl::connectScreen()
{
    // The menus are built by now; their shortcuts stay theirs.
    QList<QKeySequence> menuKeys;
    for (const QAction* action : menuBar()->findChildren<QAction*>())
        menuKeys.append(action->shortcuts());
    m_screen->setMenuKeys(std::move(menuKeys));
    connect(m_screen, &EntryScreenWidget::keyPressed, this, &frmKvl::keyToEngine);
    connect(m_screen, &EntryScreenWidget::focusGained, this, [this] {
        m_engine.scr.FocusGained();
        refresh();
    });
    connect(m_screen, &EntryScreenWidget::focusLost, this, [this] {
        m_engine.scr.FocusLost();
        refresh();
    });
    connect(m_screen, &EntryScreenWidget::clicked, this, [this] {
        m_engine.Form_Click();
        refresh();
    });
    connect(m_screen, &EntryScreenWidget::resized, this, [this] {
        placePreviousBox();
        m_toolbar->resize(m_screen->width(), m_toolbar->height());
        m_engine.scr.Resized();
        refresh();
    });
}

void frmKvl::keyToEngine(const KeyStroke& key)
{
    m_engine.keys.Press(key);
    refresh();
}

void frmKvl::refresh()
{
    if (m_shownCellWidth != m_model.cellWidth())
        followCellSize();
    if (m_shownRevision != m_engine.win.revision) {
        showWindowState();
        m_shownRevision = m_engine.win.revision;
    }
    m_screen->flushDirty();
}

void frmKvl::showWindowState()
{
    const WindowState& w = m_engine.win;
    const WindowState* shown = m_shownState ? &*m_shownState : nullptr;
    if (Changed(shown, w, &WindowState::caption))
        setWindowTitle(QtText::Display(w.caption));
    showMenus(w, shown);
    showRecentFiles(w, shown);
    m_toolbar->sync(); // the buttons repaint only a picture that changed
    showPanels(w, shown);
    showPreviousBox(w, shown);
    m_shownState = w;
}

void frmKvl::showMenus(const WindowState& w, const WindowState* shown)
{
    const std::pair<QAction*, bool WindowState::*> enabled[] = {
        {m_mnuNew, &WindowState::mnuNew},       {m_mnuOpen, &WindowState::mnuOpen},
        {m_mnuClose, &WindowState::mnuClose},   {m_saveData, &WindowState::SaveData},
        {m_mnuBack, &WindowState::mnuBack},     {m_mnuFwd, &WindowState::mnuFwd},
        {m_mnuInsRec, &WindowState::mnuInsRec}, {m_mnuDelRec, &WindowState::mnuDelRec},
        {m_mnuCut, &WindowState::mnuCut},       {m_mnuPrefs, &WindowState::mnuPrefs}};
    for (const auto& [action, flag] : enabled)
        if (Changed(shown, w, flag))
            action->setEnabled(w.*flag);
    // Qt ticks a checkable item itself when it is chosen, so these are compared with the item
    // (setChecked does nothing when it agrees) rather than with the state last shown.
    m_mnuVerify->setChecked(w.mnuVerifyChecked);
    m_mnuTips->setChecked(w.mnuTipsChecked);
}

void frmKvl::showRecentFiles(const WindowState& w, const WindowState* shown)
{
    for (std::size_t i = 0; i < WindowState::RecentItems; ++i) {
        const WindowState::MenuItem& item = w.mnuRecentFile[i];
        const WindowState::MenuItem* was = shown ? &shown->mnuRecentFile[i] : nullptr;
        QAction* action = m_mnuRecentFile[i];
        if (i > 0 && (!was || was->caption != item.caption)) // item 0 is the separator
            // A path's "&" is no shortcut mark; the item's number is.
            action->setText(
                QStringLiteral("&%1 ").arg(i) +
                QtText::Path(item.caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
        if (!was || was->visible != item.visible)
            action->setVisible(item.visible);
        if (!was || was->enabled != item.enabled)
            action->setEnabled(item.enabled);
    }
}

void frmKvl::showPanels(const WindowState& w, const WindowState* shown)
{
    for (int n = 1; n <= PanelCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (n != 3 && (!shown || shown->panels[i] != w.panels[i])) // 3 shows as a picture
            m_panels[i]->setText(QtText::Display(w.panels[i]));
    }
    showDupPicture(w.dupPictureOn);
}

void frmKvl::showPreviousBox(const WindowState& w, const WindowState* shown)
{
    if (Changed(shown, w, &WindowState::previousText))
        m_previous->setText(QtText::Latin1(w.previousText));
    if (Changed(shown, w, &WindowState::previousVisible)) {
        m_previous->setVisible(w.previousVisible);
        m_lblPrv->setVisible(w.previousVisible);
    }
}

void frmKvl::showDupPicture(bool on)
{
    if (m_shownDupOn == on)
        return;
    // Read as every file is, so that a FIFO in its place cannot stop the window.
    const auto bytes = FullIo::ReadFile(m_engine.io, m_engine.DupPicture(on).string());
    QPixmap picture;
    if (bytes)
        picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                             static_cast<uint>(bytes->size()));
    // A missing picture was reported at start-up; the panel keeps what it showed.
    if (picture.isNull())
        return;
    m_panels[3]->setPixmap(picture);
    m_shownDupOn = on;
}

void frmKvl::followCellSize()
{
    // The previous-record box and the status panels keep their proportion to the cells.
    m_shownCellWidth = m_model.cellWidth();
    m_previous->setFont(MonoFont(m_shownCellWidth * 11 / Surface::CellWidth));
    m_lblPrv->setFont(scaledFont(m_lblPrv->font()));
    statusBar()->setFont(MonoFont(m_shownCellWidth * 12 / Surface::CellWidth));
    for (int n = 1; n <= PanelCount; ++n)
        m_panels[static_cast<std::size_t>(n)]->setMinimumWidth(
            PanelMinWidths[n] * m_shownCellWidth / Surface::CellWidth);
    placePreviousBox();
}

QFont frmKvl::scaledFont(QFont font) const
{
    const int normal = QApplication::font().pointSize();
    if (normal > 0)
        font.setPointSize(std::max(1, normal * m_shownCellWidth / Surface::CellWidth));
    return font;
}

void frmKvl::placePreviousBox()
{
    const int w = m_screen->width();
    const int cellW = m_model.cellWidth(), cellH = m_model.cellHeight();
    const int top = m_screen->height() - 7 * cellH;
    m_previous->setGeometry(cellW, top, std::max(w - 2 * cellW, 0),
                            m_previous->sizeHint().height());
    const QSize label = m_lblPrv->sizeHint();
    m_lblPrv->setGeometry((w - label.width()) / 2, top - cellH, label.width(), label.height());
}

void frmKvl::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    snapSize();
}

void frmKvl::snapSize()
{
    constexpr auto NotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (m_snapping || (windowState() & NotNormal) || !screen())
        return;
    const QSize avail = screen()->availableGeometry().size();
    const QSize frame = frameGeometry().size() - size();
    const QSize outer = size() + frame;
    const EntryScreen::Size snapped = EntryScreen::SnapOuterSize(
        {outer.width(), outer.height()}, {avail.width(), avail.height()}, m_model.cellWidth());
    if (snapped.w == outer.width() && snapped.h == outer.height())
        return;
    m_snapping = true;
    resize(snapped.w - frame.width(), snapped.h - frame.height());
    m_snapping = false;
}

void frmKvl::closeEvent(QCloseEvent* event)
{
    // Exit and the close box alike: a record keyed but not stored is not lost unasked.
    if (!m_terminated && !m_engine.rec.MayDropRecordInHand("Exit")) {
        event->ignore();
        refresh();
        return;
    }
    terminateOnce();
    QMainWindow::closeEvent(event);
}

void frmKvl::terminateOnce()
{
    if (m_terminated)
        return;
    m_terminated = true;
    m_engine.Form_Terminate();
    refresh();
}

void frmKvl::showHelp()
{
    const auto page = m_engine.HelpPage();
    std::error_code ec;
    if (!std::filesystem::exists(page, ec)) {
        m_engine.MsgBox("The help file " + page.string() + " was not found.", Dialogs::Buttons::OK,
                        Dialogs::Icon::Exclamation);
        return;
    }
    // The desktop's opener through a shell of its own: its exit status is seen, the window
    // never waits for it, and a viewer it starts outlives the shell when the program ends.
    auto* opener = new QProcess(this);
    const std::string shown = page.string();
    const auto done = [this, opener, shown](bool ok) {
        opener->deleteLater();
        if (!ok)
            m_engine.MsgBox("No program was found to show the help page " + shown + ".",
                            Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
        refresh();
    };
    connect(opener, &QProcess::finished, this, [done](int code, QProcess::ExitStatus status) {
        done(status == QProcess::NormalExit && code == 0);
    });
    connect(opener, &QProcess::errorOccurred, this, [done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            done(false);
    });
    opener->start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("%1 \"$1\"").arg(QLatin1String(Opener)),
                   QStringLiteral("sh"), QUrl::fromLocalFile(PathText(page)).toString()});
}
