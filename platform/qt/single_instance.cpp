#include "single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "backend.h"

// The channel is a plain Unix-domain socket watched by Qt's event loop: a network library (and
// the libraries it pulls in) loaded at every start for one local socket would cost more than the
// rest of the channel.

namespace {

constexpr int kConnectTimeoutMs = 300;
constexpr int kAnswerTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 500;
constexpr int kConnectRetryMs = 10;  // while the first copy's queue of newcomers is full
constexpr int kListenBacklog = 16;
constexpr std::string_view kRaiseLine = "raise";
constexpr std::string_view kEndLine = "end";
constexpr std::string_view kWindowField = "window";
constexpr std::size_t kMaxLine = 4096;  // a longer line is nobody's request and is dropped

struct StandIn {
  Window window;
  std::uint32_t zOrder;
};

// A later copy, as the first copy hears it.
struct Newcomer {
  int fd = -1;
  std::unique_ptr<QSocketNotifier> notifier;
  std::string pending;  // the start of a line not yet ended
};

struct Channel {
  // In the first copy.
  int listenFd = -1;
  std::unique_ptr<QSocketNotifier> listening;
  std::string socketPath;  // removed when the channel closes
  std::vector<std::unique_ptr<Newcomer>> newcomers;
  // In a later copy: to the first.
  int runningFd = -1;
  std::vector<StandIn> standIns;
  void (*onRaise)() = nullptr;
  int raises = 0;
};

Channel channel;

std::uint32_t ZOrderOf(Window window) {
  WindowView view{};
  return ViewWindow(window, view) ? view.zOrder : 0;
}

// ---- The socket -------------------------------------------------------------------------------

// A name without a folder lives in the temporary folder, as local-socket names do.
std::string SocketPath(const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  return QDir(QDir::tempPath()).filePath(QString::fromStdString(name)).toStdString();
}

bool AddressOf(const std::string& path, sockaddr_un& address) {
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Writes all of text, waiting for room at most timeoutMs in all. The peer going away is a
// failed write, not a signal.
bool WriteAll(int fd, std::string_view text, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!text.empty()) {
    ssize_t written = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (written > 0) {
      text.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd wait{fd, POLLOUT, 0};
    if (deadline.hasExpired() ||
        ::poll(&wait, 1, static_cast<int>(deadline.remainingTime())) <= 0) {
      return false;
    }
  }
  return true;
}

// Moves the complete lines of pending into lines; an overlong unended line is dropped.
void TakeLines(std::string& pending, std::vector<std::string>& lines) {
  std::size_t start = 0;
  for (std::size_t end = pending.find('\n'); end != std::string::npos;
       end = pending.find('\n', start)) {
    lines.push_back(pending.substr(start, end - start));
    start = end + 1;
  }
  pending.erase(0, start);
  if (pending.size() > kMaxLine) pending.clear();
}

// The tab-separated fields of line into fields; their number, or -1 when there are more.
int SplitTabs(std::string_view line, std::span<std::string_view> fields) {
  for (std::size_t count = 0; count < fields.size(); ++count) {
    std::size_t tab = line.find('\t');
    fields[count] = line.substr(0, tab);
    if (tab == std::string_view::npos) return static_cast<int>(count + 1);
    line.remove_prefix(tab + 1);
  }
  return -1;
}

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// ---- The first copy ---------------------------------------------------------------------------

// "window<TAB>CLASS<TAB>TITLE" for each top-level window shown, then "end".
std::string DescribeWindows() {
  std::string answer;
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(windows[i], view) || view.kind != WindowKind::kTopLevel || !view.visible ||
        view.parent != kNoWindow) {
      continue;
    }
    answer.append(kWindowField).append("\t").append(view.className).append("\t");
    answer.append(view.text).append("\n");
  }
  return answer.append(kEndLine).append("\n");
}

// A newcomer that went away is closed now; its notifier, which may be the one whose signal is
// being delivered, goes at the next welcome or when the channel closes.
void Forget(Newcomer* newcomer) {
  newcomer->notifier->setEnabled(false);
  CloseFd(newcomer->fd);
}

void DropForgotten() {
  std::erase_if(channel.newcomers,
                [](const std::unique_ptr<Newcomer>& newcomer) { return newcomer->fd < 0; });
}

