#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/SideWindow.h"

class Engine;
class QLabel;
class QLineEdit;
class QTableView;
class VerifyLogModel;

// Tools > Verification Log: the characters Verify replaced in the open file, from its
// NAME.kvverify, this session's replacements first. The log is read again when the window
// opens, when this session writes rows to it, on Refresh and for another file; a record
// number narrows the table to that record's rows.
class frmVerifyLog : public SideWindow
{
    Q_OBJECT

public:
    frmVerifyLog(const Engine& engine, QWidget* parent);

protected:
    void refresh() override;
    void showEvent(QShowEvent* event) override;

private:
    // What the table was read for: the log's path (none without a file) and how many rows
    // this session had written to it.
    struct Source {
        std::optional<std::string> path;
        std::size_t sessionRows = 0;
        bool operator==(const Source&) const = default;
    };
    Source source() const;
    void load(const Source& source);
    void filterChanged();

    const Engine& m_e;
    VerifyLogModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLineEdit* m_record = nullptr;
    QLabel* m_note = nullptr;
    std::optional<Source> m_loaded;
};
