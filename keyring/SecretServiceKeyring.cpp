// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers come before Qt's: Qt defines `signals` as a keyword, which GLib uses as a name.
#include <libsecret/secret.h>

#include "SecretServiceKeyring.h"

#include "SessionBus.h"

namespace {

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
struct TableUnref {
    void operator()(GHashTable* t) const { g_hash_table_unref(t); }
};
struct ValueUnref {
    void operator()(SecretValue* v) const { secret_value_unref(v); }
};
struct ObjectUnref {
    void operator()(gpointer o) const { g_object_unref(o); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
using TablePtr = std::unique_ptr<GHashTable, TableUnref>;
using ValuePtr = std::unique_ptr<SecretValue, ValueUnref>;

const SecretSchema* schema() {
    static const SecretSchema value = [] {
        SecretSchema s{};
        s.name = "org.tavrohistory.Tavro.Password";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0] = {"id", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return s;
    }();
    return &value;
}

TablePtr attributesFor(const QString& id) {
    const QByteArray text = id.toUtf8();
    return TablePtr(secret_attributes_build(schema(), "id", text.constData(), nullptr));
}

QString take(GError* raw) {
    ErrorPtr error(raw);
    return error ? QString::fromUtf8(error->message) : QStringLiteral("nieznany błąd");
}

}  // namespace

struct SecretServiceKeyring::Service {
    std::unique_ptr<GDBusConnection, ObjectUnref> bus;
    std::unique_ptr<SecretService, ObjectUnref> service;
};

SecretServiceKeyring::SecretServiceKeyring(std::unique_ptr<Service> service)
    : m_service(std::move(service)) {}

SecretServiceKeyring::~SecretServiceKeyring() = default;

std::unique_ptr<SecretServiceKeyring> SecretServiceKeyring::connect(QString& error) {
    // GLib would otherwise start a bus of its own through X11 when the session has none, and the
    // keyring it might then activate would ask the user to create one.
    if (!SessionBus::known()) {
        error = QStringLiteral("brak magistrali sesji D-Bus");
        return nullptr;
    }
    auto service = std::make_unique<Service>();
    GError* raw = nullptr;
    service->bus.reset(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw));
    if (!service->bus) {
        error = take(raw);
        return nullptr;
    }
    // GLib ends the whole process when its shared session bus goes away; a keyring that is gone
    // must only fail the next call.
    g_dbus_connection_set_exit_on_close(service->bus.get(), FALSE);
    // Opening a session is a real call, so a bus without a Secret Service fails here.
    service->service.reset(secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr,
                                                    SECRET_SERVICE_OPEN_SESSION, nullptr, &raw));
    if (!service->service) {
        error = take(raw);
        return nullptr;
    }
    return std::unique_ptr<SecretServiceKeyring>(new SecretServiceKeyring(std::move(service)));
}

QString SecretServiceKeyring::labelFor(const QString& user) {
    return QStringLiteral("Tavro: %1").arg(user);
}

bool SecretServiceKeyring::store(const QString& id, const QString& user, const QString& password,
                                 QString& error) {
    const std::lock_guard guard(m_lock);
    const TablePtr attributes = attributesFor(id);
    const QByteArray secret = password.toUtf8();
    const ValuePtr value(secret_value_new(secret.constData(), secret.size(), "text/plain"));
    GError* raw = nullptr;
    const bool stored = secret_service_store_sync(
        m_service->service.get(), schema(), attributes.get(), SECRET_COLLECTION_DEFAULT,
        labelFor(user).toUtf8().constData(), value.get(), nullptr, &raw);
    if (!stored) {
        error = take(raw);
    }
    return stored;
}

std::optional<QString> SecretServiceKeyring::lookup(const QString& id, QString& error) {
    const std::lock_guard guard(m_lock);
    const TablePtr attributes = attributesFor(id);
    GError* raw = nullptr;
    const ValuePtr value(secret_service_lookup_sync(m_service->service.get(), schema(),
                                                    attributes.get(), nullptr, &raw));
    if (!value) {
        error = raw ? take(raw) : QStringLiteral("brak wpisu");
        return std::nullopt;
    }
    gsize length = 0;
    const gchar* secret = secret_value_get(value.get(), &length);
    return QString::fromUtf8(secret, static_cast<qsizetype>(length));
}

bool SecretServiceKeyring::remove(const QString& id, QString& error) {
    const std::lock_guard guard(m_lock);
    const TablePtr attributes = attributesFor(id);
    GError* raw = nullptr;
    // False without an error means there was nothing to remove.
    if (!secret_service_clear_sync(m_service->service.get(), schema(), attributes.get(), nullptr,
                                   &raw) &&
        raw != nullptr) {
        error = take(raw);
        return false;
    }
    return true;
}
