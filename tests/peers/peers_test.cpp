// The recorder's other applications, loaded from their images the way the
// recorder loads them, each driven through one scenario: the test is a
// linked application that sends messages through the firmware and receives
// the answers in its own handler.
#include <string.h>

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

dword SenderHandler(word event, dword param1, dword param2) {
  if (event == EVT_TAPCOM) received.emplace_back(param1, param2);
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

std::string Peer(const std::string& name) { return std::string(PVR_PEER_DIR) + "/" + name + ".tap"; }

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
    EXPECT_LT(address, uintptr_t{1} << 32) << "the firmware heap must give 32-bit addresses";
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
  const std::string folder = "/mnt/hd/DataFiles/News";

  // Alive, and the window with the header's fields; keys go to it alone.
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 0, kSenderId), 0u);
  EXPECT_EQ(emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("a.rec.inf", folder)), 0u);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], std::make_pair(dword{1}, kTagsmithId));
  EXPECT_EQ(received[1], std::make_pair(dword{3}, kTagsmithId));
  EXPECT_FALSE(emu::InNormalMode());
  std::string message;
  EXPECT_TRUE(snapshot::MatchesReference("peers_tagsmith_info", &message)) << message;
  EXPECT_EQ(emu::PressKey(RKEY_Menu), 0u);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_FALSE(emu::AnyRegionOpen());
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[2].first, 6u);  // popped down
  EXPECT_EQ(emu::PressKey(RKEY_Menu), static_cast<dword>(RKEY_Menu));  // hidden: keys pass

  // OK leaves to normal viewing; a damaged header fails without a window.
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("a.rec.inf", folder));
  emu::PressKey(RKEY_Ok);
  EXPECT_TRUE(emu::InNormalMode());
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("c.rec.inf", folder));
  emu::SendEventTo(tagsmith, EVT_TAPCOM, 2, Record("../a.rec.inf", folder));
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
}

}  // namespace
