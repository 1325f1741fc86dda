#include "app/frmVerifyLog.h"

#include <cerrno>
#include <climits>
#include <string_view>
#include <vector>

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/VerifyLogModel.h"
#include "batch/CsvReader.h"
#include "engine/Engine.h"
#include "stats/LogFile.h"

namespace
{

using Row = VerifyLogModel::Row;
constexpr std::size_t StoredColumn = 6, KeyedColumn = 7;

// A blank replaced or keyed would show as an empty cell.
void MarkBlanks(Row& row)
{
    for (const std::size_t c : {StoredColumn, KeyedColumn})
        if (row.cells[c] == QLatin1String(" "))
            row.cells[c] = QStringLiteral("\u2423");
}

QString Text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// A row of this session, as the log holds it once it is decoded.
Row SessionRow(const VerifyLog::Row& r, const std::string& operatorName)
{
    const auto character = [](char c) { return QtText::Latin1(std::string(1, c)); };
    Row row;
    row.session = true;
    row.cells = {QString::fromStdString(LogFile::IsoLocalTime(r.time)),
                 QtText::Latin1(operatorName),
                 QString::number(r.record),
                 QString::number(r.position),
                 QString::number(r.field),
                 character(r.fieldType),
                 character(r.stored),
                 character(r.keyed),
                 Text(r.byBackspace ? VerifyColumns::Backspace : VerifyColumns::ThirdKey)};
    MarkBlanks(row);
    return row;
}

QString Key(const Row& row)
{
    QString key;
    for (const QString& cell : row.cells)
        key += cell + QChar(0x1F);
    return key;
}

struct LogRows {
    std::vector<Row> rows;
    std::string problem; // why the log could not be read to its end
    std::int64_t malformed = 0;
    std::int64_t firstMalformedLine = 0;
    std::string firstFault;
};

LogRows ReadLog(FileIo& io, const std::string& path)
{
    LogRows out;
    auto opened = CsvReader::Open(io, path);
    if (!opened) {
        // No log yet is no replacement yet.
        if (opened.error().code != ENOENT)
            out.problem = opened.error().message;
        return out;
    }
    CsvReader& in = opened.value();
    for (bool header = true;; header = false) {
        const auto more = in.next();
        if (!more) {
            out.problem = path + ": " + more.error().message;
            return out;
        }
        if (!more.value())
            return out;
        const auto fields = in.fields();
        std::string fault = in.fault();
        if (fault.empty() && fields.size() != VerifyColumns::Count)
            fault = std::to_string(fields.size()) + " fields where the log has " +
                    std::to_string(VerifyColumns::Count);
        if (header) {
            std::string names;
            for (const std::string& f : fields)
                names += (names.empty() ? "" : ",") + f;
            if (!fault.empty() || names != VerifyColumns::Header) {
                out.problem = path + " does not start with the verification log's header";
                return out;
            }
            continue;
        }
        if (!fault.empty()) {
            if (out.malformed++ == 0) {
                out.firstMalformedLine = in.line();
                out.firstFault = fault;
            }
            continue;
        }
        Row row;
        row.line = in.line();
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            row.cells[i] = QString::fromStdString(fields[i]);
        MarkBlanks(row);
        out.rows.push_back(std::move(row));
    }
}

} // namespace

frmVerifyLog::frmVerifyLog(const Engine& engine, QWidget* parent) : SideWindow(parent), m_e(engine)
{
    setObjectName(QStringLiteral("frmVerifyLog"));
    setWindowTitle(QStringLiteral("Verification Log"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Record:"), this);
    m_record = new QLineEdit(this);
    m_record->setObjectName(QStringLiteral("RecordFilter"));
    m_record->setPlaceholderText(QStringLiteral("every record"));
    m_record->setValidator(new QIntValidator(1, INT_MAX, m_record));
    m_record->setClearButtonEnabled(true);
    label->setBuddy(m_record);
    auto* reload = new QPushButton(QStringLiteral("Re&fresh"), this);
    reload->setObjectName(QStringLiteral("Refresh"));
    bar->addWidget(label);
    bar->addWidget(m_record);
    bar->addStretch();
    bar->addWidget(reload);
    layout->addLayout(bar);

    m_model = new VerifyLogModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("LogTable"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("Note"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    layout->addWidget(m_note);

    connect(m_record, &QLineEdit::textChanged, this, &frmVerifyLog::filterChanged);
    connect(reload, &QPushButton::clicked, this, [this] { load(source()); });
    resize(760, 420);
}

frmVerifyLog::Source frmVerifyLog::source() const
{
    if (!m_e.stats.FileOpen())
        return {};
    return {m_e.verifyLog.Path(), m_e.verifyLog.SessionRows().size()};
}

void frmVerifyLog::showEvent(QShowEvent* event)
{
    // Other stations may have written to the log while the window was closed.
    m_loaded.reset();
    SideWindow::showEvent(event);
}

void frmVerifyLog::refresh()
{
    const Source now = source();
    if (m_loaded != now)
        load(now);
}

void frmVerifyLog::load(const Source& from)
{
    m_loaded = from;
    if (!from.path) {
        m_model->setRows({});
        m_note->setText(QStringLiteral("No data file is open."));
        return;
    }
    std::vector<Row> rows;
    for (const VerifyLog::Row& r : m_e.verifyLog.SessionRows())
        rows.push_back(SessionRow(r, m_e.OperatorName));
    const std::size_t sessionRows = rows.size();
    LogRows log = ReadLog(m_e.io, *from.path);
    // This session's rows are in the log too, the newest of its rows alike; each is shown
    // once, among this session's.
    QHash<QString, std::vector<std::size_t>> logged;
    for (std::size_t i = 0; i < log.rows.size(); ++i)
        logged[Key(log.rows[i])].push_back(i);
    std::vector<bool> shownAbove(log.rows.size(), false);
    for (std::size_t i = 0; i < sessionRows; ++i) {
        const auto it = logged.find(Key(rows[i]));
        if (it == logged.end() || it->empty())
            continue;
        shownAbove[it->back()] = true;
        it->pop_back();
    }
    for (std::size_t i = 0; i < log.rows.size(); ++i)
        if (!shownAbove[i])
            rows.push_back(std::move(log.rows[i]));
    const std::size_t before = rows.size() - sessionRows;
    m_model->setRows(std::move(rows));
    m_table->resizeColumnsToContents();

    QString note;
    if (!log.problem.empty())
        note = QStringLiteral("The verification log could not be read: ") +
               QtText::Display(log.problem) + QLatin1Char('.');
    else if (sessionRows + before == 0)
        note = QStringLiteral("No characters have been replaced in this file yet.");
    else
        note = QStringLiteral("%1 replaced in this session, %2 before, in %3.")
                   .arg(sessionRows)
                   .arg(before)
                   .arg(QtText::Path(*from.path));
    if (log.malformed > 0)
        note += QStringLiteral(" Lines that could not be read are left out: %1, the first "
                               "line %2 (%3).")
                    .arg(log.malformed)
                    .arg(log.firstMalformedLine)
                    .arg(QtText::Display(log.firstFault));
    m_note->setText(note);
}

void frmVerifyLog::filterChanged()
{
    bool ok = false;
    const qlonglong record = m_record->text().toLongLong(&ok);
    m_model->setRecordFilter(ok ? std::optional<std::int64_t>(record) : std::nullopt);
}
