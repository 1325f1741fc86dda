#pragma once

#include <functional>

#include <QPointer>

#include "engine/Dialogs.h"

class QFileDialog;
class QProgressDialog;
class QWidget;
class FrmFileFmt;

// The engine's dialogs shown as real modal Qt dialogs over the main window. The Open
// dialog and the format selection are kept between uses so they remember the last choice.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget* parent);

    // Run before a message box opens, so the window shows what the engine did up to the
    // moment it asks (a box can come up in the middle of a keystroke).
    void setBeforeMessage(std::function<void()> show) { m_beforeMessage = std::move(show); }

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& def) override;
    std::optional<std::string> openFile(const OpenRequest& request) override;
    std::optional<Color> pickColor(Color initial) override;
    FormatChoice chooseFormat(const std::vector<std::string>& entries) override;
    bool progress(const std::string& label, std::int64_t done, std::int64_t total) override;

private:
    QWidget* m_parent;
    std::function<void()> m_beforeMessage;
    // Owned by m_parent, as Qt children.
    QPointer<QFileDialog> m_fileDialog;
    QPointer<FrmFileFmt> m_formatDialog;
    QPointer<QProgressDialog> m_progress;
};
