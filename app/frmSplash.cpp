#include "app/frmSplash.h"

#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "common/BuildInfo.h"

namespace
{

// The named face where the system has it, else one of its kind.
QFont Face(const char* family, QFont::StyleHint kind, int pointSize, bool bold = false)
{
    QFont font(QString::fromLatin1(family), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(kind);
    return font;
}

} // namespace

QString frmSplash::VersionText()
{
    return QStringLiteral("Version ") + QString::fromLatin1(BuildInfo::Version);
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(40, 24, 40, 24);

    auto* logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("picLogo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/korvalen.png"))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);

    struct Line {
        const char* name;
        QString text;
        QFont font;
    };
    const Line lines[] = {
        {"lblCompany", QStringLiteral("KORVALEN Software"),
         Face("Arial Narrow", QFont::SansSerif, 12)},
        {"lblCompanyProduct", QStringLiteral("Data Entry and Verification"),
         Face("Arial", QFont::SansSerif, 22, true)},
        {"lblPlatform", QStringLiteral("for ") + QString::fromLatin1(BuildInfo::Platform),
         Face("Comic Sans MS", QFont::Cursive, 16)},
        {"lblVersion", VersionText(), Face("Comic Sans MS", QFont::Cursive, 11)},
    };
    for (const Line& line : lines) {
        auto* label = new QLabel(line.text, frame);
        label->setObjectName(QString::fromLatin1(line.name));
        label->setFont(line.font);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    setAutoFillBackground(true);
}

void frmSplash::showForAWhile()
{
    show();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(ShowMs, &loop, &QEventLoop::quit);
    loop.exec();
}
