// The recorder's other applications, loaded from their images the way the
// recorder loads them, each driven through one scenario: the test is a
// linked application that sends messages through the firmware and receives
// the answers in its own handler.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "emu.h"
#include "snapshot.h"
#include "tap.h"
#include "testdisk.h"
#include "testenv.h"

namespace {

constexpr dword kSenderId = 0x800440FA;
constexpr dword kTagsmithId = 0x444D430A;

// What reached the test's own application: (command, argument) pairs.
std::vector<std::pair<dword, dword>> received;

// What TSR Commander asked of the test's application: the commands.
std::vector<dword> commanded;

dword SenderHandler(word event, dword param1, dword param2) {
  if (event == EVT_TAPCOM) received.emplace_back(param1, param2);
  if (event == EVT_TSRCOMMANDER) commanded.push_back(param1);
  return event == EVT_TAPCOM ? 0 : param1;
}
int SenderMain() { return 1; }

const TYPE_TapHeader kSenderHeader = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                      TAP_HEADER_VERSION,
                                      kSenderId,
                                      TAP_API_VERSION,
                                      0,
                                      {0, 0},
                                      "Sender",
                                      "tests",
                                      "",
                                      ""};

std::string Peer(const std::string& name) {
  return std::string(PVR_PEER_DIR) + "/" + name + ".tap";
}

// The message record of show info and prepare, laid out as the receivers read it.
struct Message {
  dword sender;
  dword inode;
  char infName[256];
  char folder[256];
};

class PeersTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    received.clear();
    commanded.clear();
    emu::LinkedApplication sender{&kSenderHeader, SenderMain, SenderHandler, "Sender.tap"};
    ASSERT_EQ(emu::StartLinkedApplication(sender), 0);
  }

  // Installs peer images in AutoStart and loads them; returns their slots.
  void Install(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/" + name + ".tap"),
                                     testenv::ReadFile(Peer(name))));
    }
    ASSERT_EQ(emu::LoadAutoStart(), static_cast<int>(names.size())) << emu::LastError();
  }

  // A record from the firmware heap, as an application sends it.
  dword Record(const std::string& infName, const std::string& folder) {
    Message* msg = static_cast<Message*>(TAP_MemAlloc(sizeof(Message)));
    memset(msg, 0, sizeof *msg);
    msg->sender = kSenderId;
    snprintf(msg->infName, sizeof msg->infName, "%s", infName.c_str());
    snprintf(msg->folder, sizeof msg->folder, "%s", folder.c_str());
    uintptr_t address = reinterpret_cast<uintptr_t>(msg);
    EXPECT_LE(static_cast<uint64_t>(address), 0xFFFFFFFFull)
        << "the firmware heap must give 32-bit addresses";
    return static_cast<dword>(address);
  }
};

