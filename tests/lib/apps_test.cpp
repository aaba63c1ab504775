// The firmware's application table through the library: finding applications
// by id and sending them events the way the firmware does.
#include <elf.h>

#include <cstring>
#include <string>
#include <vector>

#include "lib_test.h"

namespace {

struct Received {
  dword app;
  word event;
  dword param1;
  dword current;  // the current-application index during the call
};
std::vector<Received> received;

TYPE_TapHeader MakeHeader(dword id) {
  TYPE_TapHeader header;
  memset(&header, 0, sizeof header);
  memcpy(header.magic, TAP_HEADER_MAGIC, 8);
  header.headerVersion = TAP_HEADER_VERSION;
  header.id = id;
  header.apiVersion = TAP_API_VERSION;
  return header;
}

int Main() { return 1; }
// A consumes every event (returns 0) but those with parameter 5.
dword HandlerA(word event, dword param1, dword) {
  received.push_back({0xA, event, param1, *FIS_vCurTapTask()});
  return param1 == 5 ? param1 : 0;
}
dword HandlerB(word event, dword param1, dword) {
  received.push_back({0xB, event, param1, *FIS_vCurTapTask()});
  return param1;
}

class Apps : public LibTest {
 protected:
  void SetUp() override {
    LibTest::SetUp();
    received.clear();
    headerA = MakeHeader(0x8E0A42EF);
    headerB = MakeHeader(0x444D430A);
    indexA = emu::StartLinkedApplication({&headerA, Main, HandlerA, "A.tap"});
    indexB = emu::StartLinkedApplication({&headerB, Main, HandlerB, "B.tap"});
    ASSERT_GE(indexA, 0);
    ASSERT_GE(indexB, 0);
  }
  TYPE_TapHeader headerA, headerB;
  int indexA = -1, indexB = -1;
};

TEST_F(Apps, FindingApplications) {
  ASSERT_NE(FIS_vTAPTable(), nullptr);
  EXPECT_EQ(HDD_TAP_GetIndexByID(0x8E0A42EF), indexA);
  EXPECT_EQ(HDD_TAP_GetIndexByID(0x444D430A), indexB);
  EXPECT_TRUE(HDD_TAP_isRunning(0x444D430A));
  ASSERT_EQ(indexA, 0);  // the table's first slot holds an application too
  EXPECT_TRUE(HDD_TAP_isRunning(0x8E0A42EF));
  EXPECT_EQ(HDD_TAP_GetIndexByID(0x12345678), -1);
  EXPECT_FALSE(HDD_TAP_isRunning(0x12345678));
  // A slot that no longer runs may still hold the id it had.
  TYPE_TapTask* table = FIS_vTAPTable();
  table[indexB].status = TAPTASK_Free;
  EXPECT_EQ(HDD_TAP_GetIndexByID(0x444D430A), -1);
  EXPECT_FALSE(HDD_TAP_isRunning(0x444D430A));
  table[indexB].status = TAPTASK_Running;
  emu::RemoveSymbol("_tapTask");
  EXPECT_EQ(HDD_TAP_GetIndexByID(0x8E0A42EF), -1);
}

TEST_F(Apps, SendingToOneApplication) {
  dword before = *FIS_vCurTapTask();
  EXPECT_EQ(HDD_TAP_SendEvent(0x444D430A, false, EVT_TAPCOM, 7, 0), 7u);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].app, 0xBu);
  EXPECT_EQ(received[0].event, EVT_TAPCOM);
  EXPECT_EQ(received[0].current, (dword)indexB);
  EXPECT_EQ(*FIS_vCurTapTask(), before);
  // Nobody with that id: nothing happens.
  EXPECT_EQ(HDD_TAP_SendEvent(0x12345678, false, EVT_TAPCOM, 7, 0), 0u);
  EXPECT_EQ(received.size(), 1u);
  // Terminating sends the stop request to the one application only.
  EXPECT_FALSE(HDD_TAP_Terminate(0x12345678));
  EXPECT_TRUE(HDD_TAP_Terminate(0x444D430A));
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].app, 0xBu);
  EXPECT_EQ(received[1].event, EVT_STOP);
  EXPECT_EQ(received[1].param1, 2u);
}

TEST_F(Apps, Broadcasting) {
  HDD_TAP_SendEvent(0, false, EVT_TAPCOM, 1, 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].app, 0xAu);
  EXPECT_EQ(received[1].app, 0xBu);
  // With intercept the first handler that consumes (returns 0) ends it;
  // one that does not passes it on.
  received.clear();
  HDD_TAP_SendEvent(0, true, EVT_TAPCOM, 1, 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].app, 0xAu);
  received.clear();
  EXPECT_EQ(HDD_TAP_SendEvent(0, true, EVT_TAPCOM, 5, 0), 5u);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].app, 0xBu);
}

