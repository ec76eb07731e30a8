#include "x11_windows.h"

#include <QGuiApplication>
#include <QString>
#include <QWindow>

#if defined(TAVRIN_X11_WINDOWS) && QT_CONFIG(xcb)

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <span>

namespace {

constexpr std::size_t kMaxClients = 512;      // windows looked at, the rest left out
constexpr std::size_t kMaxSupported = 512;    // features a window manager lists
constexpr std::uint32_t kMaxTitleWords = 64;  // a title's first 256 bytes are compared
constexpr int kMaxDepth = 8;                  // windows inside windows, up to the root
// EWMH: a request made for the user, as a taskbar makes it; window managers that hold back
// requests from applications honour these.
constexpr std::uint32_t kSourceUser = 2;

enum AtomId : int {
  kNetSupported,
  kNetSupportingWmCheck,
  kNetClientList,
  kNetClientListStacking,
  kNetActiveWindow,
  kNetCloseWindow,
  kNetWmName,
  kUtf8String,
  kWmProtocols,
  kWmDeleteWindow,
  kAtomCount,
};

constexpr std::array<std::string_view, kAtomCount> kAtomNames = {
    "_NET_SUPPORTED",     "_NET_SUPPORTING_WM_CHECK",
    "_NET_CLIENT_LIST",   "_NET_CLIENT_LIST_STACKING",
    "_NET_ACTIVE_WINDOW", "_NET_CLOSE_WINDOW",
    "_NET_WM_NAME",       "UTF8_STRING",
    "WM_PROTOCOLS",       "WM_DELETE_WINDOW"};

// xcb hands its replies over in memory from malloc.
struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

struct XServer {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = XCB_WINDOW_NONE;
  std::array<xcb_atom_t, kAtomCount> atoms{};
};

XServer server;  // the connection our atoms were interned on

void InternAtoms(xcb_connection_t* connection) {
  server = XServer{};
  server.connection = connection;
  server.root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  std::array<xcb_intern_atom_cookie_t, kAtomCount> cookies{};
  for (int i = 0; i < kAtomCount; ++i) {
    cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(kAtomNames[i].size()),
                                 kAtomNames[i].data());
  }
  for (int i = 0; i < kAtomCount; ++i) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookies[i], nullptr));
    server.atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
}

// The X connection Qt draws on, with the first screen's root window; nullptr on other platforms.
const XServer* TheServer() {
  if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return nullptr;
  if (connection != server.connection) InternAtoms(connection);
  return &server;
}

// A request without a reply: its error, if any, is taken here rather than left for Qt to report
// (the window may have gone meanwhile).
void Check(const XServer& x, xcb_void_cookie_t cookie) {
  std::free(xcb_request_check(x.connection, cookie));
}

// ---- Properties -------------------------------------------------------------------------------

xcb_get_property_cookie_t AskProperty(const XServer& x, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type, std::uint32_t words) {
  return xcb_get_property(x.connection, 0, window, property, type, 0, words);
}

Reply<xcb_get_property_reply_t> TakeProperty(const XServer& x, xcb_get_property_cookie_t cookie) {
  return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(x.connection, cookie, nullptr));
}

// The 32-bit values of a property of that type (windows, atoms), cut at the span's size.
std::size_t ReadWords(const XServer& x, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                      std::span<std::uint32_t> words) {
  auto reply = TakeProperty(
      x, AskProperty(x, window, property, type, static_cast<std::uint32_t>(words.size())));
  if (!reply || reply->type != type || reply->format != 32) return 0;
  std::size_t count = std::min(
      static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4, words.size());
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  std::copy_n(values, count, words.begin());
  return count;
}

bool ListsAtom(const XServer& x, xcb_window_t window, AtomId list, AtomId wanted) {
  std::array<std::uint32_t, kMaxSupported> atoms{};
  std::size_t count = ReadWords(x, window, x.atoms[list], XCB_ATOM_ATOM, atoms);
  return std::find(atoms.begin(), atoms.begin() + count, x.atoms[wanted]) != atoms.begin() + count;
}

// ---- The window manager -----------------------------------------------------------------------

// A window manager that follows EWMH runs: the root names its check window and the check window
// names itself (a manager that has ended leaves the root's properties behind).
bool ManagerRunning(const XServer& x) {
  std::array<std::uint32_t, 1> check{};
  if (ReadWords(x, x.root, x.atoms[kNetSupportingWmCheck], XCB_ATOM_WINDOW, check) != 1) {
    return false;
  }
  std::array<std::uint32_t, 1> self{};
  return ReadWords(x, check[0], x.atoms[kNetSupportingWmCheck], XCB_ATOM_WINDOW, self) == 1 &&
         self[0] == check[0];
}