TEST_F(PeersTest, TagsmithShowsInfoAndAnswersPreparesFromTheDisk) {
  testdisk::Disk disk(disk_);
  testdisk::Header h;
  h.recordingStart = static_cast<dword>(TAP_MakeMjd(2025, 5, 30)) << 16 | 20 << 8 | 15;
  h.durationMinutes = 95;
  h.serviceName = "Das Erste HD";
  h.eventName = "Tagesschau";
  h.eventText = "Nachrichten f\xC8ur alle";  // ISO 6937: the diaeresis before its letter
  h.extText = "\x15Mit dem Wetter f\xC3\xBCr morgen und einem Blick auf die B\xC3\xB6rse.";
  ASSERT_TRUE(disk.Recording("/DataFiles/News/a.rec", 9024 * 10, h));
  ASSERT_TRUE(disk.Recording("/DataFiles/News/b.rec", 9024, h));
  ASSERT_TRUE(disk.Text("/DataFiles/News/b.rec.tgs", "prepared before"));
  testdisk::Header damaged = h;
  damaged.magic = "XXrc";
  ASSERT_TRUE(disk.Recording("/DataFiles/News/c.rec", 9024, damaged));
  Install({"Tagsmith"});
  const int tagsmith = 1;
  // A second application with the sender's id, after Tagsmith: it hears what
  // Tagsmith says to all, not the answers, which go to the first of the id.
  emu::LinkedApplication listener{&kSenderHeader, SenderMain, SenderHandler, "Listener.tap"};
  ASSERT_EQ(emu::StartLinkedApplication(listener), 2);
  const std::string folder = "/mnt/hd/DataFiles/News";

  // Alive, and the window with the header's fields; keys go to it alone.
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 0, kSenderId), 0u);
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("a.rec.inf", folder)), 0u);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], std::make_pair(dword{1}, kTagsmithId));
  EXPECT_EQ(received[1], std::make_pair(dword{3}, kTagsmithId));
  // Asked without a sender's id, the answer goes to every application.
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 0, 0), 0u);
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[2], std::make_pair(dword{1}, kTagsmithId));
  EXPECT_EQ(received[3], std::make_pair(dword{1}, kTagsmithId));
  received.resize(2);
  // Asked for an application that does not run, it answers none.
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 0, 0x12345678), 0u);
  EXPECT_EQ(received.size(), 2u);
  EXPECT_FALSE(emu::InNormalMode());
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("peers_tagsmith_info", &message)) << message;
  EXPECT_EQ(emu::PressKey(RKEY_Menu), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_FALSE(emu::AnyRegionOpen());
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[2].first, 6u);                                    // popped down
  EXPECT_EQ(emu::PressKey(RKEY_Menu), static_cast<dword>(RKEY_Menu));  // hidden: keys pass

  // OK leaves to normal viewing; a damaged header fails without a window.
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("a.rec.inf", folder));
  emu::PressKey(RKEY_Ok);
  EXPECT_TRUE(emu::InNormalMode());
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("c.rec.inf", folder));
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("../a.rec.inf", folder));
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, 16);  // no record there: no answer, no crash
  EXPECT_NE(emu::NetOutput().find("Tagsmith: the message record at 0x00000010 cannot be read"),
            std::string::npos);
  ASSERT_EQ(received.size(), 7u);
  EXPECT_EQ(received[4].first, 8u);  // back to normal viewing
  EXPECT_EQ(received[5].first, 4u);
  EXPECT_EQ(received[6].first, 4u);
  EXPECT_FALSE(emu::AnyRegionOpen());

  // Prepare answers on the next idle event, steered by the disk.
  received.clear();
  size_t asked = 0;
  for (const char* name : {"a.rec.inf", "b.rec.inf", "c.rec.inf", "missing.rec.inf"}) {
    emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record(name, folder));
    EXPECT_EQ(received.size(), asked++);  // in the background, not inside the send
    emu::Idle(1);
  }
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0], std::make_pair(dword{18}, kTagsmithId));
  EXPECT_EQ(received[1].first, 19u);
  EXPECT_EQ(received[2].first, 20u);
  EXPECT_EQ(received[3].first, 20u);
  EXPECT_NE(testenv::ReadFile(HostPath("/DataFiles/News/a.rec.tgs")).find("Title=Tagesschau"),
            std::string::npos);
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/News/c.rec.tgs")));
  received.clear();
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record("a.rec.inf", folder));
  emu::Idle(1);
  EXPECT_EQ(received, (std::vector<std::pair<dword, dword>>{{19, kTagsmithId}}));

  // Titles in each character table the headers use come out spelled for a
  // font without accents; the header's least size.
  struct Title {
    std::string name, text, shown;
  };
  const std::vector<Title> titles = {
      {"\x01Gr\xFC\xDF", "", "Gruess"},                      // the first single-byte table
      {"\x0BK\xE4se", "", "Kaese"},                          // the last one
      {"\x0C\xE4", "", "?"},                                 // a reserved table byte
      {std::string("\x10\x00\x01M\xFCll", 7), "", "Muell"},  // a table named in two bytes
      {"\x15x\xE3\xA4\x80", "", "x?"},                       // a three-byte character
      {"\x15M\xC3\xBC", "", "Mue"},                          // a character ending the title
      {"\x15"
       "ab\xC3",
       "\xA4", "ab?"},  // one cut by the title's end
      {"\xC2\x80y", "", "?y"},
      {"\x15\xBFx", "", "?x"},  // a continuation byte where a character begins
      {"\xCFs", "", "s"},       // the last accent of ISO 6937  // an accent on no letter
      {"\xC8O\xC8o\xC8U\xC8"
       "A\xC8x",
       "", "OeoeUeAe?"},  // the diaeresis on each letter that takes one, and on one that does not
      {" a\x1F"
       "b",
       "", " ab"},  // a space is text, not a table byte; a control code is dropped
      {"a\x80"
       "b\x9F"
       "c\xA0",
       "", "abc?"},          // the emphasis codes are dropped, not the byte after them
      {"x\xC8", "u", "x?"},  // a diaeresis cut by the title's end
      {"a\x8A"
       "b",
       "", "a"}};  // the line break code ends the title's line
  for (size_t i = 0; i < titles.size(); i++) {
    testdisk::Header t = h;
    t.eventName = titles[i].name;
    t.eventText = titles[i].text;
    std::string name = "/DataFiles/News/t" + std::to_string(i) + ".rec";
    ASSERT_TRUE(disk.Recording(name, 9024, t));
    received.clear();
    emu::SendEventTo(tagsmith, EVT_TAPCOM, 17,
                     Record("t" + std::to_string(i) + ".rec.inf", folder));
    emu::Idle(1);
    EXPECT_EQ(received, (std::vector<std::pair<dword, dword>>{{18, kTagsmithId}})) << i;
    std::string tgs = testenv::ReadFile(HostPath(name + ".tgs"));
    EXPECT_EQ(tgs.substr(0, tgs.find('\n')), "Title=" + titles[i].shown) << i;
  }
  // Headers written big-endian by the recorders that do, known by version.
  for (int version : {0x5000, 0x8000, 0x5010}) {
    testdisk::Header t = h;
    t.bigEndian = true;
    t.version = version;
    ASSERT_TRUE(disk.Recording("/DataFiles/News/big.rec", 9024, t));
    unlink(HostPath("/DataFiles/News/big.rec.tgs").c_str());
    emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record("big.rec.inf", folder));
    emu::Idle(1);
    EXPECT_NE(testenv::ReadFile(HostPath("/DataFiles/News/big.rec.tgs")).find("\nMinutes=95\n"),
              std::string::npos)
        << version;
  }
  // A header of the least size is read; one byte less is no header.
  const std::string whole = testenv::ReadFile(HostPath("/DataFiles/News/a.rec.inf"));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/News/least.rec.inf"), whole.substr(0, 368)));
  received.clear();
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record("least.rec.inf", folder));
  emu::Idle(1);
  EXPECT_EQ(received, (std::vector<std::pair<dword, dword>>{{18, kTagsmithId}}));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/News/short.rec.inf"), whole.substr(0, 367)));
  received.clear();
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record("short.rec.inf", folder));
  emu::Idle(1);
  EXPECT_EQ(received, (std::vector<std::pair<dword, dword>>{{20, kTagsmithId}}));
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/News/short.rec.tgs")));
  // A header named only by its extension keeps the whole name.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/News/.inf"), whole));
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record(".inf", folder));
  emu::Idle(1);
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles/News/.inf.tgs")));
  EXPECT_FALSE(testenv::Exists(HostPath("/DataFiles/News/.tgs")));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/News/x.inf"), whole));
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 17, Record("x.inf", folder));
  emu::Idle(1);
  EXPECT_TRUE(testenv::Exists(HostPath("/DataFiles/News/x.tgs")));
}

}  // namespace

