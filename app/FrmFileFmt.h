#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "engine/Dialogs.h"

class QComboBox;

// The format selection dialog over the names of FILE.FMT. It is kept between uses, so the
// operator finds the last choice again.
class FrmFileFmt : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* PromptText = "Format name from File.fmt required here";

    explicit FrmFileFmt(QWidget* parent = nullptr);

    // Offers entries and waits for OK or Cancel.
    Dialogs::FormatChoice choose(const std::vector<std::string>& entries);

    // Puts entries into the list, keeping the current text and selection where they still fit.
    void setEntries(const std::vector<std::string>& entries);
    // What OK would return now.
    Dialogs::FormatChoice currentChoice() const;

private:
    QComboBox* m_combo = nullptr;
};