bool ManagerSupports(const XServer& x, AtomId feature) {
  return ManagerRunning(x) && ListsAtom(x, x.root, kNetSupported, feature);
}

// The manager's clients, bottom first where it keeps the stacking order.
std::size_t ManagedClients(const XServer& x, std::span<xcb_window_t> clients) {
  std::size_t count =
      ReadWords(x, x.root, x.atoms[kNetClientListStacking], XCB_ATOM_WINDOW, clients);
  if (count == 0) count = ReadWords(x, x.root, x.atoms[kNetClientList], XCB_ATOM_WINDOW, clients);
  return count;
}

// A message to the window manager about a window.
void AskManager(const XServer& x, xcb_window_t window, AtomId request,
                const std::array<std::uint32_t, 5>& data) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = x.atoms[request];
  std::copy(data.begin(), data.end(), event.data.data32);
  Check(x, xcb_send_event_checked(
               x.connection, 0, x.root,
               XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
               reinterpret_cast<const char*>(&event)));
}

// ---- Titles -----------------------------------------------------------------------------------

struct TitleRequest {
  xcb_get_property_cookie_t ewmh;
  xcb_get_property_cookie_t icccm;
};

TitleRequest AskTitle(const XServer& x, xcb_window_t window) {
  return {AskProperty(x, window, x.atoms[kNetWmName], x.atoms[kUtf8String], kMaxTitleWords),
          AskProperty(x, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kMaxTitleWords)};
}

QString TextOf(const XServer& x, const xcb_get_property_reply_t* reply) {
  if (!reply || reply->format != 8) return {};
  const char* bytes = static_cast<const char*>(xcb_get_property_value(reply));
  int length = xcb_get_property_value_length(reply);
  return reply->type == x.atoms[kUtf8String] ? QString::fromUtf8(bytes, length)
                                             : QString::fromLatin1(bytes, length);
}

// The EWMH title in UTF-8, else the ICCCM one (Latin-1 unless it says UTF-8).
QString TakeTitle(const XServer& x, const TitleRequest& request) {
  auto ewmh = TakeProperty(x, request.ewmh);
  auto icccm = TakeProperty(x, request.icccm);
  QString title = TextOf(x, ewmh.get());
  return title.isEmpty() ? TextOf(x, icccm.get()) : title;
}

bool OurWindow(xcb_window_t window) {
  const QWindowList ours = QGuiApplication::allWindows();
  return std::any_of(ours.begin(), ours.end(), [window](const QWindow* w) {
    return w->handle() && static_cast<xcb_window_t>(w->winId()) == window;
  });
}

// The topmost of the windows (bottom first) with the title, other than ours.
xcb_window_t TopmostTitled(const XServer& x, std::span<const xcb_window_t> windows,
                           const QString& title) {
  std::array<TitleRequest, kMaxClients> requests{};
  std::size_t count = std::min(windows.size(), kMaxClients);
  for (std::size_t i = 0; i < count; ++i) requests[i] = AskTitle(x, windows[i]);
  xcb_window_t found = XCB_WINDOW_NONE;
  for (std::size_t i = 0; i < count; ++i) {
    if (TakeTitle(x, requests[i]).compare(title, Qt::CaseInsensitive) == 0 &&
        !OurWindow(windows[i])) {
      found = windows[i];
    }
  }
  return found;
}

// ---- Without a window manager's list ----------------------------------------------------------

// A window's children, bottom first; the topmost ones when there are more than the span holds.
std::size_t Children(const XServer& x, xcb_window_t parent, std::span<xcb_window_t> children) {
  Reply<xcb_query_tree_reply_t> tree(
      xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, parent), nullptr));
  if (!tree) return 0;
  auto total = static_cast<std::size_t>(xcb_query_tree_children_length(tree.get()));
  std::size_t count = std::min(total, children.size());
  std::copy_n(xcb_query_tree_children(tree.get()) + (total - count), count, children.begin());
  return count;
}

