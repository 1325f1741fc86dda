#pragma once

// Lock keys of the keyboard, switched on for the operator (the keypad is for digits).
namespace NumLock
{

constexpr int VkNumLock = 144;

// Switches the lock key with the given virtual key code on; only Num Lock on X11 is known.
void SetKeyOn(int vkey);

} // namespace NumLock
