// The single-instance channel from the other end of its socket: what the first copy makes of a
// later copy's requests, and what a later copy makes of the first copy's answer.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <array>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "backend.h"
#include "single_instance.h"

namespace {

constexpr int kPatienceMs = 2000;

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "single_instance_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
  return application;
}

std::string FreshChannel() {
  static int count = 0;
  return QDir::temp()
      .filePath(QStringLiteral("tavrin-channel-test-%1-%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(++count))
      .toStdString();
}

sockaddr_un Address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  return address;
}

int ConnectTo(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address = Address(path);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads what fd has within the time, running this copy's events meanwhile; stops at "end\n".
std::string ReadWhileServing(int fd, int ms) {
  std::string text;
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired() && text.find("end\n") == std::string::npos) {
    QCoreApplication::processEvents();
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, 5) <= 0) continue;
    char buffer[256];
    ssize_t got = ::read(fd, buffer, sizeof(buffer));
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

void ServeFor(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

int raisesHeard = 0;
void HearRaise() {
  ++raisesHeard;
}

TEST(SingleInstance, FirstCopyCountsEachRaiseLineOfALaterCopy) {
  struct Case {
    const char* what;
    std::vector<std::string> writes;
    int raises;
  };
  const Case cases[] = {
      {"one request", {"raise\n"}, 1},
      {"a request split across writes", {"ra", "ise\n"}, 1},
      {"two requests in one write", {"raise\nraise\n"}, 2},
      {"blanks around the word", {"  raise \r\n"}, 1},
      {"other words", {"hello\nraised\nraise raise\n"}, 0},
      {"a request never ended", {"raise"}, 0},
      {"a request after an overlong line", {std::string(5000, 'x'), "\nraise\n"}, 1},
  };
  Application();
  ResetWindowSystem();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string channel = FreshChannel();
    raisesHeard = 0;
    JoinInstanceChannel(channel, HearRaise);
    int fd = ConnectTo(channel);
    ASSERT_GE(fd, 0);
    // With no window shown, the answer is its last line alone.
    EXPECT_EQ(ReadWhileServing(fd, kPatienceMs), "end\n");
    for (const std::string& write : c.writes) {
      ASSERT_EQ(::write(fd, write.data(), write.size()), static_cast<ssize_t>(write.size()));
      ServeFor(20);
    }
    ::close(fd);
    QDeadlineTimer deadline(kPatienceMs);
    while (RaiseRequestsReceived() < c.raises && !deadline.hasExpired()) ServeFor(5);
    ServeFor(50);  // a request counted twice would show by now
    EXPECT_EQ(RaiseRequestsReceived(), c.raises);
    EXPECT_EQ(raisesHeard, c.raises);
    CloseInstanceChannel();
    EXPECT_NE(::access(channel.c_str(), F_OK), 0) << "the socket outlived its channel";
  }
}

// A first copy played by the test: it answers the one later copy with text and then hands back
// what that copy sent until it hung up.
class FakeFirstCopy {
 public:
  FakeFirstCopy(const std::string& path, std::string answer) : path_(path) {
    listening_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = Address(path);
    ::bind(listening_, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    ::listen(listening_, 1);
    server_ = std::thread([this, answer] {
      int fd = ::accept(listening_, nullptr, nullptr);
      if (fd < 0) return;
      [[maybe_unused]] ssize_t sent = ::write(fd, answer.data(), answer.size());
      ::shutdown(fd, SHUT_WR);  // all said: the later copy reads to the end
      char buffer[256];
      for (ssize_t got; (got = ::read(fd, buffer, sizeof(buffer))) > 0;) {
        heard_.append(buffer, static_cast<std::size_t>(got));
      }
      ::close(fd);
    });
  }
  ~FakeFirstCopy() {
    ::shutdown(listening_, SHUT_RDWR);
    if (server_.joinable()) server_.join();
    ::close(listening_);
    ::unlink(path_.c_str());
  }
  // What the later copy sent, once it has closed the channel.
  std::string Heard() {
    server_.join();
    return heard_;
  }

 private:
  std::string path_;
  int listening_ = -1;
  std::thread server_;
  std::string heard_;
};

TEST(SingleInstance, LaterCopyStandsInForEachWindowTheFirstNames) {
  struct Case {
    const char* what;
    const char* answer;
    std::vector<std::pair<const char*, const char*>> standIns;  // class and title
  };
  const Case cases[] = {
      {"one window", "window\tTavrin\tTavrin\nend\n", {{"Tavrin", "Tavrin"}}},
      {"two windows",
       "window\tA\tFirst\nwindow\tB\tSecond\nend\n",
       {{"A", "First"}, {"B", "Second"}}},
      {"an empty title", "window\tA\t\nend\n", {{"A", ""}}},
      {"a field too many", "window\tA\tB\tC\nend\n", {}},
      {"a field too few", "window\tA\nend\n", {}},
      {"another word", "frame\tA\tB\nend\n", {}},
      {"lines after the end", "end\nwindow\tA\tB\n", {}},
      {"an unended last line", "window\tA\tB", {}},
  };
  Application();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetWindowSystem();
    std::string channel = FreshChannel();
    FakeFirstCopy first(channel, c.answer);
    JoinInstanceChannel(channel, HearRaise);
    std::array<Window, kMaxWindows> windows{};
    EXPECT_EQ(ListWindows(windows), static_cast<int>(c.standIns.size()));
    for (const auto& [className, title] : c.standIns) {
      EXPECT_NE(FindTopWindow(className, title), kNoWindow) << className << " " << title;
    }
    CloseInstanceChannel();
  }
}

TEST(SingleInstance, StandInBroughtToTheTopAsksTheFirstCopyToRaise) {
  Application();
  ResetWindowSystem();
  std::string channel = FreshChannel();
  FakeFirstCopy first(channel, "window\tTavrin\tTavrin\nwindow\tOther\tOther\nend\n");
  JoinInstanceChannel(channel, HearRaise);
  Window standIn = FindTopWindow("Tavrin", "Tavrin");
  ASSERT_NE(standIn, kNoWindow);
  InstanceWindowChanged(standIn);  // not moved: nothing to ask
  BringToTop(standIn);
  InstanceWindowChanged(standIn);
  InstanceWindowChanged(standIn);  // still on top: asked once
  CloseInstanceChannel();
  EXPECT_EQ(first.Heard(), "raise\n");
}

}  // namespace
