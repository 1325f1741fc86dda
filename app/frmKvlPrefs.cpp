#include "app/frmKvlPrefs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "settings/PrefsForm.h"

frmKvlPrefs::frmKvlPrefs(PrefsForm& form, QWidget* parent) : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("frmKvlPrefs"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(QStringLiteral("Memory Keys"), this));
    auto* keys = new QFormLayout;
    for (int n = 2; n <= 9; ++n) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Mem%1").arg(n));
        connect(box, &QLineEdit::textEdited, this, [this, n](const QString& text) {
            m_form.Mem[static_cast<std::size_t>(n)] = QtText::ToLatin1(text);
        });
        keys->addRow(QStringLiteral("F%1").arg(n), box);
        m_mem[static_cast<std::size_t>(n)] = box;
    }
    layout->addLayout(keys);

    auto* frame = new QGroupBox(QStringLiteral("Duplicate Key"), this);
    auto* options = new QHBoxLayout(frame);
    m_dupkeyF12 = new QRadioButton(QStringLiteral("F12"), frame);
    m_dupkeyF12->setObjectName(QStringLiteral("DupkeyF12"));
    m_dupKey7 = new QRadioButton(QStringLiteral("7 key "), frame);
    m_dupKey7->setObjectName(QStringLiteral("DupKey7"));
    options->addWidget(m_dupkeyF12);
    options->addWidget(m_dupKey7);
    connect(m_dupkeyF12, &QRadioButton::clicked, this, [this] { m_form.DupkeyF12_Click(); });
    connect(m_dupKey7, &QRadioButton::clicked, this, [this] { m_form.DupKey7_Click(); });
    layout->addWidget(frame);

    m_check1 = new QCheckBox(QStringLiteral("Embedded Numeric Pad (Uptron)"), this);
    m_check1->setObjectName(QStringLiteral("Check1"));
    connect(m_check1, &QCheckBox::toggled, this, [this](bool on) { m_form.Check1 = on; });
    layout->addWidget(m_check1);

    auto* colours = new QHBoxLayout;
    auto* txtclr = new QPushButton(QStringLiteral("Text Back Color"), this);
    txtclr->setObjectName(QStringLiteral("cmdTxtclr"));
    txtclr->setAutoDefault(false);
    auto* bkclr = new QPushButton(QStringLiteral("Form Back Color"), this);
    bkclr->setObjectName(QStringLiteral("cmdBkClr"));
    bkclr->setAutoDefault(false);
    connect(txtclr, &QPushButton::clicked, this, [this] { m_form.cmdTxtclr_Click(); });
    connect(bkclr, &QPushButton::clicked, this, [this] { m_form.cmdBkClr_Click(); });
    colours->addWidget(txtclr);
    colours->addWidget(bkclr);
    layout->addLayout(colours);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_form.OK_Click();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &frmKvlPrefs::reject);
    layout->addWidget(buttons);
}

void frmKvlPrefs::showModal()
{
    m_form.Show();
    loadControls();
    m_mem[2]->setFocus();
    exec();
}

void frmKvlPrefs::reject()
{
    m_form.Cancel_Click();
    QDialog::reject();
}

void frmKvlPrefs::loadControls()
{
    for (int n = 2; n <= 9; ++n)
        m_mem[static_cast<std::size_t>(n)]->setText(
            QtText::Latin1(m_form.Mem[static_cast<std::size_t>(n)]));
    m_dupkeyF12->setChecked(m_form.DupkeyF12);
    m_dupKey7->setChecked(!m_form.DupkeyF12);
    m_check1->setChecked(m_form.Check1);
}
