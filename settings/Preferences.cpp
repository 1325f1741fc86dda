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
    const std::string dup = store.getSetting(AppName, "dupkey", "dupkey", "");
    if (!dup.empty()) {
        // Beyond any key code: no key duplicates, as with a value that is no number.
        const auto v = text::Val(dup);
        DupKeyCode = v >= INT32_MIN && v <= INT32_MAX ? static_cast<int>(v) : 0;
    } else
        store.saveSetting(AppName, "dupkey", "dupkey", std::to_string(DupKey7));
    // "-1" is on, "0" off; a value that is no 16-bit whole number leaves the switch off.
    const std::string sw = store.getSetting(AppName, "uptronsw", "sw", "");
    if (IsWholeNumber(sw)) {
        const auto v = text::Val(sw);
        UptronSw = v >= INT16_MIN && v <= INT16_MAX && v != 0;
    }
}

void Preferences::LoadMemKeys(const SettingsStore& store)
{
    // Keys never saved by this program: the section is not ours to read. An empty F2 is
    // only an unused key; the others are still loaded, or Exit would save blanks over them.
    if (!store.hasSetting(AppName, "Memkey", MemKeyName(2)))
        return;
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
