#include "single_instance.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <array>
#include <vector>

#include "backend.h"

namespace {

constexpr int kConnectTimeoutMs = 300;
constexpr int kAnswerTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 500;
constexpr char kRaiseLine[] = "raise";
constexpr char kEndLine[] = "end";
constexpr char kWindowField[] = "window";

struct StandIn {
  Window window;
  std::uint32_t zOrder;
};

struct Channel {
  QPointer<QLocalServer> server;   // in the first copy
  QPointer<QLocalSocket> running;  // in a later copy: to the first
  std::vector<StandIn> standIns;
  void (*onRaise)() = nullptr;
  int raises = 0;
};

Channel channel;

std::uint32_t ZOrderOf(Window window) {
  WindowView view{};
  return ViewWindow(window, view) ? view.zOrder : 0;
}

QByteArray Bytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// ---- The first copy ---------------------------------------------------------------------------

// "window<TAB>CLASS<TAB>TITLE" for each top-level window shown, then "end".
QByteArray DescribeWindows() {
  QByteArray answer;
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(windows[i], view) || view.kind != WindowKind::kTopLevel || !view.visible ||
        view.parent != kNoWindow) {
      continue;
    }
    answer +=
        QByteArray(kWindowField) + '\t' + Bytes(view.className) + '\t' + Bytes(view.text) + '\n';
  }
  return answer + kEndLine + '\n';
}

void ReadRequests(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    if (socket->readLine().trimmed() != kRaiseLine) continue;
    ++channel.raises;
    if (channel.onRaise) channel.onRaise();
  }
}

void Welcome(QLocalServer* server) {
  while (QLocalSocket* socket = server->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] { ReadRequests(socket); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(DescribeWindows());
    socket->flush();
  }
}

void OpenChannel(const QString& name) {
  auto* server = new QLocalServer;
  server->setSocketOptions(QLocalServer::UserAccessOption);
  // Nobody answered on the name, so a socket left there belongs to a copy that ended badly.
  if (!server->listen(name)) {
    QLocalServer::removeServer(name);
    server->listen(name);
  }
  QObject::connect(server, &QLocalServer::newConnection, server, [server] { Welcome(server); });
  channel.server = server;
}

// ---- A later copy -----------------------------------------------------------------------------

// The running copy's windows, as foreign windows of their class and title.
void CreateStandIns(QLocalSocket* socket) {
  QDeadlineTimer deadline(kAnswerTimeoutMs);
  for (;;) {
    while (socket->canReadLine()) {
      QByteArray line = socket->readLine();
      line.chop(line.endsWith('\n') ? 1 : 0);
      if (line == kEndLine) return;
      QList<QByteArray> fields = line.split('\t');
      if (fields.size() != 3 || fields[0] != kWindowField) continue;
      Window window = CreateForeignWindow(std::string_view(fields[1].data(), fields[1].size()),
                                          std::string_view(fields[2].data(), fields[2].size()));
      if (window != kNoWindow) channel.standIns.push_back({window, ZOrderOf(window)});
    }
    if (deadline.hasExpired() || !socket->waitForReadyRead(int(deadline.remainingTime()))) return;
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
  // The user's runtime directory when the session has one; else the local-socket default.
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) name = QDir(runtime).filePath(name);
  return name.toStdString();
}

void JoinInstanceChannel(const std::string& name, void (*onRaise)()) {
  channel.onRaise = onRaise;
  if (channel.server || channel.running) return;  // joined already in this process
  QString path = QString::fromStdString(name);
  auto* socket = new QLocalSocket;
  socket->connectToServer(path);
  if (socket->waitForConnected(kConnectTimeoutMs)) {
    channel.running = socket;
    CreateStandIns(socket);
    return;
  }
  delete socket;
  OpenChannel(path);
}

void InstanceWindowChanged(Window window) {
  for (StandIn& standIn : channel.standIns) {
    if (standIn.window != window) continue;
    std::uint32_t zOrder = ZOrderOf(window);
    if (zOrder > standIn.zOrder && channel.running) {
      channel.running->write(QByteArray(kRaiseLine) + '\n');
      channel.running->waitForBytesWritten(kWriteTimeoutMs);
    }
    standIn.zOrder = zOrder;
  }
}

int RaiseRequestsReceived() {
  return channel.raises;
}

void CloseInstanceChannel() {
  delete channel.server.data();
  delete channel.running.data();
  channel = Channel{};
}
