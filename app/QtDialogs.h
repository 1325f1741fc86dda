#pragma once

#include <QPointer>

#include "app/Dialogs.h"

class QFileDialog;
class QWidget;
class FrmFileFmt;

// The engine's dialogs shown as real modal Qt dialogs over the main window. The Open
// dialog and the format selection are kept between uses so they remember the last choice.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget* parent);

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& def) override;
    std::optional<std::string> openFile(const OpenRequest& request) override;
    std::optional<Color> pickColor(Color initial) override;
    FormatChoice chooseFormat(const std::vector<std::string>& entries) override;

private:
    QWidget* m_parent;
    // Owned by m_parent, as Qt children.
    QPointer<QFileDialog> m_fileDialog;
    QPointer<FrmFileFmt> m_formatDialog;
};
