#include "platform/HotKey.h"

#include "platform/linux/HotKeyBackends.h"

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
    if (auto x11 = linux_hotkey::createX11HotKey(std::move(handler)))
        return x11;
    return std::make_unique<NoHotKey>();
}

} // namespace lunor::platform
