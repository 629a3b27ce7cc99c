#include "platform/HotKey.h"

#include <gtest/gtest.h>

namespace lunor::test {
namespace {

// Without an X server or a portal there is no way to a system-wide hot key: the registration
// fails and nothing else happens.
TEST(HotKeyOffscreenTest, RegistrationFailsWithoutADesktop)
{
    bool called = false;
    auto hotKey = platform::createHotKey([&](unsigned, unsigned) { called = true; });
    ASSERT_NE(hotKey, nullptr);
    EXPECT_FALSE(hotKey->registerHotKey(platform::ModControl, 'D'));
    EXPECT_FALSE(called);
}

} // namespace
} // namespace lunor::test
