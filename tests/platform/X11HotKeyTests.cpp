// The hot key on a real X server (Xvfb, started by ctest), pressed with xdotool as a user
// presses it: the passive grab receives it whichever window has the focus.
#include "platform/HotKey.h"

#include "HotKeyPresses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lunor::test {
namespace {

using platform::ModAlt;
using platform::ModControl;
using platform::ModShift;
using platform::ModWin;

void xdotool(const QStringList &arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << "xdotool failed";
}

void pressKeys(const char *keys)
{
    xdotool({ QStringLiteral("key"), QString::fromLatin1(keys) });
}

class X11HotKeyTest : public ::testing::Test
{
protected:
    X11HotKeyTest()
        : m_hotKey(platform::createHotKey([this](unsigned keyCode, unsigned modifiers) {
            presses.push_back({ keyCode, modifiers });
        }))
    { }

    platform::HotKey &hotKey() { return *m_hotKey; }

    // Presses the keys, then waits until the given number of presses has arrived in all.
    bool pressAndWait(const char *keys, std::size_t total)
    {
        pressKeys(keys);
        return waitFor([&] { return presses.size() >= total; });
    }

    std::vector<Press> presses;

private:
    std::unique_ptr<platform::HotKey> m_hotKey;
};

TEST_F(X11HotKeyTest, EachRegisteredCombinationReachesTheHandlerWithItsKeyAndModifiers)
{
    struct Case
    {
        unsigned modifiers;
        unsigned keyCode;
        const char *keys;
    };
    const Case cases[] = {
        { ModControl, 'D', "ctrl+d" },
        { ModControl | ModAlt, 'K', "ctrl+alt+k" },
        { ModControl | ModShift, 'S', "ctrl+shift+s" },
        { ModWin, 'W', "super+w" },
        { ModControl, 'Z', "ctrl+z" },
        { ModControl, '7', "ctrl+7" },
    };
    for (const Case &c : cases)
        ASSERT_TRUE(hotKey().registerHotKey(c.modifiers, c.keyCode)) << c.keys;
    for (const Case &c : cases) {
        presses.clear();
        ASSERT_TRUE(pressAndWait(c.keys, 1)) << c.keys << " did not arrive";
        EXPECT_EQ(presses, (std::vector<Press> { { c.keyCode, c.modifiers } })) << c.keys;
    }
}

TEST_F(X11HotKeyTest, OtherModifiersAndOtherKeysDoNotReachTheHandler)
{
    ASSERT_TRUE(hotKey().registerHotKey(ModControl, 'D'));
    for (const char *other : { "ctrl+shift+d", "ctrl+alt+d", "d", "shift+d", "ctrl+e", "alt+d" })
        pressKeys(other);
    // Events arrive in order: once the real hot key is here, the others would have been too.
    ASSERT_TRUE(pressAndWait("ctrl+d", 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, (std::vector<Press> { { 'D', ModControl } }));
}

TEST_F(X11HotKeyTest, WorksWithCapsLockAndNumLockOn)
{
    ASSERT_TRUE(hotKey().registerHotKey(ModControl, 'D'));
    const char *locks[][2] = {
        { "Caps_Lock", nullptr },
        { "Num_Lock", nullptr },
        { "Caps_Lock", "Num_Lock" },
    };
    for (const auto &lock : locks) {
        presses.clear();
        for (const char *key : lock) {
            if (key)
                pressKeys(key); // switches the lock on
        }
        const bool arrived = pressAndWait("ctrl+d", 1);
        for (const char *key : lock) {
            if (key)
                pressKeys(key); // and off again
        }
        ASSERT_TRUE(arrived) << "not with " << lock[0] << (lock[1] ? " and " : "")
                             << (lock[1] ? lock[1] : "") << " on";
        EXPECT_EQ(presses, (std::vector<Press> { { 'D', ModControl } }));
    }
}

// Another client on the same server: this test program in its holding mode.
class Holder
{
public:
    explicit Holder(const char *letter)
    {
        m_process.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--hold"), QString::fromLatin1(letter) });
        m_process.waitForReadyRead(10000);
        m_answer = m_process.readLine().trimmed().toStdString();
    }
    ~Holder()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    Holder(const Holder &) = delete;
    Holder &operator=(const Holder &) = delete;

    const std::string &answer() const { return m_answer; }

private:
    QProcess m_process;
    std::string m_answer;
};

TEST_F(X11HotKeyTest, ACombinationAnotherProgramHoldsIsRefusedAndTheOthersStillWork)
{
    ASSERT_TRUE(hotKey().registerHotKey(ModControl, 'D'));
    {
        Holder holder("E");
        ASSERT_EQ(holder.answer(), "held");
        EXPECT_FALSE(hotKey().registerHotKey(ModControl, 'E'));
        // The refused combination is not half taken: the other program still gets it all.
        pressKeys("ctrl+e");
        ASSERT_TRUE(pressAndWait("ctrl+d", 1));
        EXPECT_EQ(presses, (std::vector<Press> { { 'D', ModControl } }));
    }
    // Once the other program has ended, the combination is free.
    ASSERT_TRUE(waitFor([&] { return hotKey().registerHotKey(ModControl, 'E'); }));
    presses.clear();
    ASSERT_TRUE(pressAndWait("ctrl+e", 1));
    EXPECT_EQ(presses, (std::vector<Press> { { 'E', ModControl } }));
}

TEST_F(X11HotKeyTest, TheGrabEndsWithTheObject)
{
    {
        auto first = platform::createHotKey([](unsigned, unsigned) {});
        ASSERT_TRUE(first->registerHotKey(ModControl, 'D'));
        Holder blocked("D");
        EXPECT_EQ(blocked.answer(), "refused");
    }
    Holder holder("D");
    EXPECT_EQ(holder.answer(), "held");
}

TEST_F(X11HotKeyTest, KeysAndModifiersItCannotNameAreRefused)
{
    EXPECT_FALSE(hotKey().registerHotKey(ModControl, 0x70)); // F1 on Windows
    EXPECT_FALSE(hotKey().registerHotKey(ModControl, 'a'));
    EXPECT_FALSE(hotKey().registerHotKey(ModControl | 0x4000, 'D'));
}

// Holding mode: registers Ctrl+<letter>, says "held" or "refused" and waits to be ended.
int hold(const char *letter)
{
    auto hotKey = platform::createHotKey([](unsigned, unsigned) {});
    const bool held = hotKey->registerHotKey(ModControl, static_cast<unsigned char>(letter[0]));
    std::printf("%s\n", held ? "held" : "refused");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace
} // namespace lunor::test

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return lunor::test::hold(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
