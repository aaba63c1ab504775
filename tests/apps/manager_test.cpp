// The application-manager view over /ProgramFiles: application images read
// from their headers, images that are none refused, starting an application
// from the list and by id.
#include <sys/stat.h>
#include <sys/time.h>

#include <fstream>

#include "../browse/BrowseFixture.h"
#include "apps/apps.h"
#include "catalogue/catalogue.h"
#include "lib/lib.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ManagerTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    std::string echo = ReadAll(std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap");
    ASSERT_GT(echo.size(), 64u);
    WriteAll(HostPath("/ProgramFiles/EchoApp.tap"), echo);
    ASSERT_TRUE(testenv::SetFileTime(HostPath("/ProgramFiles/EchoApp.tap"), 2026, 11, 21, 20, 5));
    // Not an image at all, and an image for another CPU.
    WriteAll(HostPath("/ProgramFiles/Broken.tap"), "TFAPMIPS but no ELF object");
    std::string foreign = echo;
    foreign[18] = (char)(foreign[18] ^ 0x40);
    WriteAll(HostPath("/ProgramFiles/Foreign.tap"), foreign);
    // A folder whose name sorts just before "." is searched like any other.
    mkdir(HostPath("/ProgramFiles/-Tools").c_str(), 0755);
    WriteAll(HostPath("/ProgramFiles/-Tools/Deep.tap"), echo);
  }

  FileRecord* Named(const char* name) {
    for (int j = 1; j <= numberOfFiles; j++) {
      FileRecord* line = FileSlot(CurrentDirNumber, j);
      if (line && strcmp(line->name, name) == 0) return line;
    }
    return nullptr;
  }

  // Runs the start action to its end, one idle event per step.
  void RunStartAction() {
    for (int i = 0; i < 20 && TAPManager_multistep; i++) emu::Idle(1);
    EXPECT_EQ(TAPManager_multistep, 0);
  }
};