void ReadRequests(Newcomer* newcomer) {
  std::array<char, 512> buffer{};
  for (;;) {
    ssize_t got = ::read(newcomer->fd, buffer.data(), buffer.size());
    if (got > 0) {
      newcomer->pending.append(buffer.data(), static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    bool ended = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
    std::vector<std::string> lines;
    TakeLines(newcomer->pending, lines);
    for (const std::string& line : lines) {
      if (Trimmed(line) != kRaiseLine) continue;
      ++channel.raises;
      if (channel.onRaise) channel.onRaise();
    }
    if (ended) Forget(newcomer);
    return;
  }
}

void Welcome() {
  DropForgotten();
  for (;;) {
    int fd = ::accept4(channel.listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;
    }
    auto newcomer = std::make_unique<Newcomer>();
    newcomer->fd = fd;
    newcomer->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    Newcomer* it = newcomer.get();
    QObject::connect(it->notifier.get(), &QSocketNotifier::activated, it->notifier.get(),
                     [it] { ReadRequests(it); });
    channel.newcomers.push_back(std::move(newcomer));
    if (!WriteAll(fd, DescribeWindows(), kWriteTimeoutMs)) Forget(it);
  }
}

// The socket is made in a folder only this user can enter and then moved into place, so that it
// is never open to others; the move replaces a socket left by a copy that ended badly (nobody
// answered on it).
bool Listen(const std::string& path) {
  std::string folder = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
  std::string privateFolder = folder + "/.tavrin-XXXXXX";
  if (::mkdtemp(privateFolder.data()) == nullptr) return false;
  std::string madePath = privateFolder + "/s";
  sockaddr_un address{};
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  bool listening = fd >= 0 && AddressOf(madePath, address) &&
                   ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
                   ::chmod(madePath.c_str(), S_IRUSR | S_IWUSR) == 0 &&
                   ::listen(fd, kListenBacklog) == 0 &&
                   ::rename(madePath.c_str(), path.c_str()) == 0;
  ::unlink(madePath.c_str());
  ::rmdir(privateFolder.c_str());
  if (!listening) {
    CloseFd(fd);
    return false;
  }
  channel.listenFd = fd;
  channel.socketPath = path;
  channel.listening = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(channel.listening.get(), &QSocketNotifier::activated, [] { Welcome(); });
  return true;
}

// ---- A later copy -----------------------------------------------------------------------------

// The first copy's socket, when one answers within the timeout.
int ConnectToRunning(const std::string& path) {
  sockaddr_un address{};
  if (!AddressOf(path, address)) return -1;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  QDeadlineTimer deadline(kConnectTimeoutMs);
  for (;;) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
      return fd;
    }
    // EAGAIN: the first copy's queue is full for the moment; anything else: nobody there.
    if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired()) break;
    QThread::msleep(kConnectRetryMs);
  }
  CloseFd(fd);
  return -1;
}

// The running copy's windows, as foreign windows of their class and title.
void CreateStandIns(int fd) {
  QDeadlineTimer deadline(kAnswerTimeoutMs);
  std::string pending;
  std::array<char, 512> buffer{};
  for (;;) {
    std::vector<std::string> lines;
    TakeLines(pending, lines);
    for (const std::string& line : lines) {
      if (line == kEndLine) return;
      std::array<std::string_view, 3> fields{};
      if (SplitTabs(line, fields) != 3 || fields[0] != kWindowField) continue;
      Window window = CreateForeignWindow(fields[1], fields[2]);
      if (window != kNoWindow) channel.standIns.push_back({window, ZOrderOf(window)});
    }
    ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got > 0) {
      pending.append(buffer.data(), static_cast<std::size_t>(got));
      continue;
    }
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return;
    pollfd wait{fd, POLLIN, 0};
    if (deadline.hasExpired() || ::poll(&wait, 1, static_cast<int>(deadline.remainingTime())) < 0) {
      return;
    }
  }
}

}  // namespace

std::string DefaultInstanceChannel() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = QStringLiteral("console");
  for (QChar& c : display) {
    if (!c.isLetterOrNumber()) c = u'_';
  }
  QString name = QStringLiteral("tavrin-%1-%2").arg(::getuid()).arg(display);
  // The user's runtime directory when the session has one; else the temporary folder.
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) name = QDir(runtime).filePath(name);
  return name.toStdString();
}

void JoinInstanceChannel(const std::string& name, void (*onRaise)()) {
  channel.onRaise = onRaise;
  if (channel.listenFd >= 0 || channel.runningFd >= 0) return;  // joined already in this process
  std::string path = SocketPath(name);
  int fd = ConnectToRunning(path);
  if (fd >= 0) {
    channel.runningFd = fd;
    CreateStandIns(fd);
    return;
  }
  Listen(path);
}

void InstanceWindowChanged(Window window) {
  for (StandIn& standIn : channel.standIns) {
    if (standIn.window != window) continue;
    std::uint32_t zOrder = ZOrderOf(window);
    if (zOrder > standIn.zOrder && channel.runningFd >= 0) {
      std::string request(kRaiseLine);
      WriteAll(channel.runningFd, request.append("\n"), kWriteTimeoutMs);
    }
    standIn.zOrder = zOrder;
  }
}

int RaiseRequestsReceived() {
  return channel.raises;
}

void CloseInstanceChannel() {
  for (auto& newcomer : channel.newcomers) {
    newcomer->notifier.reset();
    CloseFd(newcomer->fd);
  }
  channel.listening.reset();
  if (channel.listenFd >= 0) {
    CloseFd(channel.listenFd);
    ::unlink(channel.socketPath.c_str());
  }
  CloseFd(channel.runningFd);
  channel = Channel{};
}
