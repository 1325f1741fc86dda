#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "stats/KeyingCounts.h"

// The rows of a verification log for a table: this session's replacements first, then the
// rows read from the log, each shown as its columns' text. A record filter narrows the
// rows shown without reading anything again.
class VerifyLogModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int Columns = VerifyColumns::Count;
    static constexpr int RecordColumn = 2;
    static constexpr const char* SessionMark = "this session";

    struct Row {
        std::array<QString, Columns> cells;
        bool session = false;
        std::int64_t line = 0; // in the log; 0 for a session's row
        std::optional<std::int64_t> record() const;
    };

    explicit VerifyLogModel(QObject* parent = nullptr);

    void setRows(std::vector<Row> rows);
    // Only the rows of one record; none: every row.
    void setRecordFilter(std::optional<std::int64_t> record);
    // Rows shown now, of those set.
    int shownRows() const { return static_cast<int>(m_shown.size()); }
    const Row& shownRow(int i) const { return m_rows[m_shown[static_cast<std::size_t>(i)]]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void choose();

    std::vector<Row> m_rows;
    std::vector<std::size_t> m_shown;
    std::optional<std::int64_t> m_record;
};