namespace {

class BackgroundCopyTest : public ExternalDriveTest {
 protected:
  void Seed(const std::string& dir) override {
    ASSERT_TRUE(testenv::WriteFile(dir + "/Films/keep", ""));
  }

  // A drive of 28 MB: room for the moves below, not for a 20 MB file more.
  void Configure(emu::Config& config) override {
    ExternalDriveTest::Configure(config);
    config.drives.back().sizeMB = 28;
  }

  static std::string Job(const std::string& source, const std::string& target,
                         const std::string& name, int mode) {
    std::string text = "SDir=" + source + "\r\nDDir=" + target + "\r\nFileName=" + name +
                       "\r\nCoM=" + std::to_string(mode) + "\r\n";
    text.resize(1024, '\0');  // a whole block, as the job files are written
    return text;
  }
};

TEST_F(BackgroundCopyTest, MovesAcrossDrivesInTheBackgroundAndRefusesHostileJobs) {
  std::string data;
  for (int i = 0; data.size() < (10u << 20); i++) data += "block " + std::to_string(i) + "\n";
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Film.rec"), data));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Film.rec.inf"), "TFrc header"));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Film.rec.nav"), "nav"));
  const std::string jobs = "/ProgramFiles/Settings/BackgroundCopy/JobFiles/";
  const std::string fails = "/ProgramFiles/Settings/BackgroundCopy/JobFail/";
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0001.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Film.rec", 1)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0002.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1", "Film$(reboot).rec", 0)));
  ASSERT_TRUE(
      testenv::WriteFile(HostPath(jobs + "0003.bgc"), Job("/etc", "/mnt/sdb1", "passwd", 0)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0004.bgc"),
                                 Job("/mnt/hd/DataFiles/../../../etc", "/mnt/sdb1", "passwd", 0)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0005.bgc"), "CoM=1\r\n"));
  // A destination that already has the name.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Taken one.rec"), "ours"));
  ASSERT_TRUE(testenv::WriteFile("/mnt/sdb1/Films/Taken one.rec", "theirs"));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0006.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Taken one.rec", 0)));
  // A copy mode other than 0 and 1, and a destination on no drive.
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0020.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Film.rec", 2)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0021.bgc"),
                                 Job("/mnt/hd/DataFiles", "/dev/shm", "Film.rec", 0)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0022.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films/keep", "Film.rec", 0)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0023.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Nowhere", "Film.rec", 0)));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/BackgroundCopy.tap"),
                                 testenv::ReadFile(Peer("BackgroundCopy"))));
  ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();

  // A second after the start the job runs: a slice is copied, nothing has its
  // name yet and the source is whole.
  emu::Wait(1.1);
  EXPECT_TRUE(testenv::Exists("/mnt/sdb1/Films/Film.rec.part"));
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Film.rec"));
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Film.rec")), data);

  emu::Wait(60);
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Film.rec"), data);
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Film.rec.inf"), "TFrc header");
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Film.rec.nav"), "nav");
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Film.rec.part"));
  for (const char* gone :
       {"/DataFiles/Film.rec", "/DataFiles/Film.rec.inf", "/DataFiles/Film.rec.nav"}) {
    EXPECT_FALSE(testenv::Exists(HostPath(gone))) << gone;
  }
  // Each copy reached the disk before it was compared and named.
  for (const char* piece : {"", ".inf", ".nav"}) {
    EXPECT_GE(emu::SyncCount(std::string("/mnt/sdb1/Films/Film.rec") + piece + ".part"), 1)
        << piece;
  }
  // Nothing stays open on them: a deleted source would keep its space.
  for (const std::string& fd : testenv::ListDir("/proc/self/fd")) {
    char target[512] = {};
    if (readlink(("/proc/self/fd/" + fd).c_str(), target, sizeof target - 1) > 0) {
      EXPECT_EQ(strstr(target, "Film.rec"), nullptr) << target;
    }
  }
  EXPECT_TRUE(testenv::ListDir(HostPath(jobs)).empty());
  EXPECT_EQ(testenv::ListDir(HostPath(fails)),
            (std::vector<std::string>{"0002.bgc", "0003.bgc", "0004.bgc", "0005.bgc", "0006.bgc",
                                      "0020.bgc", "0021.bgc", "0022.bgc", "0023.bgc"}));
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Taken one.rec"), "theirs");
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Taken one.rec")), "ours");
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/passwd"));
  std::string log =
      testenv::ReadFile(HostPath("/ProgramFiles/Settings/BackgroundCopy/BackgroundCopy.log"));
  EXPECT_NE(log.find("0001.bgc: move complete"), std::string::npos) << log;
  EXPECT_NE(log.find("0002.bgc: refused: a name with characters"), std::string::npos) << log;
  EXPECT_NE(log.find("0003.bgc: refused: a folder"), std::string::npos) << log;
  EXPECT_NE(log.find("0004.bgc: refused: a folder"), std::string::npos) << log;
  EXPECT_NE(log.find("0005.bgc: incomplete job"), std::string::npos) << log;
  EXPECT_NE(log.find("0006.bgc: the destination already has"), std::string::npos) << log;
  EXPECT_NE(log.find("0020.bgc: incomplete job"), std::string::npos) << log;
  EXPECT_NE(log.find("0021.bgc: refused: a folder"), std::string::npos) << log;
  EXPECT_NE(log.find("0022.bgc: refused: a folder"), std::string::npos) << log;  // a file
  EXPECT_NE(log.find("0023.bgc: refused: a folder"), std::string::npos) << log;  // none
  EXPECT_EQ(log.find("0006.bgc: copy started"), std::string::npos) << "refused before copying";
  EXPECT_NE(emu::NetOutput().find("BackgroundCopy: 0003.bgc: refused"), std::string::npos);
  // A refused job is given up at its first fault: one line each.
  for (const char* refused : {"0002.bgc", "0003.bgc", "0004.bgc", "0005.bgc", "0006.bgc",
                              "0020.bgc", "0021.bgc", "0022.bgc", "0023.bgc"}) {
    size_t first = log.find(refused);
    EXPECT_EQ(log.find(refused, first + 1), std::string::npos) << refused << "\n" << log;
  }

  // A file that takes the name while the move runs is not overwritten, and
  // the source stays.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Late.rec"), data));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0007.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Late.rec", 1)));
  for (int n = 0; n < 30 && !testenv::Exists("/mnt/sdb1/Films/Late.rec.part"); n++) emu::Idle();
  ASSERT_TRUE(testenv::Exists("/mnt/sdb1/Films/Late.rec.part"));
  ASSERT_TRUE(testenv::WriteFile("/mnt/sdb1/Films/Late.rec", "theirs"));
  emu::Wait(30);
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Late.rec"), "theirs");
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Late.rec")), data);
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Late.rec.part"));
  log = testenv::ReadFile(HostPath("/ProgramFiles/Settings/BackgroundCopy/BackgroundCopy.log"));
  EXPECT_NE(log.find("0007.bgc: the destination already has"), std::string::npos) << log;

  // A source deleted after the job was read fails the job as unreadable; a
  // job of the disk's top folder is the disk's own.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/Gone.rec"), "soon gone"));
  ASSERT_TRUE(testenv::WriteFile(HostPath("/Top.rec"), "t"));  // a write of one byte
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0008.bgc"),
                                 Job("/mnt/hd", "/mnt/sdb1/Films", "Gone.rec", 0)));
  const std::string logPath = HostPath("/ProgramFiles/Settings/BackgroundCopy/BackgroundCopy.log");
  for (int n = 0;
       n < 30 && testenv::ReadFile(logPath).find("0008.bgc: copy started") == std::string::npos;
       n++) {
    emu::Idle();
  }
  ASSERT_EQ(unlink(HostPath("/Gone.rec").c_str()), 0);
  ASSERT_EQ(mkdir("/mnt/sdb1/Films/Top.rec.inf.part", 0777), 0);  // no copy can take that name
  ASSERT_TRUE(testenv::WriteFile(HostPath("/Top.rec.inf"), "i"));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0011.bgc"),
                                 Job("/mnt/hd", "/mnt/sdb1/Films", "Top.rec", 0)));
  emu::Wait(30);
  ASSERT_EQ(rmdir("/mnt/sdb1/Films/Top.rec.inf.part"), 0);
  ASSERT_EQ(unlink(HostPath("/Top.rec.inf").c_str()), 0);
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0009.bgc"),
                                 Job("/mnt/hd", "/mnt/sdb1/Films", "Top.rec", 0)));
  emu::Wait(30);
  log = testenv::ReadFile(logPath);
  EXPECT_NE(log.find("0008.bgc: cannot open the source or create the copy"), std::string::npos)
      << log;
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Gone.rec.part"));
  EXPECT_NE(log.find("0011.bgc: cannot open the source or create the copy"), std::string::npos)
      << log;
  EXPECT_NE(log.find("0009.bgc: copy complete"), std::string::npos) << log;
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Top.rec"), "t");

  // A destination that fills up is named as full; the part copied goes and
  // the source stays.
  const std::string big(20u << 20, 'b');
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Big.rec"), big));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0010.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Big.rec", 1)));
  emu::Wait(60);
  log = testenv::ReadFile(logPath);
  EXPECT_NE(log.find("0010.bgc: the destination is full"), std::string::npos) << log;
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Big.rec.part"));
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Big.rec"));
  EXPECT_EQ(testenv::ReadFile(HostPath("/DataFiles/Big.rec")), big);

  // A sparse recording is copied with its holes; the companion after it,
  // which starts with data, whole.
  {
    const std::string sparse = HostPath("/DataFiles/Sparse.rec");
    ASSERT_TRUE(testenv::WriteFile(sparse, std::string(1 << 20, 's')));
    ASSERT_EQ(truncate(sparse.c_str(), 12 << 20), 0);
    FILE* f = fopen(sparse.c_str(), "r+");
    ASSERT_NE(f, nullptr);
    fseek(f, 8 << 20, SEEK_SET);
    fputs("middle", f);
    fclose(f);
    ASSERT_TRUE(testenv::WriteFile(sparse + ".inf", "sparse header"));
    ASSERT_EQ(truncate((sparse + ".inf").c_str(), 1 << 20), 0);  // ends in a hole
    ASSERT_TRUE(testenv::WriteFile(sparse + ".nav", "nav"));
  }
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0012.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Sparse.rec", 0)));
  // Two grow once the job began (a hole, then data; data on data): the
  // copies are of what the job found.
  const std::string sparseBefore = testenv::ReadFile(HostPath("/DataFiles/Sparse.rec"));
  const std::string infBefore = testenv::ReadFile(HostPath("/DataFiles/Sparse.rec.inf"));
  for (int n = 0;
       n < 30 && testenv::ReadFile(logPath).find("0012.bgc: copy started") == std::string::npos;
       n++) {
    emu::Idle();
  }
  for (const char* grown : {"/DataFiles/Sparse.rec", "/DataFiles/Sparse.rec.nav"}) {
    FILE* f = fopen(HostPath(grown).c_str(), "a");
    ASSERT_NE(f, nullptr);
    fputs("grown", f);
    fclose(f);
  }
  // A copy that differs from its source when compared is not named.
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Changed.rec"), data));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0013.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Changed.rec", 0)));
  for (int n = 0; n < 60 && !testenv::Exists("/mnt/sdb1/Films/Changed.rec.part"); n++) emu::Idle();
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Changed.rec"), "C" + data.substr(1)));
  emu::Wait(30);
  EXPECT_TRUE(testenv::ReadFile("/mnt/sdb1/Films/Sparse.rec") == sparseBefore);
  EXPECT_TRUE(testenv::ReadFile("/mnt/sdb1/Films/Sparse.rec.inf") == infBefore);
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Sparse.rec.nav"), "nav");
  struct stat st;
  ASSERT_EQ(stat("/mnt/sdb1/Films/Sparse.rec", &st), 0);
  EXPECT_LT(st.st_blocks * 512, 4 << 20);
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Changed.rec"));
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Changed.rec.part"));
  log = testenv::ReadFile(logPath);
  EXPECT_NE(log.find("0013.bgc: the copy differs from its source"), std::string::npos) << log;

  // Without a JobFail folder a refused job is deleted, not tried again.
  ASSERT_EQ(rename(HostPath(fails).c_str(), HostPath("/Fails").c_str()), 0);
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0014.bgc"), "CoM=0\r\n"));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "8.bgc"), "x"));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "9.bgc"), ""));  // the shortest name
  // Other files there are no jobs.
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + ".bgc"), ""));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "readme.txt"), ""));
  emu::Wait(5);
  EXPECT_EQ(testenv::ListDir(HostPath(jobs)), (std::vector<std::string>{".bgc", "readme.txt"}));
  log = testenv::ReadFile(logPath);
  EXPECT_NE(log.find("\n8.bgc: incomplete job"), std::string::npos) << log;
  for (const char* job : {"0014.bgc", "8.bgc", "9.bgc"}) {
    size_t first = log.find(std::string("\n") + job);
    EXPECT_NE(first, std::string::npos) << job;
    EXPECT_EQ(log.find(job, first + 2), std::string::npos) << log;
  }
  EXPECT_NE(log.find("\n9.bgc: empty job file"), std::string::npos) << log;

  // Stopped while it copies, it leaves no part behind and keeps the job; a
  // start without its folders makes them, and the job then runs to its end.
  ASSERT_EQ(unlink("/mnt/sdb1/Films/Film.rec"), 0);
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Again.rec"), data));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0015.bgc"),
                                 Job("/mnt/hd/DataFiles", "/mnt/sdb1/Films", "Again.rec", 0)));
  for (int n = 0; n < 30 && !testenv::Exists("/mnt/sdb1/Films/Again.rec.part"); n++) emu::Idle();
  ASSERT_TRUE(testenv::Exists("/mnt/sdb1/Films/Again.rec.part"));
  emu::SendEventTo(0, EVT_STOP, 1, 0);
  emu::Idle(1);
  EXPECT_FALSE(emu::IsRunning(0));
  EXPECT_FALSE(testenv::Exists("/mnt/sdb1/Films/Again.rec.part"));
  const std::string job = testenv::ReadFile(HostPath(jobs + "0015.bgc"));
  EXPECT_FALSE(job.empty());
  testenv::RemoveTree(HostPath("/ProgramFiles/Settings/BackgroundCopy"));
  ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
  EXPECT_TRUE(testenv::Exists(HostPath(fails)));
  ASSERT_TRUE(testenv::WriteFile(HostPath(jobs + "0015.bgc"), job));
  emu::Wait(60);
  EXPECT_EQ(testenv::ReadFile("/mnt/sdb1/Films/Again.rec"), data);
}

}  // namespace

