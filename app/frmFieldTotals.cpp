#include "app/frmFieldTotals.h"

#include <algorithm>

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/SideWindow.h"
#include "batch/ControlTotal.h"
#include "engine/Engine.h"

namespace
{

QLabel* Figure(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString Number(std::int64_t n)
{
    return QString::number(n);
}

QString Shown(const std::optional<Decimal>& d)
{
    return d ? QtText::Latin1(d->str()) : QStringLiteral("-");
}

} // namespace

frmFieldTotals::frmFieldTotals(Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_totals(engine)
{
    setObjectName(QStringLiteral("frmFieldTotals"));
    setWindowTitle(QStringLiteral("Field Totals"));
    // Shown beside the entry screen, it leaves the keyboard there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QFormLayout;
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("Field"));
    m_field->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    choice->addRow(QStringLiteral("&Field:"), m_field);
    layout->addLayout(choice);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("Notice"));
    m_notice->setWordWrap(true);
    layout->addWidget(m_notice);

    m_figures = new QWidget(this);
    auto* form = new QFormLayout(m_figures);
    form->setContentsMargins(0, 0, 0, 0);
    m_count = Figure(m_figures, "Count");
    m_sum = Figure(m_figures, "Sum");
    m_min = Figure(m_figures, "Minimum");
    m_max = Figure(m_figures, "Maximum");
    m_blank = Figure(m_figures, "Blank");
    m_invalid = Figure(m_figures, "NotNumbers");
    form->addRow(QStringLiteral("Count:"), m_count);
    form->addRow(QStringLiteral("Sum:"), m_sum);
    form->addRow(QStringLiteral("Minimum:"), m_min);
    form->addRow(QStringLiteral("Maximum:"), m_max);
    form->addRow(QStringLiteral("Blank:"), m_blank);
    form->addRow(QStringLiteral("Not numbers:"), m_invalid);
    m_control = new QLineEdit(m_figures);
    m_control->setObjectName(QStringLiteral("ControlTotal"));
    m_control->setAlignment(Qt::AlignRight);
    form->addRow(QStringLiteral("&Control total:"), m_control);
    m_difference = Figure(m_figures, "Difference");
    form->addRow(QStringLiteral("Difference:"), m_difference);
    layout->addWidget(m_figures);

    m_balance = new QLabel(this);
    m_balance->setObjectName(QStringLiteral("Balance"));
    m_balance->setWordWrap(true);
    layout->addWidget(m_balance);
    layout->addStretch();
    setMinimumWidth(300);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(RefreshMs);
    connect(m_timer, &QTimer::timeout, this, &frmFieldTotals::refresh);
    // Changes coming faster than the timer are shown together when it runs out.
    m_totals.OnChange = [this] {
        if (isVisible() && !m_timer->isActive())
            m_timer->start();
    };

    connect(m_field, &QComboBox::activated, this, [this](int index) {
        if (index != m_totals.chosen()) {
            m_control->clear(); // the paper's total was another field's
            m_totals.choose(index);
        }
        refresh();
        giveBackKeyboard();
    });
    connect(m_control, &QLineEdit::textChanged, this, &frmFieldTotals::showBalance);
    connect(m_control, &QLineEdit::returnPressed, this, &frmFieldTotals::giveBackKeyboard);
}

void frmFieldTotals::showBeside()
{
    if (!m_placed) {
        adjustSize();
        SideWindow::PlaceBeside(*this);
        m_placed = true;
    }
    QWidget* main = mainWindow();
    const bool keying = main && main->isActiveWindow();
    show();
    raise();
    // Where the window system activates a new window all the same, the keyboard goes back.
    if (keying)
        main->activateWindow();
}

void frmFieldTotals::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Hidden, it was not kept up to date.
    refresh();
}

QWidget* frmFieldTotals::mainWindow() const
{
    return parentWidget() ? parentWidget()->window() : nullptr;
}

void frmFieldTotals::giveBackKeyboard()
{
    if (QWidget* main = mainWindow())
        main->activateWindow();
}

void frmFieldTotals::refresh()
{
    m_timer->stop();
    m_totals.update();
    if (m_totals.path() != m_shownPath) {
        m_shownPath = m_totals.path();
        m_control->clear(); // another batch, another paper
    }
    showChoices();
    showFigures();
}

void frmFieldTotals::showChoices()
{
    std::vector<std::string> labels;
    for (const OpenFileTotals::Choice& c : m_totals.choices())
        labels.push_back(c.label);
    if (labels != m_shownChoices) {
        const QSignalBlocker quiet(m_field);
        m_field->clear();
        for (const std::string& l : labels)
            m_field->addItem(QtText::Latin1(l));
        m_shownChoices = std::move(labels);
    }
    m_field->setCurrentIndex(m_totals.chosen());
    m_field->setEnabled(!m_shownChoices.empty());
}

void frmFieldTotals::showFigures()
{
    QString notice;
    m_shownSum.reset();
    if (!m_totals.fileOpen())
        notice = QStringLiteral("No data file is open. Open one to see the totals of a field.");
    else if (m_totals.choices().empty())
        notice = QStringLiteral("Format %1 has no numeric field to total.")
                     .arg(QtText::Display(m_totals.formatName()));
    const auto figures = notice.isEmpty() ? m_totals.figures() : Result<Totals>(Error{});
    if (notice.isEmpty() && !figures)
        notice = QtText::Display(figures.error().message);
    m_notice->setText(notice);
    m_notice->setVisible(!notice.isEmpty());
    m_figures->setVisible(m_totals.fileOpen() && !m_totals.choices().empty());
    if (figures) {
        const Totals& t = figures.value();
        m_shownSum = t.sum;
        m_shownInvalid = t.invalid;
        m_count->setText(Number(t.count));
        m_sum->setText(QtText::Latin1(t.sum.str()));
        m_min->setText(Shown(t.min));
        m_max->setText(Shown(t.max));
        m_blank->setText(Number(t.blank));
        m_invalid->setText(Number(t.invalid));
    } else {
        for (QLabel* l : {m_count, m_sum, m_min, m_max, m_blank, m_invalid})
            l->setText(QStringLiteral("-"));
    }
    showBalance();
}

void frmFieldTotals::showBalance()
{
    if (!m_shownSum) {
        m_difference->setText(QStringLiteral("-"));
        m_balance->clear();
        m_balance->hide();
        return;
    }
    const ControlTotal c = ControlTotal::Check(QtText::ToLatin1(m_control->text()), *m_shownSum);
    const bool compared =
        c.kind() == ControlTotal::Kind::Balances || c.kind() == ControlTotal::Kind::OutOfBalance;
    m_difference->setText(compared ? QtText::Latin1(c.difference().str()) : QStringLiteral("-"));
    QString said = QtText::Latin1(c.sentence());
    // Such records count for nothing in the sum, whatever the paper says.
    if (m_shownInvalid > 0)
        said +=
            m_shownInvalid == 1
                ? QStringLiteral(" One record holds no number in this field.")
                : QStringLiteral(" %1 records hold no number in this field.").arg(m_shownInvalid);
    m_balance->setText(said);
    m_balance->show();
}