TEST_F(ManagerTest, ListsStartsAndRefuses) {
  OpenList();
  Mark({"Show 01.rec"});  // recordings marked are nothing among the applications
  int nameColumn = column2Width;
  InvokeTAPManager();
  EXPECT_EQ(MultiSelectCount(), 0);
  ASSERT_EQ(TAPManagerMode, 1);
  ASSERT_STREQ(CurrentDir, "/ProgramFiles");
  EXPECT_NE(column2Width, nameColumn);  // the view's own columns
  FileRecord* echo = Named("EchoApp.tap");
  ASSERT_NE(echo, nullptr);
  EXPECT_EQ(echo->appId, 0x12345678u);
  EXPECT_STREQ(echo->eventName, "EchoApp v1");
  EXPECT_STREQ(echo->extText, "EchoApp v1 (Echoes keys)");
  EXPECT_EQ(echo->playingNow, 0u);
  for (const char* name : {"Broken.tap", "Foreign.tap"}) {
    FileRecord* line = Named(name);
    ASSERT_NE(line, nullptr) << name;  // listed as a file ...
    EXPECT_EQ(line->appId, 0u) << name;
    for (int j = 1; j <= numberOfFiles; j++)
      if (FileSlot(CurrentDirNumber, j) == line) chosenLine = j;
    emu::PressKey(RKEY_Ok);  // ... and never started
    EXPECT_STREQ(lastMessageTitle, "Starting TAP Failed") << name;
    EXPECT_STREQ(lastMessageLine2, name);
    EXPECT_EQ(TAPManager_multistep, 0) << name;
    EXPECT_EQ(emu::RunningCount(), 1) << name;
  }

  // Ok starts an application and stays in the list: it does not take the
  // screen, so the list comes back with the application marked running.
  for (int j = 1; j <= numberOfFiles; j++)
    if (FileSlot(CurrentDirNumber, j) == echo) chosenLine = j;
  size_t blocks = emu::AllocatedBlocks();
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(TAPManager_multiphase, 1);
  EXPECT_STREQ(lastMessageTitle, "Starting TAP Failed");
  RunStartAction();
  EXPECT_EQ(emu::AllocatedBlocks(), blocks);  // the screens saved on the way are freed
  EXPECT_STREQ(lastMessageTitle, "Starting TAP");
  EXPECT_EQ(emu::RunningCount(), 2);
  EXPECT_TRUE(IsFileTAP_Active("EchoApp.tap", "/ProgramFiles"));
  EXPECT_FALSE(IsFileTAP_Active("EchoApp.tap", "/ProgramFiles/-Tools"));
  EXPECT_EQ(windowShowing, 1);
  EXPECT_EQ(TAPManagerWindowCopy, nullptr);
  EXPECT_EQ(Named("EchoApp.tap")->playingNow, 1u);
  // Stop on a running application asks to stop it; No keeps it running.
  emu::HoldKey(RKEY_Stop, 0);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "TAP Stop Confirmation");
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(yesnoWindowShowing, 0);
  EXPECT_EQ(emu::RunningCount(), 2);
  // Ok on a running application asks to stop it instead of starting it again.
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(TAPManager_multistep, 0);
  ASSERT_EQ(yesnoWindowShowing, 1);
  EXPECT_STREQ(lastMessageTitle, "TAP Stop Confirmation");
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(emu::RunningCount(), 1);
  EXPECT_EQ(Named("EchoApp.tap")->playingNow, 0u);
  struct stat st;
  EXPECT_EQ(stat(HostPath("/ProgramFiles/stopped").c_str(), &st), 0);  // it had its stop request
  // Its information window has no Progress button: Left from OK wraps to Move.
  emu::HoldKey(RKEY_Info, 0);
  ASSERT_EQ(infoWindowShowing, 1);
  // The date is the file's: the row drawn again with it stays as it was.
  std::vector<uint32_t> window = emu::Frame();
  TAP_Osd_FillBox(rgn, 197, 175, 448, 24, 0xFF1E1E1E);
  PrintLeft(rgn, 197, 175, 645, "Sat, 21 Nov 2026 8:05pm", 0xFFFAFAFA, 0, 16);
  TAP_Osd_Sync();
  EXPECT_TRUE(emu::Frame() == window);
  // The row above it is labelled (the author's, not a channel).
  bool labelled = false;
  for (int y = 150; y < 170; y++)
    for (int x = 71; x < 187; x++)
      labelled |= window[y * OSD_WIDTH + x] != window[150 * OSD_WIDTH + 71];
  EXPECT_TRUE(labelled);
  // Nor a progress bar or its label below the size.
  const std::vector<uint32_t>& frame = emu::Frame();
  for (int y = 258; y < 269; y++)
    for (int x = 300; x < 567; x++)
      ASSERT_EQ(frame[y * OSD_WIDTH + x], frame[258 * OSD_WIDTH + 300]) << x << "," << y;
  emu::HoldKey(RKEY_VolDown, 0);
  EXPECT_EQ(infoCommandOption, 3);
  emu::HoldKey(RKEY_VolUp, 0);
  EXPECT_EQ(infoCommandOption, 0);
  emu::HoldKey(RKEY_Exit, 0);
  EXPECT_EQ(infoWindowShowing, 0);

  // Found by id: in the folder only, or in the folders below it too.
  remove(HostPath("/ProgramFiles/EchoApp.tap").c_str());
  GotoPath("/ProgramFiles");
  EXPECT_EQ(FindAndStartTAPID(0x12345678, "/ProgramFiles", 0), 0);
  GotoPath("/ProgramFiles");
  EXPECT_EQ(FindAndStartTAPID(0x12345678, "/ProgramFiles", 1), 1);
  EXPECT_STREQ(TAPManager_TAP_name, "Deep.tap");
  EXPECT_STREQ(TAPManager_TAP_directory, "/ProgramFiles/-Tools");
  EXPECT_EQ(TAPManager_multiphase, 3);
  RunStartAction();
  EXPECT_TRUE(IsFileTAP_Active("Deep.tap", "/ProgramFiles/-Tools"));

  // Leaving the view returns to /DataFiles; entering again selects the line
  // that was selected when it was left.
  int line = chosenLine;
  InvokeTAPManager();
  EXPECT_EQ(TAPManagerMode, 0);
  EXPECT_STREQ(CurrentDir, "/DataFiles");
  EXPECT_EQ(column2Width, nameColumn);
  InvokeTAPManager();
  EXPECT_EQ(chosenLine, line);

  // Play closes the list first, then starts the application.
  ASSERT_TRUE(HDD_TAP_Terminate(0x12345678));
  emu::Idle(2);
  ASSERT_EQ(emu::RunningCount(), 1);
  WriteAll(HostPath("/ProgramFiles/EchoApp.tap"),
           ReadAll(std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap"));
  InvokeTAPManager();
  InvokeTAPManager();
  for (int j = 1; j <= numberOfFiles; j++)
    if (FileSlot(CurrentDirNumber, j) == Named("EchoApp.tap")) chosenLine = j;
  emu::PressKey(RKEY_Play);
  EXPECT_EQ(TAPManager_multiphase, 2);
  RunStartAction();
  EXPECT_EQ(windowShowing, 0);
  EXPECT_EQ(emu::RunningCount(), 2);
  // An application gone when it is due to start: said in the log.
  snprintf(TAPManager_TAP_name, sizeof TAPManager_TAP_name, "Gone.tap");
  snprintf(TAPManager_TAP_directory, sizeof TAPManager_TAP_directory, "/ProgramFiles");
  TAPManager_StartTAP();
  EXPECT_NE(emu::NetOutput().find("TAPManager_StartTAP: Gone.tap could not be started"),
            std::string::npos);
  EXPECT_STREQ(TAPManager_TAP_name, "");
}

}  // namespace