namespace {

TEST_F(PeersTest, RemoteControlMovieCutterAndTsrCommanderReachTheApplication) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Film.rec"), std::string(9024 * 500, 'x')));
  Install({"MovieCutter", "RemoteControl", "TSRCommander"});
  const int remote = 2, pavrolinex = 4;
  ASSERT_EQ(emu::LoadApplication(PVR_TAP_PATH), pavrolinex) << emu::LastError();

  // Direct mode through a channel record: on, off, and a service it lacks.
  dword* channel = static_cast<dword*>(TAP_MemAlloc(12 * sizeof(dword)));
  const dword words[12] = {0x14011965, 14, 0, kSenderId, 0x8E0A4230, 0, 1, 0, 0, 0, 0, 0};
  memcpy(channel, words, sizeof words);
  dword address = static_cast<dword>(reinterpret_cast<uintptr_t>(channel));
  EXPECT_EQ(emu::SendEventTo(remote, 0x0FFF, address, 0), 1u);
  EXPECT_EQ(channel[5], 4u);  // finished
  channel[6] = 2;
  EXPECT_EQ(emu::SendEventTo(remote, 0x0FFF, address, 0), 0u);
  channel[6] = 7;
  channel[5] = 0;
  EXPECT_EQ(emu::SendEventTo(remote, 0x0FFF, address, 0), 0u);
  EXPECT_EQ(channel[5], 3u);  // rejected
  channel[0] = 0;
  EXPECT_EQ(emu::SendEventTo(remote, 0x0FFF, address, 0), 0u);  // no channel: nothing changes
  EXPECT_EQ(emu::SendEventTo(remote, 0x0FFF, 16, 0), 0u);       // no memory there either
  std::string net = emu::NetOutput();
  EXPECT_NE(net.find("RemoteControl: direct mode on (from 0x800440FA)\r\n"
                     "RemoteControl: direct mode off (from 0x800440FA)\r\n"
                     "RemoteControl: service 7 refused"),
            std::string::npos)
      << net;

