#include "app/frmTip.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "startup/TipOfDay.h"

frmTip::frmTip(TipOfDay& tip, QWidget* parent) : QDialog(parent), m_tip(tip)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto* layout = new QHBoxLayout(this);

    auto* frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::StyledPanel);
    frame1->setBackgroundRole(QPalette::Base);
    frame1->setAutoFillBackground(true);
    auto* inside = new QHBoxLayout(frame1);
    auto* picture1 = new QLabel(frame1);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(windowIcon().pixmap(32, 32));
    picture1->setAlignment(Qt::AlignTop);
    inside->addWidget(picture1);
    auto* text = new QVBoxLayout;
    auto* label1 = new QLabel(QStringLiteral("Did you know..."), frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    label1->setFont(bold);
    text->addWidget(label1);
    m_lblTipText = new QLabel(frame1);
    m_lblTipText->setObjectName(QStringLiteral("lblTipText"));
    m_lblTipText->setWordWrap(true);
    m_lblTipText->setMinimumSize(360, 120);
    m_lblTipText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    text->addWidget(m_lblTipText, 1);
    inside->addLayout(text, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(frame1, 1);
    m_chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    m_chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    m_chkLoadTipsAtStartup->setToolTip(QStringLiteral("Uncheck this after seeing All please! "));
    left->addWidget(m_chkLoadTipsAtStartup);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
    next->setObjectName(QStringLiteral("cmdNextTip"));
    auto* prev = new QPushButton(QStringLiteral("&Previous"), this);
    prev->setObjectName(QStringLiteral("CmdPrvTip"));
    for (QPushButton* b : {ok, next, prev})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        m_tip.cmdOK_Click();
        accept();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        m_tip.NextTip();
        showTip();
    });
    connect(prev, &QPushButton::clicked, this, [this] {
        m_tip.PrevTip();
        showTip();
    });
    connect(m_chkLoadTipsAtStartup, &QCheckBox::clicked, this,
            [this](bool checked) { m_tip.chkLoadTipsAtStartup_Click(checked); });
}

void frmTip::showModal()
{
    m_chkLoadTipsAtStartup->setChecked(m_tip.chkLoadTipsAtStartup);
    showTip();
    exec();
}

void frmTip::reject()
{
    // The close box unloads the window as OK does.
    m_tip.cmdOK_Click();
    QDialog::reject();
}

void frmTip::showTip()
{
    m_lblTipText->setText(QtText::Display(m_tip.lblTipText));
}
