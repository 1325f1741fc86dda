#include "app/QtSettingsStore.h"

#include <algorithm>
#include <memory>

#include <QSettings>

#include "app/QtText.h"

namespace
{

using QtText::Latin1;
using QtText::ToLatin1;

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
    return ToLatin1(v.toString());
}

bool QtSettingsStore::hasSetting(const std::string& app, const std::string& section,
                                 const std::string& key) const
{
    return Open(app)->contains(KeyPath(section, key));
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
        out.emplace_back(ToLatin1(key), ToLatin1(settings->value(key).toString()));
    std::sort(out.begin(), out.end());
    return out;
}