// A channel is closed by the application that opened it only; an
// application's image tells its header, a cut one nothing.
TEST_F(Apps, ChannelsAndApplicationImages) {
  dword* current = FIS_vCurTapTask();
  const dword caller = *current;
  *current = static_cast<dword>(indexA);
  TAPCOM_Channel* channel = TAPCOM_OpenChannel(0x444D430A, 3, 1, nullptr);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->fromId, 0x8E0A42EFu);
  *current = static_cast<dword>(indexB);
  TAPCOM_CloseChannel(channel);
  EXPECT_TRUE(isValidChannel(channel));
  *current = static_cast<dword>(indexA);
  TAPCOM_CloseChannel(channel);
  *current = caller;

  const std::string image = testenv::ReadFile(std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap");
  ASSERT_GT(image.size(), 1000u);
  Make("/mnt/hd/ProgramFiles/Echo.tap", image);
  Make("/mnt/hd/ProgramFiles/Cut.tap", image.substr(0, image.size() / 2));
  ASSERT_TRUE(HDD_ChangeDir("/ProgramFiles"));
  TYPE_TapHeader header;
  EXPECT_TRUE(HDD_TAP_GetInfo("Echo.tap", &header));
  EXPECT_EQ(memcmp(header.magic, TAP_HEADER_MAGIC, 8), 0);
  EXPECT_NE(header.id, 0u);
  EXPECT_NE(header.programName[0], 0);
  EXPECT_FALSE(HDD_TAP_GetInfo(nullptr, &header));
  EXPECT_FALSE(HDD_TAP_GetInfo("Echo.tap", nullptr));
  memset(&header, 0xAB, sizeof header);
  EXPECT_FALSE(HDD_TAP_GetInfo("Cut.tap", &header));
  EXPECT_EQ(header.id, 0u);
  EXPECT_EQ(header.programName[0], 0);
  // Starting an image from the work folder tells its header and leaves the
  // work folder as it was; a cut image is not started.
  TYPE_TapHeader started;
  EXPECT_FALSE(HDD_TAP_Start("Cut.tap", false, nullptr, &started));
  char** folders = (char**)TryResolve("_hddTapFolder");
  char* workFolder = folders[caller];
  folders[caller] = nullptr;  // a task whose folder is not known starts nothing
  EXPECT_FALSE(HDD_TAP_Start("Echo.tap", false, nullptr, &started));
  folders[caller] = workFolder;
  ASSERT_TRUE(HDD_TAP_Start("Echo.tap", false, nullptr, &started));
  EXPECT_TRUE(HDD_TAP_isRunning(started.id));
  EXPECT_NE(started.programName[0], 0);
  EXPECT_EQ(CurrentDir(), "/ProgramFiles");

  // The recorder's images are 32-bit: a header section found through the
  // 32-bit section table (for this machine, so that it is not refused).
  Elf64_Ehdr self;
  ASSERT_GE(image.size(), sizeof self);
  memcpy(&self, image.data(), sizeof self);
  TYPE_TapHeader wanted = MakeHeader(0x8E0A4247);
  const char names[16] = "\0.tap_header";
  Elf32_Ehdr e = {};
  memcpy(e.e_ident, ELFMAG, SELFMAG);
  e.e_ident[EI_CLASS] = ELFCLASS32;
  e.e_ident[EI_DATA] = ELFDATA2LSB;
  e.e_machine = self.e_machine;
  e.e_shoff = sizeof e + sizeof wanted + sizeof names;
  e.e_shentsize = sizeof(Elf32_Shdr);
  e.e_shnum = 3;
  e.e_shstrndx = 2;
  Elf32_Shdr sections[3] = {};
  sections[1].sh_name = 1;
  sections[1].sh_offset = sizeof e;
  sections[1].sh_size = sizeof wanted;
  sections[2].sh_offset = sizeof e + sizeof wanted;
  sections[2].sh_size = sizeof names;
  std::string narrow(reinterpret_cast<const char*>(&e), sizeof e);
  narrow.append(reinterpret_cast<const char*>(&wanted), sizeof wanted);
  narrow.append(names, sizeof names);
  narrow.append(reinterpret_cast<const char*>(sections), sizeof sections);
  Make("/mnt/hd/ProgramFiles/Narrow.tap", narrow);
  EXPECT_TRUE(HDD_TAP_GetInfo("Narrow.tap", &header));
  EXPECT_EQ(header.id, 0x8E0A4247u);
  // A names index one past the table is refused, even where a section
  // header of the names follows the table.
  reinterpret_cast<Elf32_Ehdr*>(&narrow[0])->e_shstrndx = 3;
  narrow.append(reinterpret_cast<const char*>(&sections[2]), sizeof sections[2]);
  Make("/mnt/hd/ProgramFiles/Past.tap", narrow);
  EXPECT_FALSE(HDD_TAP_GetInfo("Past.tap", &header));
  // An image that says it is big-endian is refused, whatever follows.
  narrow[EI_DATA] = ELFDATA2MSB;
  reinterpret_cast<Elf32_Ehdr*>(&narrow[0])->e_shstrndx = 2;
  Make("/mnt/hd/ProgramFiles/Big.tap", narrow);
  EXPECT_FALSE(HDD_TAP_GetInfo("Big.tap", &header));
  narrow[EI_DATA] = ELFDATA2LSB;
  Make("/mnt/hd/ProgramFiles/Little.tap", narrow);
  EXPECT_TRUE(HDD_TAP_GetInfo("Little.tap", &header));
}

}  // namespace
