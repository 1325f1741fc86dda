#include "app/NumLock.h"

#include <QGuiApplication>

// The X11 headers define macros (None, Bool, Status) that clash with Qt: they come last.
#ifdef KORVALEN_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace NumLock
{

void SetKeyOn(int vkey)
{
    if (vkey != VkNumLock)
        return;
#ifdef KORVALEN_HAVE_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return;
    Display* display = x11->display();
    const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    if (mask == 0)
        return;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, mask);
    XFlush(display);
#endif
}

} // namespace NumLock
