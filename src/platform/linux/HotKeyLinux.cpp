#include "platform/HotKey.h"

#include "platform/linux/HotKeyBackends.h"
#include "platform/linux/Session.h"

#include <memory>
#include <utility>

namespace lunor::platform {
namespace {

// Where the desktop offers no way to a system-wide hot key, every registration fails.
class NoHotKey final : public HotKey
{
public:
    bool registerHotKey(unsigned, unsigned) override { return false; }
};

} // namespace

std::unique_ptr<HotKey> createHotKey(HotKey::Handler handler)
{
    // A Wayland desktop gives key presses only to the focused window: an X11 grab there sees
    // the keys only while a window of an X11 program has the focus.
    if (linux_session::isWaylandSession()) {
        if (auto portal = linux_hotkey::createPortalHotKey(handler, QStringLiteral(LUNOR_APP_ID)))
            return portal;
    }
    if (auto x11 = linux_hotkey::createX11HotKey(std::move(handler)))
        return x11;
    return std::make_unique<NoHotKey>();
}

} // namespace lunor::platform
