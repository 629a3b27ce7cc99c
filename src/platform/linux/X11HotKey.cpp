#include "platform/linux/HotKeyBackends.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QObject>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace lunor::platform::linux_hotkey {
namespace {

// The X modifier bits that stand for the hot key's modifiers, and the lock modifiers that
// must not keep a hot key from working while they are on.
struct ModifierMasks
{
    std::uint16_t alt = XCB_MOD_MASK_1;
    std::uint16_t win = XCB_MOD_MASK_4;
    std::uint16_t numLock = XCB_MOD_MASK_2;
};

// The server's key map: which key codes carry which key symbols.
class KeyMap
{
public:
    explicit KeyMap(xcb_connection_t *connection)
    {
        const xcb_setup_t *setup = xcb_get_setup(connection);
        m_minKeycode = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto cookie = xcb_get_keyboard_mapping(
            connection, setup->min_keycode, static_cast<std::uint8_t>(count));
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
            xcb_get_keyboard_mapping_reply(connection, cookie, nullptr), &std::free);
        if (!reply)
            return;
        m_perKeycode = reply->keysyms_per_keycode;
        const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(reply.get());
        m_symbols.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    // Every key code whose unshifted symbol is this one.
    std::vector<xcb_keycode_t> keycodesOf(xcb_keysym_t symbol) const
    {
        std::vector<xcb_keycode_t> found;
        for (std::size_t i = 0; m_perKeycode > 0 && i < m_symbols.size(); i += m_perKeycode) {
            if (m_symbols[i] == symbol)
                found.push_back(static_cast<xcb_keycode_t>(m_minKeycode + i / m_perKeycode));
        }
        return found;
    }

    bool carries(xcb_keycode_t keycode, xcb_keysym_t symbol) const
    {
        if (m_perKeycode == 0 || keycode < m_minKeycode)
            return false;
        const std::size_t first = std::size_t(keycode - m_minKeycode) * m_perKeycode;
        for (std::size_t i = first; i < first + m_perKeycode && i < m_symbols.size(); ++i) {
            if (m_symbols[i] == symbol)
                return true;
        }
        return false;
    }

private:
    std::vector<xcb_keysym_t> m_symbols;
    std::size_t m_perKeycode = 0;
    xcb_keycode_t m_minKeycode = 0;
};

// Which of Mod1..Mod5 hold Alt, the Windows (Super) key and NumLock on this server; the
// usual places when the server does not say.
ModifierMasks modifierMasks(xcb_connection_t *connection, const KeyMap &keys)
{
    ModifierMasks masks;
    auto cookie = xcb_get_modifier_mapping(connection);
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_modifier_mapping_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return masks;
    const int perModifier = reply->keycodes_per_modifier;
    const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    std::uint16_t alt = 0;
    std::uint16_t win = 0;
    std::uint16_t numLock = 0;
    // Shift, Lock and Control are fixed; Mod1..Mod5 are the modifiers 3 to 7.
    for (int modifier = 3; modifier < 8; ++modifier) {
        const auto bit = static_cast<std::uint16_t>(1U << modifier);
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t keycode = keycodes[modifier * perModifier + k];
            if (keycode == 0)
                continue;
            if (keys.carries(keycode, XK_Alt_L) || keys.carries(keycode, XK_Alt_R))
                alt |= bit;
            if (keys.carries(keycode, XK_Super_L) || keys.carries(keycode, XK_Super_R))
                win |= bit;
            if (keys.carries(keycode, XK_Num_Lock))
                numLock |= bit;
        }
    }
    if (alt)
        masks.alt = alt;
    if (win)
        masks.win = win;
    if (numLock)
        masks.numLock = numLock;
    return masks;
}

// The X key symbol of a key code as the handler knows it: capital letters and digits, which
// are their own codes.
xcb_keysym_t keysymOf(unsigned keyCode)
{
    if (keyCode >= 'A' && keyCode <= 'Z')
        return XK_a + (keyCode - 'A');
    if (keyCode >= '0' && keyCode <= '9')
        return XK_0 + (keyCode - '0');
    return XCB_NO_SYMBOL;
}

class X11HotKey final : public HotKey, public QAbstractNativeEventFilter
{
public:
    X11HotKey(Handler handler, xcb_connection_t *connection)
        : m_handler(std::move(handler))
        , m_connection(connection)
    {
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
             xcb_screen_next(&it))
            m_roots.push_back(it.data->root);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11HotKey() override
    {
        if (!QCoreApplication::instance())
            return;
        QCoreApplication::instance()->removeNativeEventFilter(this);
        for (const Registration &registration : m_registrations)
            ungrab(registration.keycodes, registration.mask);
        xcb_flush(m_connection);
    }

    X11HotKey(const X11HotKey &) = delete;
    X11HotKey &operator=(const X11HotKey &) = delete;

