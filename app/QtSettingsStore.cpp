#include "app/QtSettingsStore.h"

#include <algorithm>
#include <cerrno>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "app/QtText.h"
#include "common/FullIo.h"
#include "common/SystemFileIo.h"

namespace
{

using QtText::Latin1;
using QtText::ToLatin1;

QString KeyPath(const std::string& section, const std::string& key)
{
    return Latin1(section) + QLatin1Char('/') + Latin1(key);
}

} // namespace

QtSettingsStore::QtSettingsStore(QString folder) : m_folder(std::move(folder)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + QString::fromLatin1(Organisation);
}

QSettings* QtSettingsStore::open(const std::string& app) const
{
    if (const auto it = m_files.find(app); it != m_files.end())
        return it->second.get();
    const QString path = m_folder + QLatin1Char('/') + Latin1(app) + QStringLiteral(".ini");
    const std::string bytes = QFile::encodeName(path).toStdString();
    SystemFileIo io;
    const auto read = FullIo::ReadFile(io, bytes);
    auto& settings = m_files[app];
    // Not there (nor its folder): made at the first save.
    if (read || read.error().code == ENOENT || read.error().code == ENOTDIR)
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    else
        tell(UnreadableMessage(bytes, read.error().message));
    return settings.get();
}

std::string QtSettingsStore::getSetting(const std::string& app, const std::string& section,
                                        const std::string& key, const std::string& def) const
{
    QSettings* settings = open(app);
    if (!settings)
        return def;
    const QVariant v = settings->value(KeyPath(section, key));
    if (!v.isValid())
        return def;
    return ToLatin1(v.toString());
}

bool QtSettingsStore::hasSetting(const std::string& app, const std::string& section,
                                 const std::string& key) const
{
    QSettings* settings = open(app);
    return settings && settings->contains(KeyPath(section, key));
}

void QtSettingsStore::saveSetting(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& value)
{
    QSettings* settings = open(app);
    if (!settings)
        return;
    settings->setValue(KeyPath(section, key), Latin1(value));
    // Written now, so a failure is seen while the operator can still be told.
    settings->sync();
    if (settings->status() == QSettings::NoError || std::exchange(m_writeFailureTold, true))
        return;
    tell(UnwritableMessage(QFile::encodeName(settings->fileName()).toStdString(),
                           "the file or its folder cannot be written"));
}

std::vector<std::pair<std::string, std::string>>
QtSettingsStore::getAllSettings(const std::string& app, const std::string& section) const
{
    QSettings* settings = open(app);
    if (!settings)
        return {};
    settings->beginGroup(Latin1(section));
    std::vector<std::pair<std::string, std::string>> out;
    for (const QString& key : settings->childKeys())
        out.emplace_back(ToLatin1(key), ToLatin1(settings->value(key).toString()));
    settings->endGroup();
    std::sort(out.begin(), out.end());
    return out;
}
