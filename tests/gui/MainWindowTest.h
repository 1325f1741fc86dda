#pragma once

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>

#include "app/EntryScreenWidget.h"
#include "app/frmKvl.h"
#include "engine/ScriptedDialogs.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

// The main window over an application folder of its own, shown and active, for the tests
// of the windows that open beside it.
class MainWindowTest : public QObject
{
protected:
    // FILE.FMT's text; atTopLeft leaves the screen's room to the right of the window.
    void startWindow(const std::string& formats, bool atTopLeft = false)
    {
        m_appDir = std::make_unique<TempDir>();
        m_appDir->write("file.fmt", formats);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        for (const char* name : {"dupoff.bmp", "dupon.bmp"})
            QVERIFY(picture.save(QString::fromStdString(m_appDir->file(name)), "BMP"));
        m_dialogs = ScriptedDialogs();
        m_store = MemorySettingsStore();
        m_window = std::make_unique<frmKvl>(m_appDir->path().string(), m_store, &m_dialogs);
        if (atTopLeft) {
            m_window->move(m_window->screen()->availableGeometry().topLeft());
            m_window->resize(m_window->minimumSize());
        }
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    // File > Open of records written to name, under the format list's entry.
    void openFile(const std::string& name, const std::string& records, const char* entry)
    {
        m_dialogs.openAnswers.push_back(m_appDir->write(name, records));
        m_dialogs.chooseEntry(entry);
        Child<QAction>(*m_window, "mnuOpen")->trigger();
        QVERIFY(m_dialogs.boxes.empty());
    }
    EntryScreenWidget* screen() const { return Child<EntryScreenWidget>(*m_window, "EntryScreen"); }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<TempDir> m_appDir;
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    std::unique_ptr<frmKvl> m_window;
};
