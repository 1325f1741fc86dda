#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/NumLock.h"
#include "app/QtSettingsStore.h"
#include "app/QtText.h"
#include "app/frmKvl.h"
#include "app/frmSplash.h"
#include "common/BuildInfo.h"
#include "startup/AppDirectory.h"

namespace
{

std::filesystem::path LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The program's own files and the folder the operator starts in; an installed program's
// folder is not the operator's to write in.
frmKvl::Folders FindFolders()
{
    const auto appDir = AppDirectory::Find(LocalPath(QCoreApplication::applicationDirPath()));
    const auto documents =
        LocalPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const auto data = AppDirectory::StartFolder(appDir, AppDirectory::Writable(appDir), documents);
    if (!data.problem.empty())
        QMessageBox::warning(nullptr, QStringLiteral("KORVALEN"), QtText::Display(data.problem));
    return {appDir, data.path};
}

// --help and --version answer without a display: they are parsed before the window
// system is reached.
void AnswerOptions(int argc, char* argv[])
{
    const QCoreApplication probe(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("KORVALEN data entry and verification"));
    options.addHelpOption();
    options.addVersionOption();
    options.process(probe);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Korvalen"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::Version));
    AnswerOptions(argc, argv);

    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvalen.png")));

    const frmKvl::Folders folders = FindFolders();
    frmSplash splash;
    splash.showForAWhile();

    QtSettingsStore store;
    frmKvl window(folders, store);
    window.show();
    splash.close();
    NumLock::SetKeyOn(NumLock::VkNumLock);

    window.showTipOfDay();
    return app.exec();
}
