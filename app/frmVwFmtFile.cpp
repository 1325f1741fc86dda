#include "app/frmVwFmtFile.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "common/TextUtil.h"
#include "formats/FormatFileEditor.h"

namespace
{

// The named face where the system has it, else one of its kind.
QFont Face(const char* family, QFont::StyleHint kind)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(kind);
    return font;
}

// The text box holds LF line ends; the file and the model hold CR LF.
QString Shown(const std::string& text)
{
    std::string lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    return QtText::Latin1(lf);
}

// Taken from the document as it is: its plain text would turn a no-break space (0xA0)
// into a blank. Lines are split by paragraph separators there.
std::string Stored(QString raw)
{
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    std::string crlf;
    for (const char c : QtText::ToLatin1(raw)) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
}

} // namespace

frmVwFmtFile::frmVwFmtFile(FormatFileEditor& editor, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_editor(editor)
{
    setObjectName(QStringLiteral("frmVwFmtFile"));
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);

    auto* side = new QVBoxLayout;
    auto* frame1 = new QGroupBox(central);
    auto* notesLayout = new QVBoxLayout(frame1);
    const QFont tahoma = Face("Tahoma", QFont::SansSerif);
    auto* label1 = new QLabel(QString::fromLatin1(FormatFileEditor::Notes), frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setFont(tahoma);
    notesLayout->addWidget(label1);
    side->addWidget(frame1);
    auto* label2 = new QLabel(QString::fromLatin1(FormatFileEditor::Legend), central);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setWordWrap(true);
    label2->setFont(tahoma);
    side->addWidget(label2);

    const QFont courier = Face("Courier New", QFont::TypeWriter);
    auto* frame2 = new QGroupBox(central);
    auto* buttons = new QHBoxLayout(frame2);
    auto* save = new QPushButton(QStringLiteral("Save"), frame2);
    save->setObjectName(QStringLiteral("Save"));
    save->setFont(courier);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), frame2);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setFont(courier);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    side->addWidget(frame2);
    side->addStretch();
    layout->addLayout(side, 1);

    m_text = new QPlainTextEdit(central);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setFont(courier);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_text, 2);
    setCentralWidget(central);

    m_column = new QLabel(this);
    m_line = new QLabel(this);
    for (QLabel* panel : {new QLabel(this), m_column, m_line}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        statusBar()->addPermanentWidget(panel, panel == m_column || panel == m_line ? 0 : 1);
    }
    m_column->setObjectName(QStringLiteral("StatusBar1Panel2"));
    m_line->setObjectName(QStringLiteral("StatusBar1Panel3"));
    m_column->setMinimumWidth(60);
    m_line->setMinimumWidth(60);

    // Typing moves the caret before the text is changed: count again on the new text.
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        m_editor.Text = Stored(m_text->document()->toRawText());
        caretMoved();
    });
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this, &frmVwFmtFile::caretMoved);
    connect(save, &QPushButton::clicked, this, [this] {
        m_editor.Save_Click();
        closeIfHidden();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_editor.Cancel_Click();
        closeIfHidden();
    });
    resize(900, 500);
}

void frmVwFmtFile::showFromModel()
{
    if (m_shownLoad != m_editor.loads) {
        m_shownLoad = m_editor.loads;
        setWindowTitle(QtText::Display(m_editor.caption));
        m_text->setPlainText(Shown(m_editor.Text));
        m_text->moveCursor(QTextCursor::Start);
        caretMoved();
    }
    show();
    raise();
    activateWindow();
    m_text->setFocus();
}

void frmVwFmtFile::caretMoved()
{
    const QTextCursor c = m_text->textCursor();
    // Each line before the caret has a CR that the text box does not hold.
    m_editor.CaretMoved(static_cast<std::size_t>(c.position() + c.blockNumber()));
    m_column->setText(QString::fromLatin1(text::SignedDec(m_editor.CurColumn)));
    m_line->setText(QString::fromLatin1(text::SignedDec(m_editor.CurLine)));
}

void frmVwFmtFile::closeIfHidden()
{
    if (!m_editor.Visible)
        hide();
}

void frmVwFmtFile::closeEvent(QCloseEvent* event)
{
    m_editor.Cancel_Click();
    QMainWindow::closeEvent(event);
}
