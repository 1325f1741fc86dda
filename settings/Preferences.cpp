#include "settings/Preferences.h"

#include <cstdint>

#include "common/TextUtil.h"
#include "settings/SettingsStore.h"

namespace
{

bool IsWholeNumber(const std::string& s)
{
    const std::string t = text::Trim(s);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i >= t.size())
        return false;
    for (; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9')
            return false;
    return true;
}

std::string MemKeyName(int n)
{
    std::string name = std::to_string(n);
    name.insert(name.begin(), 'F');
    return name;
}

// A stored colour that is no whole number of 0x00BBGGRR leaves the colour as it is.
void LoadColor(const SettingsStore& store, const char* key, Color& color)
{
    const std::string v = store.getSetting(Preferences::AppName, "formcolor", key, "");
    if (!IsWholeNumber(v))
        return;
    const auto n = text::Val(v);
    if (n >= 0 && n <= 0xFFFFFF)
        color = static_cast<Color>(n);
}

} // namespace

Preferences::Preferences()
{
    for (auto& key : MemKeys)
        key = FixedMemText({});
}

void Preferences::LoadSettings(SettingsStore& store)
{
    LoadColor(store, "f1", TextBackColor);
    LoadColor(store, "f2", FormBackColor);
    // Numbers are read leniently, up to the first character that cannot go on with one
    // ("-1x" and "-1.0" read -1); a number too large for its variable is not assigned, so
    // the value in force stays: the 7 key, the switch off.
    const std::string dup = store.getSetting(AppName, "dupkey", "dupkey", "");
    if (!dup.empty()) {
        const auto v = text::Val(dup);
        if (v >= INT32_MIN && v <= INT32_MAX)
            DupKeyCode = static_cast<int>(v);
    } else
        store.saveSetting(AppName, "dupkey", "dupkey", std::to_string(DupKey7));
    const std::string sw = store.getSetting(AppName, "uptronsw", "sw", "");
    if (!sw.empty()) {
        const auto v = text::Val(sw);
        if (v >= INT16_MIN && v <= INT16_MAX)
            UptronSw = v != 0;
    }
}

void Preferences::LoadMemKeys(const SettingsStore& store)
{
    // Every key stored is loaded, F2 or not: Exit saves all eight, and would otherwise save
    // blanks over the ones left out.
    for (int n = 2; n <= 9; ++n) {
        const std::string v = store.getSetting(AppName, "Memkey", MemKeyName(n), "");
        if (!v.empty())
            MemKeys[static_cast<std::size_t>(n)] = FixedMemText(v);
    }
}

void Preferences::SaveMemKeys(SettingsStore& store) const
{
    for (int n = 2; n <= 9; ++n)
        store.saveSetting(AppName, "Memkey", MemKeyName(n),
                          text::Trim(MemKeys[static_cast<std::size_t>(n)]));
}

std::string Preferences::FixedMemText(const std::string& text)
{
    std::string s = text.substr(0, MemKeyLength);
    s.resize(MemKeyLength, ' ');
    return s;
}
