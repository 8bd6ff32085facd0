#include "testdisplay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QByteArray Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
  const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr));
  if (!reply) return {};
  const int length = xcb_get_property_value_length(reply.get());
  return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

}  // namespace

TestDisplay::~TestDisplay() {
  if (connection_ != nullptr) xcb_disconnect(connection_);
  if (server_.state() != QProcess::NotRunning) {
    server_.terminate();
    if (!server_.waitForFinished(5000)) server_.kill();
    server_.waitForFinished(2000);
  }
}

bool TestDisplay::Start(QString* why) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (xvfb.isEmpty()) {
    *why = QStringLiteral("Xvfb is not installed");
    return false;
  }
  // A display number no other server holds.
  int number = 300 + static_cast<int>(QCoreApplication::applicationPid() % 400);
  while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) ++number;
  name_ = QStringLiteral(":%1").arg(number);
  server_.setProgram(xvfb);
  server_.setArguments({name_, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                        QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")});
  server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server_.start();
  if (!server_.waitForStarted(5000)) {
    *why = QStringLiteral("Xvfb did not start");
    return false;
  }
  const QByteArray display = name_.toLatin1();
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    xcb_connection_t* c = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(c) == 0) {
      connection_ = c;
      return true;
    }
    xcb_disconnect(c);
    QTest::qWait(100);
  }
  *why = QStringLiteral("no connection to Xvfb on ") + name_;
  return false;
}

QList<TestDisplay::Window> TestDisplay::Windows() const {
  QList<Window> windows;
  if (connection_ == nullptr) return windows;
  xcb_connection_t* c = connection_;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
  if (!tree) return windows;
  const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
  const xcb_atom_t netPid = Atom(c, "_NET_WM_PID");
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  const int count = xcb_query_tree_children_length(tree.get());
  for (int i = 0; i < count; ++i) {
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    Window window;
    window.id = children[i];
    QByteArray wmClass = Property(c, children[i], XCB_ATOM_WM_CLASS);
    if (wmClass.endsWith('\0')) wmClass.chop(1);
    window.wmClass = QString::fromUtf8(wmClass.replace('\0', '/'));
    window.title = QString::fromUtf8(Property(c, children[i], netName));
    const QByteArray pid = Property(c, children[i], netPid);
    if (pid.size() >= 4) {
      std::uint32_t value = 0;
      std::memcpy(&value, pid.constData(), sizeof value);
      window.pid = value;
    }
    windows.append(window);
  }
  return windows;
}

std::optional<TestDisplay::Window> TestDisplay::WaitForWindow(
    const std::function<bool(const Window&)>& match, int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  do {
    for (const Window& window : Windows())
      if (match(window)) return window;
    QTest::qWait(50);
  } while (!deadline.hasExpired());
  return std::nullopt;
}

bool TestDisplay::WaitUntilGone(const std::function<bool(const Window&)>& match,
                                int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  do {
    bool shown = false;
    for (const Window& window : Windows()) shown = shown || match(window);
    if (!shown) return true;
    QTest::qWait(50);
  } while (!deadline.hasExpired());
  return false;
}

void TestDisplay::Close(std::uint32_t window) const {
  xcb_connection_t* c = connection_;
  xcb_client_message_event_t event;
  std::memset(&event, 0, sizeof event);
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = Atom(c, "WM_PROTOCOLS");
  event.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(c);
}

void TestDisplay::PressReturn(std::uint32_t window) const {
  xcb_connection_t* c = connection_;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int first = setup->min_keycode;
  const int span = setup->max_keycode - setup->min_keycode + 1;
  const Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
      c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(span)), nullptr));
  if (!mapping) return;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
  const int perCode = mapping->keysyms_per_keycode;
  xcb_keycode_t code = 0;
  for (int i = 0; i < span * perCode && code == 0; ++i)
    if (syms[i] == 0xff0d) code = static_cast<xcb_keycode_t>(first + i / perCode);  // XK_Return
  if (code == 0) return;
  const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
  for (const std::uint8_t type : {std::uint8_t(XCB_KEY_PRESS), std::uint8_t(XCB_KEY_RELEASE)}) {
    xcb_key_press_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = type;
    event.detail = code;
    event.root = root;
    event.event = window;
    event.child = XCB_WINDOW_NONE;
    event.same_screen = 1;
    xcb_send_event(c, 1, window,
                   type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                   reinterpret_cast<const char*>(&event));
  }
  xcb_flush(c);
}
