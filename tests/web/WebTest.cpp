// The recorder in the browser, seen from an HTTP client: the recorder program
// runs as a child process with --web on a free loopback port, and the tests
// talk to it the way the page does (plain requests and the event stream).
// Waiting is on the child's output and on the event stream, never timed.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testdisk.h"
#include "testenv.h"

namespace {

using Clock = std::chrono::steady_clock;
using testenv::MakeTempDir;
using testenv::RemoveTree;
using testenv::WriteFile;

// Reads from fd into `out` until `done(out)` holds, the fd ends or 20 s pass.
template <typename Done>
bool ReadUntil(int fd, std::string& out, Done done) {
  Clock::time_point end = Clock::now() + std::chrono::seconds(20);
  char buf[65536];
  while (!done(out)) {
    int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
    if (left <= 0) return false;
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, left) <= 0) return false;
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return done(out);
    out.append(buf, n);
  }
  return true;
}

class Recorder {
 public:
  // Starts `recorder ARGS --web 127.0.0.1:0` (or with `web` as given) and
  // waits for the address it prints.
  explicit Recorder(std::vector<std::string> args, const std::string& web = "127.0.0.1:0") {
    args.insert(args.begin(), PVR_RECORDER_PATH);
    args.push_back("--web");
    args.push_back(web);
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      close(out[0]);
      close(err[0]);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
    ReadUntil(out_, stdout_, [](const std::string& s) { return s.find("/ (Ctrl+C") != s.npos; });
    size_t at = stdout_.find("http://");
    if (at != std::string::npos) {
      size_t colon = stdout_.find(':', at + 7);
      address_ = stdout_.substr(at + 7, colon - at - 7);
      port_ = atoi(stdout_.c_str() + colon + 1);
    }
  }
  ~Recorder() {
    if (pid_ > 0 && status_ < 0) Stop();
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }

  int port() const { return port_; }
  const std::string& address() const { return address_; }

  // SIGTERM; returns the exit status and keeps stderr.
  int Stop() {
    kill(pid_, SIGTERM);
    ReadUntil(err_, stderr_, [](const std::string&) { return false; });
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
  }
  const std::string& Stderr() const { return stderr_; }

  int Connect() const {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port_));
    inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }

  // "Host: 127.0.0.1:PORT", as a browser on this page sends it.
  std::string HostHeader() const { return "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n"; }

  // One request with `headers` (lines ending in CRLF; the page's Host unless
  // they name one); the whole response (head and body).
  std::string Request(const std::string& method, const std::string& target,
                      const std::string& headers = "") const {
    int fd = Connect();
    if (fd < 0) return "";
    std::string req = method + " " + target + " HTTP/1.1\r\n" +
                      (headers.find("Host:") == std::string::npos ? HostHeader() : "") + headers +
                      "Connection: close\r\nContent-Length: 0\r\n\r\n";
    if (write(fd, req.data(), req.size()) != static_cast<ssize_t>(req.size())) {
      close(fd);
      return "";
    }
    std::string response;
    ReadUntil(fd, response, [](const std::string&) { return false; });
    close(fd);
    return response;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  int status_ = -1;
  int port_ = 0;
  std::string address_;
  std::string stdout_, stderr_;
};

// The page's event stream.
class Events {
 public:
  explicit Events(const Recorder& recorder) : fd_(recorder.Connect()) {
    std::string req = "GET /events HTTP/1.1\r\n" + recorder.HostHeader() + "\r\n";
    if (fd_ < 0 || write(fd_, req.data(), req.size()) != static_cast<ssize_t>(req.size())) fd_ = -1;
  }
  ~Events() {
    if (fd_ >= 0) close(fd_);
  }
  // The data of the next "state" event that contains `text`; empty when none
  // comes.
  std::string StateWith(const std::string& text) { return Next("state", text); }
  std::string Next(const std::string& event, const std::string& text = "") {
    std::string found;
    ReadUntil(fd_, buffer_, [&](std::string& b) {
      std::string marker = "event: " + event + "\n";
      for (size_t at = b.find(marker); at != std::string::npos; at = b.find(marker)) {
        size_t end = b.find("\n\n", at);
        if (end == std::string::npos) return false;
        std::string data = b.substr(at, end - at);
        b.erase(0, end + 2);
        if (data.find(text) != std::string::npos) {
          found = data;
          return true;
        }
      }
      return false;
    });
    return found;
  }

 private:
  int fd_;
  std::string buffer_;
};

std::string Status(const std::string& response) {
  return response.size() > 12 ? response.substr(9, 3) : "";
}

class WebTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Built for the recorder's CPU (run under an emulator) the recorder has
    // no HTTP library and so no web front end.
    if (std::string(PVR_EXEC_PREFIX) != "") GTEST_SKIP() << "no web front end in this build";
    root_ = MakeTempDir("pvr-web");
    testdisk::Disk disk(root_ + "/hd");
    testdisk::Header h;
    h.recordingStart = testdisk::Stamp(2025, 5, 30, 20, 15);
    h.durationMinutes = 90;
    h.serviceId = 10301;
    h.serviceName = "Das Erste HD";
    h.eventName = "Tatort";
    ASSERT_TRUE(disk.Recording("/DataFiles/Tatort.rec", 3ull << 30, h));
    ASSERT_TRUE(
        WriteFile(root_ + "/channels.txt",
                  "# demo\nTV\t10301\t1\tDas Erste HD\nRadio\t10380\t201\tDeutschlandfunk\n"));
  }
  void TearDown() override {
    if (!root_.empty()) RemoveTree(root_);
  }
  std::vector<std::string> Disk() { return {"--disk", root_ + "/hd"}; }
  std::string root_;
};

TEST_F(WebTest, ServesTheBuiltInPageOnLoopbackOnly) {
  Recorder recorder(Disk(), "0");
  ASSERT_GT(recorder.port(), 0);
  EXPECT_EQ(recorder.address(), "127.0.0.1");
  std::string page = recorder.Request("GET", "/");
  EXPECT_EQ(Status(page), "200");
  EXPECT_NE(page.find("<title>Pavrolinex"), std::string::npos);
  std::string script = recorder.Request("GET", "/app.js");
  EXPECT_EQ(Status(script), "200");
  EXPECT_NE(script.find("text/javascript"), std::string::npos);
  EXPECT_NE(script.find("'File List': 0x10042"), std::string::npos);
  EXPECT_EQ(Status(recorder.Request("GET", "/style.css")), "200");
  EXPECT_EQ(Status(recorder.Request("GET", "/nothing-here")), "404");
  // The frame is a PNG of the whole screen.
  std::string frame = recorder.Request("GET", "/frame.png");
  size_t body = frame.find("\r\n\r\n");
  ASSERT_NE(body, std::string::npos);
  std::string png = frame.substr(body + 4);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  auto be32 = [&png](size_t at) {
    return static_cast<uint8_t>(png[at]) << 24 | static_cast<uint8_t>(png[at + 1]) << 16 |
           static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 720);
  EXPECT_EQ(be32(20), 576);
  EXPECT_EQ(recorder.Stop(), 0);
}

// A character typed on the PC in direct mode reaches the on-screen keyboard
// once, an umlaut too (in the keyboard's code page 437): White renames the
// recording, End, "X\u00fc", Record saves.
TEST_F(WebTest, ACharacterTypedOnThePcGoesInOnce) {
  Recorder recorder(Disk());
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  EXPECT_NE(events.Next("frame"), "");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10042&action=press")), "204");
  EXPECT_NE(events.StateWith("\"osd\":true"), "");
  for (const char* code : {"0x10049", "0x10043", "0xEE000058", "0xEE000081", "0x1003D"})
    EXPECT_EQ(Status(recorder.Request("POST", std::string("/key?action=press&code=") + code)),
              "204");
  const std::string folder = root_ + "/hd/DataFiles/";
  const std::string renamed = folder + "TatortX\xC3\xBC.rec";
  for (int i = 0; i < 100 && access(renamed.c_str(), F_OK) != 0; i++) usleep(50 * 1000);
  EXPECT_EQ(access(renamed.c_str(), F_OK), 0);
  EXPECT_EQ(access((renamed + ".inf").c_str(), F_OK), 0);
  EXPECT_NE(access((folder + "TatortXX.rec").c_str(), F_OK), 0);
  EXPECT_EQ(recorder.Stop(), 0);
}

