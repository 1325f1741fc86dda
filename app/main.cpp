#include <QApplication>
#include <QFile>

#include "app/NumLock.h"
#include "app/QtSettingsStore.h"
#include "app/frmKvl.h"
#include "app/frmSplash.h"
#include "app/frmTip.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvalen"));
    const std::filesystem::path appDir =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();

    frmSplash splash;
    splash.showForAWhile();

    QtSettingsStore store;
    frmKvl window(appDir, store);
    window.show();
    splash.close();
    NumLock::SetKeyOn(NumLock::VkNumLock);

    frmTip tip(appDir, &window);
    if (tip.hasTip())
        tip.exec();
    return app.exec();
}
