#include "platform/linux/PortalHotKey.h"

#include "platform/linux/HotKeyBackends.h"

#include <QAtomicInteger>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <utility>
#include <vector>

namespace {

// One element of BindShortcuts' list: an id and its properties, D-Bus type (sa{sv}).
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace lunor::platform::linux_hotkey {
namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The method calls return at once (the answers come later as signals); a portal that does not
// answer within this time is taken as absent.
constexpr int CallTimeoutMilliseconds = 3000;

// The trigger in the form of the shortcuts specification: "CTRL+SHIFT+d".
QString triggerOf(unsigned modifiers, unsigned keyCode)
{
    QStringList parts;
    if (modifiers & ModControl)
        parts << QStringLiteral("CTRL");
    if (modifiers & ModAlt)
        parts << QStringLiteral("ALT");
    if (modifiers & ModShift)
        parts << QStringLiteral("SHIFT");
    if (modifiers & ModWin)
        parts << QStringLiteral("LOGO");
    parts << QString(QChar(keyCode)).toLower();
    return parts.join(QLatin1Char('+'));
}

bool nameable(unsigned modifiers, unsigned keyCode)
{
    constexpr unsigned known = ModAlt | ModControl | ModShift | ModWin;
    const bool letter = keyCode >= 'A' && keyCode <= 'Z';
    const bool digit = keyCode >= '0' && keyCode <= '9';
    return (modifiers & ~known) == 0 && (letter || digit);
}

// The part of a request's or session's object path that stands for this connection.
QString senderPart(const QDBusConnection &bus)
{
    QString name = bus.baseService();
    name.remove(0, 1).replace(QLatin1Char('.'), QLatin1Char('_'));
    return name;
}

QString pathText(const QVariant &value)
{
    // The session handle is documented as a string, but an object path is accepted too.
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

PortalHotKey::PortalHotKey(Handler handler, QDBusConnection bus)
    : m_handler(std::move(handler))
    , m_bus(std::move(bus))
{
    m_bus.connect(PortalService, PortalPath, ShortcutsInterface, QStringLiteral("Activated"), this,
        SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

PortalHotKey::~PortalHotKey()
{
    QDBusConnection::disconnectFromBus(m_bus.name());
}

bool PortalHotKey::registerHotKey(unsigned modifiers, unsigned keyCode)
{
    if (!nameable(modifiers, keyCode))
        return false;
    const QString token = QStringLiteral("lunortime%1").arg(++m_tokens);
    Registration registration { modifiers, keyCode, token, watchRequest(token), {} };
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, PortalPath, ShortcutsInterface, QStringLiteral("CreateSession"));
    call << QVariantMap { { QStringLiteral("handle_token"), token },
        { QStringLiteral("session_handle_token"), token } };
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, CallTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        unwatchRequest(registration.request);
        return false;
    }
    follow(registration, reply.arguments().constFirst().value<QDBusObjectPath>().path());
    m_registrations.push_back(std::move(registration));
    return true;
}

void PortalHotKey::response(uint code, const QVariantMap &results, const QDBusMessage &message)
{
    for (Registration &registration : m_registrations) {
        if (registration.request != message.path())
            continue;
        unwatchRequest(registration.request);
        registration.request.clear();
        // Refused or cancelled: this combination stays without a hot key. Once bound, the
        // shortcut's Activated signals are all that is left to wait for.
        if (code == 0 && registration.session.isEmpty()) {
            registration.session = pathText(results.value(QStringLiteral("session_handle")));
            bind(registration);
        }
        return;
    }
}

void PortalHotKey::activated(
    const QDBusObjectPath &session, const QString &shortcutId, qulonglong, const QVariantMap &)
{
    for (const Registration &registration : m_registrations) {
        if (registration.session == session.path() && registration.token == shortcutId) {
            m_handler(registration.keyCode, registration.modifiers);
            return;
        }
    }
}

// The Response can come before the method's reply: watch the path it will have first.
QString PortalHotKey::watchRequest(const QString &token)
{
    QString path = QStringLiteral("%1/request/%2/%3").arg(PortalPath, senderPart(m_bus), token);
    m_bus.connect(PortalService, path, RequestInterface, QStringLiteral("Response"), this,
        SLOT(response(uint, QVariantMap, QDBusMessage)));
    return path;
}

void PortalHotKey::unwatchRequest(const QString &path)
{
    m_bus.disconnect(PortalService, path, RequestInterface, QStringLiteral("Response"), this,
        SLOT(response(uint, QVariantMap, QDBusMessage)));
}

// An older portal may answer with another request path than the one asked for.
void PortalHotKey::follow(Registration &registration, const QString &path)
{
    if (path.isEmpty() || path == registration.request)
        return;
    unwatchRequest(registration.request);
    m_bus.connect(PortalService, path, RequestInterface, QStringLiteral("Response"), this,
        SLOT(response(uint, QVariantMap, QDBusMessage)));
    registration.request = path;
}

void PortalHotKey::bind(Registration &registration)
{
    const QString token = registration.token + QStringLiteral("bind");
    registration.request = watchRequest(token);
    const PortalShortcut shortcut { registration.token,
        { { QStringLiteral("description"), QStringLiteral("Lunor定时系统：显示窗口") },
            { QStringLiteral("preferred_trigger"),
                triggerOf(registration.modifiers, registration.keyCode) } } };
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, PortalPath, ShortcutsInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(registration.session))
         << QVariant::fromValue(QList<PortalShortcut> { shortcut }) << QString()
         << QVariantMap { { QStringLiteral("handle_token"), token } };
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, CallTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        unwatchRequest(registration.request);
        registration.request.clear();
        return;
    }
    follow(registration, reply.arguments().constFirst().value<QDBusObjectPath>().path());
}

namespace {

// Each hot-key object has a connection of its own, opened at the address the environment
// gives at that moment (the D-Bus library would keep the first address it saw).
QDBusConnection openSessionBus()
{
    static QAtomicInteger<int> connections;
    const QString name = QStringLiteral("lunor-portal-%1").arg(++connections);
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty())
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    return QDBusConnection::connectToBus(address, name);
}

} // namespace

std::unique_ptr<HotKey> createPortalHotKey(HotKey::Handler handler, const QString &applicationId)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    QDBusConnection bus = openSessionBus();
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(bus.name());
        return nullptr;
    }
    // A program outside a sandbox tells the portal which application it is, before anything
    // else; portals without this registry answer with an error, which changes nothing.
    QDBusMessage registerCall = QDBusMessage::createMethodCall(PortalService, PortalPath,
        QStringLiteral("org.freedesktop.host.portal.Registry"), QStringLiteral("Register"));
    registerCall << applicationId << QVariantMap();
    bus.call(registerCall, QDBus::Block, CallTimeoutMilliseconds);

    QDBusMessage versionCall = QDBusMessage::createMethodCall(PortalService, PortalPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    versionCall << ShortcutsInterface << QStringLiteral("version");
    const QDBusMessage version = bus.call(versionCall, QDBus::Block, CallTimeoutMilliseconds);
    if (version.type() != QDBusMessage::ReplyMessage) {
        QDBusConnection::disconnectFromBus(bus.name());
        return nullptr;
    }
    return std::make_unique<PortalHotKey>(std::move(handler), bus);
}

} // namespace lunor::platform::linux_hotkey