namespace {

// BackgroundCopy found by id and started, the remote-control application's
// direct mode through a channel, and both absent.
TEST_F(ManagerTest, StartsBackgroundCopyAndSwitchesTheRemote) {
  OpenList();
  FindAndStartBGCTAP();
  EXPECT_STREQ(lastMessageTitle, "Error: 'bgc' TAP Not Found");
  EXPECT_EQ(TAPManager_multistep, 0);
  size_t blocks = emu::AllocatedBlocks();
  TMSRemoteDirectMode(true);  // nobody to switch: nothing happens
  EXPECT_EQ(emu::AllocatedBlocks(), blocks);

  ASSERT_EQ(mkdir(HostPath("/ProgramFiles/Copying").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(HostPath("/ProgramFiles/AutoStart").c_str(), 0755), 0);
  WriteAll(HostPath("/ProgramFiles/Copying/BackgroundCopy.tap"),
           ReadAll(std::string(PVR_PEER_DIR) + "/BackgroundCopy.tap"));
  WriteAll(HostPath("/ProgramFiles/AutoStart/RemoteControl.tap"),
           ReadAll(std::string(PVR_PEER_DIR) + "/RemoteControl.tap"));
  ASSERT_EQ(emu::LoadAutoStart(), 1) << emu::LastError();
  FindAndStartBGCTAP();
  EXPECT_STREQ(TAPManager_TAP_directory, "/ProgramFiles/Copying");
  RunStartAction();
  EXPECT_TRUE(HDD_TAP_isRunning(BACKGROUNDCOPY_ID));
  char folder[PATH_BUFFER_SIZE];
  HDD_TAP_GetCurrentDir(folder);
  EXPECT_STREQ(folder, "/DataFiles");  // the list's folder, not the application's
  EXPECT_EQ(windowShowing, 1);
  int messages = messageCount;
  FindAndStartBGCTAP();  // already running: nothing
  EXPECT_EQ(TAPManager_multistep, 0);
  EXPECT_EQ(messageCount, messages);

  blocks = emu::AllocatedBlocks();
  TMSRemoteDirectMode(true);
  TMSRemoteDirectMode(false);
  EXPECT_EQ(emu::AllocatedBlocks(), blocks);  // each channel closed at once
  std::string net = emu::NetOutput();
  EXPECT_NE(net.find("RemoteControl: direct mode on (from 0x800440FA)"), std::string::npos) << net;
  EXPECT_NE(net.find("RemoteControl: direct mode off (from 0x800440FA)"), std::string::npos);

  // The long key opens the view in AutoStart, its applications read from
  // their headers at every depth setting (0: all levels).
  for (int depth : {0, 1}) {
    DefaultRecursiveDepth = depth;
    InvokeTAPManager_AutoStart();
    EXPECT_STREQ(CurrentDir, "/ProgramFiles/AutoStart");
    ASSERT_NE(Named("RemoteControl.tap"), nullptr);
    EXPECT_EQ(Named("RemoteControl.tap")->appId, (dword)TMSREMOTE_ID) << depth;
    InvokeTAPManager();
  }
}

}  // namespace