    bool registerHotKey(unsigned modifiers, unsigned keyCode) override
    {
        constexpr unsigned known = ModAlt | ModControl | ModShift | ModWin;
        const xcb_keysym_t symbol = keysymOf(keyCode);
        if ((modifiers & ~known) != 0 || symbol == XCB_NO_SYMBOL)
            return false;
        for (const Registration &registration : m_registrations) {
            if (registration.modifiers == modifiers && registration.keyCode == keyCode)
                return true;
        }

        const KeyMap keys(m_connection);
        m_masks = modifierMasks(m_connection, keys);
        Registration registration { modifiers, keyCode, toMask(modifiers),
            keys.keycodesOf(symbol) };
        if (registration.keycodes.empty())
            return false;
        if (!grab(registration.keycodes, registration.mask))
            return false;
        m_registrations.push_back(std::move(registration));
        return true;
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
            return false;
        const auto *press = static_cast<const xcb_key_press_event_t *>(message);
        if (std::ranges::find(m_roots, press->event) == m_roots.end())
            return false;
        // The state also carries pointer buttons and the keyboard group; only the eight
        // modifiers count, without the locks.
        const auto held = static_cast<std::uint16_t>(press->state & 0xFF & ~lockMask());
        const auto match = std::ranges::find_if(m_registrations, [&](const Registration &r) {
            return r.mask == held
                && std::ranges::find(r.keycodes, press->detail) != r.keycodes.end();
        });
        if (match == m_registrations.end())
            return false;
        deliver(match->keyCode, fromMask(held));
        return true;
    }

private:
    struct Registration
    {
        unsigned modifiers;
        unsigned keyCode;
        std::uint16_t mask;
        std::vector<xcb_keycode_t> keycodes;
    };

    std::uint16_t lockMask() const { return XCB_MOD_MASK_LOCK | m_masks.numLock; }

    // With CapsLock or NumLock on the server reports them as modifiers too: each combination
    // is grabbed with every state of the two locks.
    std::vector<std::uint16_t> withLocks(std::uint16_t mask) const
    {
        return { mask, static_cast<std::uint16_t>(mask | XCB_MOD_MASK_LOCK),
            static_cast<std::uint16_t>(mask | m_masks.numLock),
            static_cast<std::uint16_t>(mask | XCB_MOD_MASK_LOCK | m_masks.numLock) };
    }

    // All or nothing: when the server refuses any part (another client holds the combination:
    // BadAccess), the parts already taken are given back.
    bool grab(const std::vector<xcb_keycode_t> &keycodes, std::uint16_t mask)
    {
        struct Request
        {
            xcb_window_t root;
            xcb_keycode_t keycode;
            std::uint16_t mask;
            xcb_void_cookie_t cookie;
        };
        std::vector<Request> requests;
        for (xcb_window_t root : m_roots) {
            for (xcb_keycode_t keycode : keycodes) {
                for (std::uint16_t variant : withLocks(mask)) {
                    // The events go to the root window even when one of our own windows has
                    // the focus (owner_events false), as a system-wide hot key does.
                    requests.push_back({ root, keycode, variant,
                        xcb_grab_key_checked(m_connection, 0, root, variant, keycode,
                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC) });
                }
            }
        }
        bool refused = false;
        std::vector<const Request *> taken;
        for (const Request &request : requests) {
            if (xcb_generic_error_t *error = xcb_request_check(m_connection, request.cookie)) {
                refused = true;
                std::free(error);
            } else {
                taken.push_back(&request);
            }
        }
        if (refused) {
            for (const Request *request : taken)
                xcb_ungrab_key(m_connection, request->keycode, request->root, request->mask);
            xcb_flush(m_connection);
        }
        return !refused;
    }

    void ungrab(const std::vector<xcb_keycode_t> &keycodes, std::uint16_t mask)
    {
        for (xcb_window_t root : m_roots) {
            for (xcb_keycode_t keycode : keycodes) {
                for (std::uint16_t variant : withLocks(mask))
                    xcb_ungrab_key(m_connection, keycode, root, variant);
            }
        }
    }

    std::uint16_t toMask(unsigned modifiers) const
    {
        std::uint16_t mask = 0;
        if (modifiers & ModShift)
            mask |= XCB_MOD_MASK_SHIFT;
        if (modifiers & ModControl)
            mask |= XCB_MOD_MASK_CONTROL;
        if (modifiers & ModAlt)
            mask |= m_masks.alt;
        if (modifiers & ModWin)
            mask |= m_masks.win;
        return mask;
    }

    unsigned fromMask(std::uint16_t mask) const
    {
        unsigned modifiers = 0;
        if (mask & XCB_MOD_MASK_SHIFT)
            modifiers |= ModShift;
        if (mask & XCB_MOD_MASK_CONTROL)
            modifiers |= ModControl;
        if (mask & m_masks.alt)
            modifiers |= ModAlt;
        if (mask & m_masks.win)
            modifiers |= ModWin;
        return modifiers;
    }

    // The handler runs from the event loop, not from inside Qt's handling of X events: it may
    // show windows or open a message box with an event loop of its own. A call still queued
    // when this object goes is dropped with its context.
    void deliver(unsigned keyCode, unsigned modifiers)
    {
        QMetaObject::invokeMethod(
            &m_context, [this, keyCode, modifiers] { m_handler(keyCode, modifiers); },
            Qt::QueuedConnection);
    }

    Handler m_handler;
    xcb_connection_t *m_connection;
    std::vector<xcb_window_t> m_roots;
    ModifierMasks m_masks;
    std::vector<Registration> m_registrations;
    QObject m_context;
};

} // namespace

std::unique_ptr<HotKey> createX11HotKey(HotKey::Handler handler)
{
    auto *application = qGuiApp;
    if (!application)
        return nullptr;
    auto *x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<X11HotKey>(std::move(handler), x11->connection());
}

} // namespace lunor::platform::linux_hotkey