TEST_F(WebTest, KeysReachTheApplicationAndBadOnesAreRefused) {
  Recorder recorder(Disk());
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  EXPECT_NE(events.Next("frame"), "");
  EXPECT_NE(events.StateWith("\"osd\":false"), "");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10042&action=press")), "204");
  EXPECT_NE(events.StateWith("\"osd\":true"), "") << "File List opens the list";
  // Down, held reports, release: the list stays.
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x1001D&action=down")), "204");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x1001D&action=up")), "204");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10017")), "204");
  EXPECT_NE(events.StateWith("\"osd\":false"), "") << "Exit hides it";
  // A keyboard's characters (direct mode) are firmware codes of their own;
  // nobody switched direct mode on here.
  EXPECT_NE(events.StateWith("\"directMode\":false"), "");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0xEE000041&action=press")), "204");

  // Flags are the recorder's business, codes must be numbers, actions known.
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x1010042")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0xEE000200")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0xEF000041")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=FileList")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/key")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10042&action=hold")), "400");
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=faster")), "400");
  EXPECT_EQ(recorder.Stop(), 0);
  EXPECT_NE(recorder.Stderr().find("net| "), std::string::npos);
  EXPECT_NE(recorder.Stderr().find("Exit  - Pavrolinex - Power"), std::string::npos);
}

// Another site gets nothing: neither through a name of its own that resolves to
// this machine (Host) nor by sending keys from its pages (Origin, Referer).
TEST_F(WebTest, OtherSitesAreRefused) {
  Recorder recorder(Disk());
  ASSERT_GT(recorder.port(), 0);
  const std::string port = std::to_string(recorder.port());
  Events events(recorder);
  EXPECT_NE(events.Next("frame"), "");
  for (const std::string& host :
       std::vector<std::string>{"evil.example:" + port, "127.0.0.1:1", "127.0.0.1",
                                "127.0.0.1.evil.example:" + port, std::string()}) {
    SCOPED_TRACE(host);
    for (const char* target : {"/state", "/frame.png", "/events", "/"})
      EXPECT_EQ(Status(recorder.Request("GET", target, "Host: " + host + "\r\n")), "403");
    std::string refused = recorder.Request("POST", "/key?code=0x10042", "Host: " + host + "\r\n");
    EXPECT_EQ(Status(refused), "403");
    EXPECT_NE(refused.find("refused"), std::string::npos);
  }
  EXPECT_EQ(Status(recorder.Request("GET", "/state", "Host: LocalHost:" + port + "\r\n")), "200");
  for (const std::string& from : std::vector<std::string>{
           "Origin: http://evil.example\r\n", "Origin: null\r\n",
           "Origin: http://127.0.0.1:" + port + ".evil.example\r\n",
           "Referer: http://evil.example/page\r\n",
           "Referer: http://127.0.0.1:" + port + ".evil.example/\r\n",
           "Origin: http://evil.example\r\nReferer: http://127.0.0.1:" + port + "/\r\n"}) {
    SCOPED_TRACE(from);
    EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10042&action=press", from)), "403");
    EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=pause", from)), "403");
  }
  // The page's own requests go through, with the keys refused above still out:
  // File List never opened the list.
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=pause",
                                    "Origin: http://127.0.0.1:" + port + "\r\n")),
            "204");
  std::string paused = events.StateWith("\"clockRunning\":false");
  EXPECT_NE(paused.find("\"osd\":false"), std::string::npos) << paused;
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=run",
                                    "Referer: http://127.0.0.1:" + port + "/\r\n")),
            "204");
  EXPECT_EQ(Status(recorder.Request(
                "POST", "/key?code=0x10042",
                "Host: localhost:" + port + "\r\nOrigin: http://localhost:" + port + "\r\n")),
            "204");
  EXPECT_NE(events.StateWith("\"osd\":true"), "");
  EXPECT_EQ(recorder.Stop(), 0);
}

// A message shown for a fixed time is drawn and removed inside one key event:
// the page gets its frame as the delay begins and the next one only when the
// delay has passed, in real time.
TEST_F(WebTest, TimedMessagesStayForTheirDelay) {
  Recorder recorder(Disk());
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  // With the clock paused the picture stands still: frames change with keys only.
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=pause")), "204");
  ASSERT_NE(events.StateWith("\"clockRunning\":false"), "");
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x10042&action=press")), "204");
  ASSERT_NE(events.StateWith("\"osd\":true"), "");
  // Slow Motion, with no last playback: "No Last Playback File" for 3 s.
  EXPECT_EQ(Status(recorder.Request("POST", "/key?code=0x1003B&action=press")), "204");
  std::string message = events.Next("frame");
  Clock::time_point shown = Clock::now();
  EXPECT_NE(message, "");
  std::string after = events.Next("frame");
  EXPECT_NE(after, "");
  EXPECT_NE(after, message);
  EXPECT_GE(Clock::now() - shown, std::chrono::milliseconds(2500));
  EXPECT_EQ(recorder.Stop(), 0);
}

