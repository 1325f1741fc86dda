#include "settings/SettingsStore.h"

std::string SettingsStore::UnreadableMessage(const std::string& file, const std::string& reason)
{
    return "The settings file " + file + " could not be read: " + reason +
           ".\nThe program goes on with its built-in settings, and nothing is saved over that "
           "file until it is started again.";
}

std::string SettingsStore::UnwritableMessage(const std::string& file, const std::string& reason)
{
    return "The settings could not be saved to " + file + ": " + reason +
           ".\nChanges to the settings are kept until the program ends, but not stored.";
}
