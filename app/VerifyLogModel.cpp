#include "app/VerifyLogModel.h"

#include <QFont>

namespace
{

const char* const Headings[VerifyLogModel::Columns] = {
    "Time", "Operator", "Record", "Position", "Field", "Type", "Stored", "Keyed", "Accepted"};

} // namespace

std::optional<std::int64_t> VerifyLogModel::Row::record() const
{
    bool ok = false;
    const qlonglong n = cells[RecordColumn].toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(n) : std::nullopt;
}

VerifyLogModel::VerifyLogModel(QObject* parent) : QAbstractTableModel(parent) {}

void VerifyLogModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    choose();
    endResetModel();
}

void VerifyLogModel::setRecordFilter(std::optional<std::int64_t> record)
{
    if (record == m_record)
        return;
    beginResetModel();
    m_record = record;
    choose();
    endResetModel();
}

void VerifyLogModel::choose()
{
    m_shown.clear();
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (!m_record || m_rows[i].record() == m_record)
            m_shown.push_back(i);
}

int VerifyLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows();
}

int VerifyLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant VerifyLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows())
        return {};
    const Row& row = shownRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[static_cast<std::size_t>(index.column())];
    case Qt::FontRole: {
        // This session's rows stand apart from the log's older ones.
        if (!row.session)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    default:
        return {};
    }
}

QVariant VerifyLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < Columns ? QString::fromLatin1(Headings[section])
                                                 : QVariant();
    if (section < 0 || section >= shownRows())
        return {};
    const Row& row = shownRow(section);
    return row.session ? QString::fromLatin1(SessionMark) : QStringLiteral("line %1").arg(row.line);
}
