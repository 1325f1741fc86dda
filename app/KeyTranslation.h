#pragma once

#include <optional>

#include <QString>
#include <Qt>

#include "keying/KeyNames.h"

class QKeyEvent;

// A Qt key press as the engine takes it: the key-down code in the classic virtual-key
// numbering (0 when the key has none), the KeyShift mask and the Latin-1 character event,
// if any.
class KeyTranslation
{
public:
    static KeyStroke From(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
    static KeyStroke From(const QKeyEvent& event);
};
