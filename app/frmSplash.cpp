#include "app/frmSplash.h"

#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    const QString lines[] = {QStringLiteral("KORVALEN Software"),
                             QStringLiteral("Data Entry and Verification"),
                             QStringLiteral("Version 1.3.1")};
    for (const QString& text : lines) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    QFont title = font();
    title.setPointSize(title.pointSize() + 6);
    title.setBold(true);
    layout->itemAt(0)->widget()->setFont(title);
    setAutoFillBackground(true);
}

void frmSplash::showForAWhile()
{
    show();
    QEventLoop loop;
    QTimer::singleShot(ShowMs, &loop, &QEventLoop::quit);
    loop.exec();
}