// The children shown on the screen, not menus or tooltips (override-redirect windows).
std::size_t ShownChildren(const XServer& x, xcb_window_t parent, std::span<xcb_window_t> children) {
  std::size_t count = Children(x, parent, children);
  std::array<xcb_get_window_attributes_cookie_t, kMaxClients> requests{};
  for (std::size_t i = 0; i < count; ++i) {
    requests[i] = xcb_get_window_attributes(x.connection, children[i]);
  }
  std::size_t shown = 0;
  for (std::size_t i = 0; i < count; ++i) {
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(x.connection, requests[i], nullptr));
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
        !attributes->override_redirect) {
      children[shown++] = children[i];
    }
  }
  return shown;
}

// The root's shown children are the programs' windows themselves; under a window manager that
// keeps no list they are its frames, with the programs' windows one level down.
xcb_window_t FindAmongChildren(const XServer& x, const QString& title) {
  std::array<xcb_window_t, kMaxClients> tops{};
  std::size_t count = ShownChildren(x, x.root, tops);
  xcb_window_t found = TopmostTitled(x, std::span(tops.data(), count), title);
  for (std::size_t i = count; i > 0 && found == XCB_WINDOW_NONE; --i) {
    std::array<xcb_window_t, kMaxClients> inner{};
    std::size_t innerCount = Children(x, tops[i - 1], inner);
    found = TopmostTitled(x, std::span(inner.data(), innerCount), title);
  }
  return found;
}

// The root's child that holds the window (the window itself when there is no frame).
xcb_window_t TopLevelHolding(const XServer& x, xcb_window_t window) {
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, window), nullptr));
    if (!tree || tree->parent == x.root || tree->parent == XCB_WINDOW_NONE) break;
    window = tree->parent;
  }
  return window;
}

xcb_window_t OurActiveWindow() {
  QWindow* active = QGuiApplication::focusWindow();
  return active && active->handle() ? static_cast<xcb_window_t>(active->winId()) : 0;
}

}  // namespace

bool DesktopWindowsSeen() {
  return TheServer() != nullptr;
}

DesktopWindow FindDesktopWindow(std::string_view title) {
  const XServer* x = TheServer();
  if (!x || title.empty()) return kNoDesktopWindow;
  QString wanted = QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
  if (ManagerRunning(*x)) {
    std::array<xcb_window_t, kMaxClients> clients{};
    std::size_t count = ManagedClients(*x, clients);
    if (count > 0) return TopmostTitled(*x, std::span(clients.data(), count), wanted);
  }
  return FindAmongChildren(*x, wanted);
}

void RaiseDesktopWindow(DesktopWindow window) {
  const XServer* x = TheServer();
  if (!x || window == kNoDesktopWindow) return;
  if (ManagerSupports(*x, kNetActiveWindow)) {
    AskManager(*x, window, kNetActiveWindow, {kSourceUser, XCB_CURRENT_TIME, OurActiveWindow()});
    return;
  }
  // Nobody manages the windows: the top-level window that holds it goes on top, and it takes the
  // keyboard.
  const std::uint32_t above = XCB_STACK_MODE_ABOVE;
  Check(*x, xcb_configure_window_checked(x->connection, TopLevelHolding(*x, window),
                                         XCB_CONFIG_WINDOW_STACK_MODE, &above));
  Check(*x, xcb_set_input_focus_checked(x->connection, XCB_INPUT_FOCUS_POINTER_ROOT, window,
                                        XCB_CURRENT_TIME));
}

void CloseDesktopWindow(DesktopWindow window) {
  const XServer* x = TheServer();
  if (!x || window == kNoDesktopWindow) return;
  if (ManagerSupports(*x, kNetCloseWindow)) {
    AskManager(*x, window, kNetCloseWindow, {XCB_CURRENT_TIME, kSourceUser});
    return;
  }
  // Nobody manages the windows: the close request goes to the program itself, if it takes one
  // (ICCCM's WM_DELETE_WINDOW); a program that takes none is left running.
  if (!ListsAtom(*x, window, kWmProtocols, kWmDeleteWindow)) return;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = x->atoms[kWmProtocols];
  event.data.data32[0] = x->atoms[kWmDeleteWindow];
  event.data.data32[1] = XCB_CURRENT_TIME;
  Check(*x, xcb_send_event_checked(x->connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                   reinterpret_cast<const char*>(&event)));
}

#else

// Built without libxcb, or Qt without X11: other programs' windows are not seen.
bool DesktopWindowsSeen() {
  return false;
}
DesktopWindow FindDesktopWindow(std::string_view) {
  return kNoDesktopWindow;
}
void RaiseDesktopWindow(DesktopWindow) {}
void CloseDesktopWindow(DesktopWindow) {}

#endif
