#pragma once

#include <optional>

#include <QString>
#include <Qt>

class QKeyEvent;

// A Qt key press as the engine takes it: the key-down code in the classic virtual-key
// numbering (0 when the key has none), the KeyShift mask and the character event, if any.
struct KeyTranslation {
    int code = 0;
    int shift = 0;
    std::optional<int> ch; // 0..255, Latin-1

    static KeyTranslation From(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
    static KeyTranslation From(const QKeyEvent& event);

    friend bool operator==(const KeyTranslation&, const KeyTranslation&) = default;
};
