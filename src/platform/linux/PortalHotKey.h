#pragma once

#include "platform/HotKey.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <vector>

namespace lunor::platform::linux_hotkey {

// The desktop portal's GlobalShortcuts: the way to a system-wide hot key in a Wayland session,
// where no program may grab keys for itself. A registration opens a portal session and binds
// one shortcut in it with the combination as its preferred trigger; the desktop may ask the
// user to confirm or change it. Each Activated signal of a bound shortcut reaches the handler
// with the combination it was registered for.
class PortalHotKey final : public QObject, public HotKey
{
    Q_OBJECT

public:
    PortalHotKey(Handler handler, QDBusConnection bus);
    ~PortalHotKey() override;
    PortalHotKey(const PortalHotKey &) = delete;
    PortalHotKey &operator=(const PortalHotKey &) = delete;

    // True when the portal took the request; it binds the shortcut later, once the desktop (or
    // the user) has agreed.
    bool registerHotKey(unsigned modifiers, unsigned keyCode) override;

private slots:
    void response(uint code, const QVariantMap &results, const QDBusMessage &message);
    void activated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong timestamp,
        const QVariantMap &options);

private:
    struct Registration
    {
        unsigned modifiers;
        unsigned keyCode;
        QString token; // names the request, the session and the shortcut
        QString request; // the request whose Response is awaited
        QString session;
    };

    QString watchRequest(const QString &token);
    void unwatchRequest(const QString &path);
    void follow(Registration &registration, const QString &path);
    void bind(Registration &registration);

    Handler m_handler;
    QDBusConnection m_bus;
    std::vector<Registration> m_registrations;
    int m_tokens = 0;
};

} // namespace lunor::platform::linux_hotkey
