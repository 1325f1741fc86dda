#include "settings/QtSettingsStore.h"

#include <algorithm>
#include <memory>

#include <QSettings>

namespace
{

QString Latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::unique_ptr<QSettings> Open(const std::string& app)
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QString::fromLatin1(QtSettingsStore::Organisation),
                                       Latin1(app));
}

QString KeyPath(const std::string& section, const std::string& key)
{
    return Latin1(section) + QLatin1Char('/') + Latin1(key);
}

} // namespace

std::string QtSettingsStore::getSetting(const std::string& app, const std::string& section,
                                        const std::string& key, const std::string& def) const
{
    const auto settings = Open(app);
    const QVariant v = settings->value(KeyPath(section, key));
    if (!v.isValid())
        return def;
    return v.toString().toLatin1().toStdString();
}

void QtSettingsStore::saveSetting(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& value)
{
    const auto settings = Open(app);
    settings->setValue(KeyPath(section, key), Latin1(value));
}

std::vector<std::pair<std::string, std::string>>
QtSettingsStore::getAllSettings(const std::string& app, const std::string& section) const
{
    const auto settings = Open(app);
    settings->beginGroup(Latin1(section));
    std::vector<std::pair<std::string, std::string>> out;
    for (const QString& key : settings->childKeys())
        out.emplace_back(key.toLatin1().toStdString(),
                         settings->value(key).toString().toLatin1().toStdString());
    std::sort(out.begin(), out.end());
    return out;
}
