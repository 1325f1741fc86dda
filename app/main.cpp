#include <QApplication>
#include <QFile>
#include <QIcon>

#include "app/NumLock.h"
#include "app/QtSettingsStore.h"
#include "app/frmKvl.h"
#include "app/frmSplash.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvalen"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvalen.png")));
    const std::filesystem::path appDir =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();

    frmSplash splash;
    splash.showForAWhile();

    QtSettingsStore store;
    frmKvl window(appDir, store);
    window.show();
    splash.close();
    NumLock::SetKeyOn(NumLock::VkNumLock);

    window.showTipOfDay();
    return app.exec();
}
