#include "app/FrmFileFmt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"

FrmFileFmt::FrmFileFmt(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Format name from File.Fmt"));
    auto* label =
        new QLabel(QStringLiteral("Enter name of Format / Structure from File.Fmt here."), this);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("Combo1"));
    m_combo->setEditable(true);
    // Typed names are looked up, never added to the list.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    // What the operator types stays as typed; completing it would pass for a list choice.
    m_combo->setCompleter(nullptr);
    m_combo->setMinimumContentsLength(30);
    m_combo->setEditText(QString::fromLatin1(PromptText));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_combo);
    layout->addLayout(buttons);
}

void FrmFileFmt::setEntries(const std::vector<std::string>& entries)
{
    const QString text = m_combo->currentText();
    const QString selected =
        m_combo->currentIndex() >= 0 ? m_combo->itemText(m_combo->currentIndex()) : QString();
    QStringList items;
    for (const auto& e : entries)
        items << QtText::Latin1(e);
    m_combo->clear();
    m_combo->addItems(items);
    // clear() drops both the selection and the text line.
    m_combo->setCurrentIndex(selected.isEmpty() ? -1 : items.indexOf(selected));
    m_combo->setEditText(text);
}

Dialogs::FormatChoice FrmFileFmt::currentChoice() const
{
    Dialogs::FormatChoice c;
    const QString text = m_combo->currentText();
    const int index = m_combo->currentIndex();
    c.selected = index >= 0 && m_combo->itemText(index) == text ? index : -1;
    c.text = QtText::ToLatin1(text);
    return c;
}

Dialogs::FormatChoice FrmFileFmt::choose(const std::vector<std::string>& entries)
{
    setEntries(entries);
    m_combo->setFocus();
    m_combo->lineEdit()->selectAll();
    const bool accepted = exec() == QDialog::Accepted;
    Dialogs::FormatChoice c = currentChoice();
    c.accepted = accepted;
    return c;
}