TEST_F(WebTest, TheClockPausesAndSteps) {
  Recorder recorder(Disk());
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=pause")), "204");
  std::string paused = events.StateWith("\"clockRunning\":false");
  ASSERT_NE(paused, "");
  size_t at = paused.find("\"ticks\":");
  ASSERT_NE(at, std::string::npos);
  long ticks = atol(paused.c_str() + at + 8);
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=step")), "204");
  EXPECT_NE(events.StateWith("\"ticks\":" + std::to_string(ticks + 10) + ","), "");
  EXPECT_EQ(Status(recorder.Request("POST", "/clock?action=run")), "204");
  EXPECT_NE(events.StateWith("\"clockRunning\":true"), "");
  EXPECT_EQ(recorder.Stop(), 0);
}

TEST_F(WebTest, ChannelListRecordingInProgressAndRunningApplications) {
  ASSERT_TRUE(WriteFile(root_ + "/hd/ProgramFiles/AutoStart/Tagsmith.tap",
                        testenv::ReadFile(PVR_PEER_DIR "/Tagsmith.tap")));
  std::vector<std::string> args = Disk();
  args.insert(args.end(),
              {"--channels", root_ + "/channels.txt", "--recording", "1:/DataFiles/Tatort.rec"});
  Recorder recorder(args);
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  std::string state = events.StateWith("\"slots\"");
  EXPECT_NE(state.find("\"channel\":{\"name\":\"Das Erste HD\",\"number\":1}"), std::string::npos)
      << state;
  EXPECT_NE(state.find("{\"slot\":1,\"name\":\"Tatort.rec\""), std::string::npos) << state;
  EXPECT_NE(state.find("\"length\":\"1:30:00\""), std::string::npos) << state;
  EXPECT_NE(
      state.find("\"running\":[{\"slot\":0,\"id\":\"0x800440FA\",\"name\":\"Pavrolinex v5.1d\","
                 "\"file\":\"Pavrolinex.tap\"},{\"slot\":1,\"id\":\"0x444D430A\","
                 "\"name\":\"Tagsmith v1.0\",\"file\":\"Tagsmith.tap\"}]"),
      std::string::npos)
      << state;
  EXPECT_EQ(recorder.Stop(), 0);
}

TEST_F(WebTest, NamesInBroadcastEncodingsStillGiveValidJson) {
  // A name in ISO 6937 ("Ä" as accent byte and letter) and a stray byte.
  ASSERT_TRUE(WriteFile(root_ + "/latin.txt",
                        "TV\t10301\t1\tS\xC8"
                        "Ad \xFF\\\"x\"\n"));
  std::vector<std::string> args = Disk();
  args.insert(args.end(), {"--channels", root_ + "/latin.txt"});
  Recorder recorder(args);
  ASSERT_GT(recorder.port(), 0);
  Events events(recorder);
  std::string state = events.StateWith("\"channel\"");
  EXPECT_NE(state.find("\"name\":\"S\xEF\xBF\xBD"
                       "Ad \xEF\xBF\xBD\\\\\\\"x\\\"\""),
            std::string::npos)
      << state;
  EXPECT_EQ(recorder.Stop(), 0);
}

// Runs the recorder with `args` to its end; the exit status.
int RunToEnd(std::vector<std::string> args) {
  args.insert(args.begin(), PVR_RECORDER_PATH);
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(WebTest, BadOptionsAreRefusedBeforeAnythingStarts) {
  std::string disk = root_ + "/hd";
  EXPECT_EQ(RunToEnd({"--disk", disk, "--web", "127.0.0.1:"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--web", "127.0.0.1:99999"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--web", ":8080"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--web", "eighty"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--disk-size", "0"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--disk-size", "2TB"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--recording", "4:/DataFiles/Tatort.rec"}), 2);
  EXPECT_EQ(RunToEnd({"--disk", disk, "--recording", "1:Tatort.rec"}), 2);
  ASSERT_TRUE(WriteFile(root_ + "/bad.txt", "TV\tten\t1\tDas Erste\n"));
  EXPECT_EQ(RunToEnd({"--disk", disk, "--channels", root_ + "/bad.txt"}), 2);
  ASSERT_TRUE(WriteFile(root_ + "/radio.txt", "Radio\t10380\t201\tDeutschlandfunk\n"));
  EXPECT_EQ(RunToEnd({"--disk", disk, "--channels", root_ + "/radio.txt"}), 2);
  // A recording slot needs a file that exists on the disk.
  EXPECT_EQ(RunToEnd({"--disk", disk, "--recording", "0:/DataFiles/None.rec"}), 2);
}

}  // namespace
