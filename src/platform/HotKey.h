#pragma once

#include <functional>
#include <memory>

namespace lunor::platform {

// Modifier bits of a hot key, with the values the main window's handler compares.
inline constexpr unsigned ModAlt = 0x1;
inline constexpr unsigned ModControl = 0x2;
inline constexpr unsigned ModShift = 0x4;
inline constexpr unsigned ModWin = 0x8;

// System-wide hot keys: a press of a registered combination reaches the handler on the
// event loop's thread with its key code (the capital letter's code for a letter key) and the
// modifier bits that were held. Where the desktop offers no way (no X server, no portal) or
// refuses the combination, registration fails without a word.
class HotKey
{
public:
    using Handler = std::function<void(unsigned keyCode, unsigned modifiers)>;

    virtual ~HotKey() = default;
    // False when the combination could not be registered.
    virtual bool registerHotKey(unsigned modifiers, unsigned keyCode) = 0;
};

// The hot-key service of the running desktop session; needs a running QGuiApplication (the
// target lunor_platform_gui).
std::unique_ptr<HotKey> createHotKey(HotKey::Handler handler);

} // namespace lunor::platform
