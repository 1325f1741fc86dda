#pragma once

#include <QMainWindow>

class FormatFileEditor;
class QLabel;
class QPlainTextEdit;

// The FILE.FMT editor window beside the main window, over its model: it shows the model's
// text, reports every edit and caret move back, and closes when the model says so.
class frmVwFmtFile : public QMainWindow
{
    Q_OBJECT

public:
    frmVwFmtFile(FormatFileEditor& editor, QWidget* parent);

    // Shows the window with what the model holds, without blocking the caller.
    void showFromModel();

protected:
    // The window's close button is Cancel.
    void closeEvent(QCloseEvent* event) override;

private:
    void caretMoved();
    void closeIfHidden();

    FormatFileEditor& m_editor;
    QPlainTextEdit* m_text = nullptr;
    QLabel* m_column = nullptr; // status panel 2
    QLabel* m_line = nullptr;   // status panel 3
    unsigned m_shownLoad = 0;
};
