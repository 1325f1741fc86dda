#pragma once

#include <filesystem>

#include <QDialog>

// The "Tip of the Day" shown after start-up: one line of TIPOFDAY.TXT and an OK button.
class frmTip : public QDialog
{
    Q_OBJECT

public:
    explicit frmTip(const std::filesystem::path& appDir, QWidget* parent = nullptr);

    // False when the application directory holds no tip to show.
    bool hasTip() const { return !m_tip.isEmpty(); }

    // The first non-blank line of the tips file; empty when there is none.
    static QString ReadTip(const std::filesystem::path& appDir);

private:
    QString m_tip;
};
