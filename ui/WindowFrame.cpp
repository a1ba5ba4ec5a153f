#include "WindowFrame.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* x11Connection() {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

std::optional<QPoint> clientTopLeft(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    const Reply<xcb_translate_coordinates_reply_t> translated(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), nullptr));
    if (!translated) {
        return std::nullopt;
    }
    return QPoint(translated->dst_x, translated->dst_y);
}

// _NET_FRAME_EXTENTS: left, right, top and bottom border widths; zero without a window manager.
QPoint frameOffset(xcb_connection_t* connection, xcb_window_t window) {
    static constexpr char kName[] = "_NET_FRAME_EXTENTS";
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::strlen(kName), kName), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return {};
    }
    const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) < 16) {
        return {};
    }
    const auto* extents = static_cast<const uint32_t*>(xcb_get_property_value(property.get()));
    return QPoint(static_cast<int>(extents[0]), static_cast<int>(extents[2]));
}

}  // namespace

QPoint WindowFrame::topLeft(const QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || window->windowHandle() == nullptr) {
        return window->pos();
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::optional<QPoint> client = clientTopLeft(connection, id);
    if (!client) {
        return window->pos();
    }
    return *client - frameOffset(connection, id);
}
