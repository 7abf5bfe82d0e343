#include "platform/ui/AccessibilityGuard.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QLocale>
#include <QTimer>

namespace {

// Qt's names for the accessibility bus connection and its objects.
const QString kConnection = QStringLiteral("a11y");
const QString kPrefix = QStringLiteral("/org/a11y/atspi/accessible");
const QString kRoot = kPrefix + QStringLiteral("/root");
const QString kNull = QStringLiteral("/org/a11y/atspi/null");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// An object on the bus: its connection's name and its path, "(so)".
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& a, const ObjectReference& r)
{
    a.beginStructure();
    a << r.service << r.path;
    a.endStructure();
    return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, ObjectReference& r)
{
    a.beginStructure();
    a >> r.service >> r.path;
    a.endStructure();
    return a;
}

} // namespace

Q_DECLARE_METATYPE(ObjectReference)

namespace {

QAccessibleInterface* interfaceAt(const QString& path)
{
    if (path == kRoot)
        return QAccessible::queryAccessibleInterface(qApp);
    bool ok = false;
    const uint id = path.mid(kPrefix.size() + 1).toUInt(&ok);
    return ok ? QAccessible::accessibleInterface(QAccessible::Id(id)) : nullptr;
}

QString pathOf(QAccessibleInterface* iface)
{
    if (!iface)
        return kNull;
    if (iface->role() == QAccessible::Application)
        return kRoot;
    return kPrefix + u'/' + QString::number(QAccessible::uniqueId(iface));
}

class AccessibilityGuard : public QDBusVirtualObject {
public:
    AccessibilityGuard(QDBusVirtualObject* adaptor, QObject* parent)
        : QDBusVirtualObject(parent)
        , adaptor_(adaptor)
    {
    }

    QString introspect(const QString& path) const override { return adaptor_->introspect(path); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != kProperties)
            return adaptor_->handleMessage(message, connection);
        if (message.member() == QLatin1String("GetAll")) {
            QAccessibleInterface* iface = interfaceAt(message.path());
            if (!iface || !iface->isValid()) {
                connection.send(message.createErrorReply(QDBusError::UnknownObject, message.path()));
                return true;
            }
            connection.send(message.createReply(QVariant::fromValue(properties(iface, message.arguments().value(0).toString(), connection))));
            return true;
        }
        if (message.arguments().size() < 2) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, message.member()));
            return true;
        }
        return adaptor_->handleMessage(message, connection);
    }

private:
    static QVariantMap properties(QAccessibleInterface* iface, const QString& interface, const QDBusConnection& connection)
    {
        QVariantMap p;
        if (interface == QLatin1String("org.a11y.atspi.Accessible")) {
            p.insert(QStringLiteral("Name"), iface->text(QAccessible::Name));
            p.insert(QStringLiteral("Description"), iface->text(QAccessible::Description));
            p.insert(QStringLiteral("ChildCount"), iface->childCount());
            p.insert(QStringLiteral("Locale"), QLocale().name());
            QAccessibleInterface* parent = iface->role() == QAccessible::Application ? nullptr : iface->parent();
            p.insert(QStringLiteral("Parent"), QVariant::fromValue(ObjectReference{connection.baseService(), QDBusObjectPath(pathOf(parent))}));
        } else if (interface == QLatin1String("org.a11y.atspi.Application") && iface->role() == QAccessible::Application) {
            p.insert(QStringLiteral("ToolkitName"), QStringLiteral("Qt"));
            p.insert(QStringLiteral("Version"), QString::fromLatin1(qVersion()));
            p.insert(QStringLiteral("AtspiVersion"), QStringLiteral("2.1"));
        }
        return p;
    }

    QDBusVirtualObject* adaptor_;
};

void guardNow()
{
    QDBusConnection bus(kConnection);
    if (!bus.isConnected())
        return;
    QObject* registered = bus.objectRegisteredAt(kPrefix);
    if (!registered || dynamic_cast<AccessibilityGuard*>(registered))
        return;
    auto* adaptor = qobject_cast<QDBusVirtualObject*>(registered);
    if (!adaptor)
        return;
    bus.unregisterObject(kPrefix, QDBusConnection::UnregisterTree);
    auto* guard = new AccessibilityGuard(adaptor, adaptor);
    if (!bus.registerVirtualObject(kPrefix, guard, QDBusConnection::SubPath)) {
        bus.registerVirtualObject(kPrefix, adaptor, QDBusConnection::SubPath);
        delete guard;
    }
}

// Qt turns accessibility on right before it makes and registers the
// adaptor and tells the registry about the program: a call queued then runs
// before any message of a screen reader can be delivered.
class ActivationWatch : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &guardNow, Qt::QueuedConnection);
    }
};

} // namespace

namespace platform {

void GuardAccessibilityBus()
{
    qDBusRegisterMetaType<ObjectReference>();
    static ActivationWatch watch;
    QAccessible::installActivationObserver(&watch);
    // And a look a second, for a bus connected again later.
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, timer, &guardNow);
    timer->start(1000);
    guardNow();
}

} // namespace platform