  // MovieCutter's menu key counts during playback only.
  EXPECT_EQ(emu::PressKey(RKEY_Menu), static_cast<dword>(RKEY_Menu));
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("Film.rec"), 0);
  EXPECT_EQ(emu::PressKey(RKEY_Menu), 0u);
  EXPECT_TRUE(emu::AnyRegionOpen());
  // Its window names the way out on its third row, dimmed.
  size_t dim = 0;
  for (int y = 160 + 36 + 40; y < 160 + 36 + 60; y++) {
    for (int x = 200; x < 520; x++) dim += emu::Frame()[y * OSD_WIDTH + x] == 0xFFC0C0C0u;
  }
  EXPECT_GT(dim, 50u);
  EXPECT_EQ(emu::PressKey(RKEY_1), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_3), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_9), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_NE(
      emu::NetOutput().find("MovieCutter: menu\r\nMovieCutter: entry 1\r\nMovieCutter: entry 3\r\n"
                            "MovieCutter: entry 9\r\n"),
      std::string::npos);
  TAP_Hdd_StopTs();

  // TSR Commander: Green shows the first application listed (this test's,
  // in slot 0) and closes the menu.
  emu::PressKey(RKEY_Exit | RKEY_FLAG_HELD);
  emu::PressKey(RKEY_Green);
  EXPECT_FALSE(emu::AnyRegionOpen());
  EXPECT_EQ(commanded, (std::vector<dword>{3, 6}));
  // Exit held opens the menu; Up wraps to the application,
  // OK runs its exported configuration dialog as that application.
  emu::PressKey(RKEY_Exit | RKEY_FLAG_HELD);
  EXPECT_TRUE(emu::AnyRegionOpen());
  EXPECT_NE(emu::NetOutput().find("TSR Commander: slot 4 offers 0x01000007"), std::string::npos);
  // One row a slot (0, 1, 2 and 4: not its own), the chosen one lit.
  auto lit = [](int row) {
    return emu::Frame()[(100 + 37 + 20 * row) * OSD_WIDTH + 157] == 0xFF2E5E8Eu;
  };
  EXPECT_TRUE(lit(0));
  EXPECT_FALSE(lit(1));
  emu::PressKey(RKEY_ChUp);
  EXPECT_FALSE(lit(0));
  EXPECT_TRUE(lit(3));
  emu::PressKey(RKEY_Ok);
  EXPECT_NE(emu::NetOutput().find("TSR Commander: configure slot 4\r\n"), std::string::npos);
  EXPECT_FALSE(emu::InNormalMode());  // the application took the screen
  emu::PressKey(RKEY_Exit);           // closes the application's dialog
  EXPECT_TRUE(emu::InNormalMode());
  // Red stops it through its exported exit function.
  emu::PressKey(RKEY_Exit | RKEY_FLAG_HELD);
  emu::PressKey(RKEY_ChUp);
  emu::PressKey(RKEY_Red);
  emu::PressKey(RKEY_Exit);
  EXPECT_NE(emu::NetOutput().find("TSR Commander: stop slot 4 answered 1"), std::string::npos);
  EXPECT_FALSE(emu::IsRunning(pavrolinex));
  EXPECT_EQ(emu::RunningCount(), 4);
  // On a firmware that does not name its current task the menu stays shut.
  emu::RemoveSymbol("_curTapTask");
  emu::PressKey(RKEY_Exit | RKEY_FLAG_HELD);
  EXPECT_FALSE(emu::AnyRegionOpen());
}

}  // namespace
