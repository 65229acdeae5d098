#pragma once
// Key codes and modifier states as the platform reports them. The values are the
// Windows virtual-key codes, so the Win32 adapter passes them through unchanged.
#include <cstdint>

namespace vormix {

using TKey = std::uint16_t;

namespace vk {
constexpr TKey Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
               Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
               Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E,
               Apps = 0x5D, F4 = 0x73, F10 = 0x79;
constexpr TKey Letter(char upper) { return static_cast<TKey>(upper); }
}  // namespace vk

// Modifier keys and mouse buttons held during an input event.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// What a focused control wants to receive itself instead of leaving it to the
// window's dialog-key handling (Tab navigation, default and cancel buttons).
using TDialogCodes = unsigned;
constexpr TDialogCodes dcWantArrows = 1, dcWantTab = 2, dcWantReturn = 4, dcWantChars = 8,
                       dcWantAllKeys = 16, dcButton = 32;

}  // namespace vormix
