// Every window takes a key the way a remote sends it: a press, held reports
// while the key stays down, then the release. A whole press acts once, a
// long press acts once, and a release alone changes nothing on screen.
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "BrowseFixture.h"
#include "config/ConfigMenu.h"
#include "ui/FirmwareCheck.h"

namespace {

long FrameHash() {
  std::vector<uint32_t> frame = emu::Frame();
  return (long)std::hash<std::string>()(std::string((const char*)frame.data(), frame.size() * 4));
}

class PressTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    BrowseTest::BuildDisk();
    // Applications for the manager view; MovieCutter also runs for its window.
    for (const char* name : {"MovieCutter", "Tagsmith", "RemoteControl"}) {
      ASSERT_TRUE(
          testenv::WriteFile(HostPath(std::string("/ProgramFiles/") + name + ".tap"),
                             testenv::ReadFile(std::string(PVR_PEER_DIR) + "/" + name + ".tap")));
    }
  }

  // One window: how it opens from the list, whether it shows, the key tried
  // in it and a number that key changes. `onRelease` keys act on the release.
  struct Row {
    const char* name;
    std::function<void()> open;
    std::function<bool()> showing;
    dword key;
    std::function<long()> probe;
    bool onRelease = false;
  };

  // Presses and releases `row.key` in the forms a remote sends and checks
  // that the key acts once, on the form it acts on.
  void Walk(const Row& row) {
    SCOPED_TRACE(row.name);
    if (!row.showing()) row.open();
    ASSERT_TRUE(row.showing());
    for (int held : {0, 6}) {
      SCOPED_TRACE(held ? "long press" : "whole press");
      if (!row.showing()) row.open();
      ASSERT_TRUE(row.showing());
      long before = row.probe();
      std::vector<uint32_t> frame = emu::Frame();
      emu::ReleaseKey(row.key);
      EXPECT_EQ(row.probe(), before) << "a release alone acted";
      EXPECT_TRUE(emu::Frame() == frame) << "a release alone changed the screen";

      emu::SendKey(row.key);
      long pressed = row.probe();
      if (row.onRelease) {
        EXPECT_EQ(pressed, before) << "the press acted";
      } else {
        EXPECT_NE(pressed, before) << "the press did not act";
      }
      frame = emu::Frame();
      for (int i = 0; i < held; i++) emu::SendKey(row.key | RKEY_FLAG_HELD);
      EXPECT_EQ(row.probe(), pressed) << "a held report acted";
      EXPECT_TRUE(emu::Frame() == frame) << "a held report changed the screen";
      emu::ReleaseKey(row.key);
      if (row.onRelease) {
        EXPECT_NE(row.probe(), pressed) << "the release did not act";
      } else {
        EXPECT_EQ(row.probe(), pressed) << "the release acted again";
        EXPECT_TRUE(emu::Frame() == frame) << "the release changed the screen";
      }
    }
  }

  // Exit until the list alone shows.
  void Back() {
    auto over = [] {
      return yesnoWindowShowing || MessageWindowShowing || moveWindowShowing || infoWindowShowing ||
             configWindowShowing || creditsShowing || checkFirmwareDatShowing ||
             allrecycleWindowShowing || quembryHelpWindowShowing || keyboardWindowShowing ||
             stopmenuWindowShowing;
    };
    for (int i = 0; i < 5 && over(); i++) emu::PressKey(RKEY_Exit);
    ASSERT_FALSE(over());
    ASSERT_EQ(windowShowing, 1);
  }

  void OnFile() {
    if (windowShowing) Back();
    OpenList();
    SelectByKeys("Show 03.rec");
  }

  long Count(const std::string& what) {
    std::string net = emu::NetOutput();
    long n = 0;
    for (size_t at = net.find(what); at != std::string::npos; at = net.find(what, at + 1)) n++;
    return n;
  }
};

TEST_F(PressTest, EveryWindowActsOncePerPress) {
  // The list and what a key in it could set off besides the window tried.
  auto list = [&] { return 1000L * windowShowing + 100L * emu::IsPlaying() + yesnoWindowShowing; };
  auto openStopMenu = [&] {
    if (TAPManagerMode) InvokeTAPManager();
    StopPlaybackOption = 2;
    OnFile();
    emu::PressKey(RKEY_Ok);
    emu::Wait(2);
    emu::PressKey(RKEY_Stop);
    emu::Idle(5);
  };
  const Row rows[] = {
      {"list", [&] { OnFile(); }, [] { return windowShowing == 1; }, RKEY_ChDown,
       [] { return (long)chosenLine; }},
      {"yes/no", [&] { OnFile(), emu::PressKey(RKEY_Blue); },
       [] { return yesnoWindowShowing == 1; }, RKEY_VolDown, [] { return (long)YesNoOption; }},
      {"message", [] { DisplayMessageWindow("Title", "Line", "", ReturnFromMessageWindow); },
       [] { return MessageWindowShowing == 1; }, RKEY_Ok,
       [&] { return 10000L * MessageWindowShowing + list(); }},
      {"move", [&] { OnFile(), emu::PressKey(RKEY_Yellow); }, [] { return moveWindowShowing == 1; },
       RKEY_ChDown, [] { return (long)chosenFolderLine; }},
      {"keyboard", [&] { OnFile(), emu::PressKey(RKEY_Option); },
       [] { return keyboardWindowShowing == 1 && !keyboardQuickListWindowShowing; }, RKEY_Red,
       [] { return (long)strlen(currentString); }},
      {"quick list", [] { emu::PressKey(RKEY_Teletext); },
       [] { return keyboardQuickListWindowShowing == 1; }, RKEY_ChDown,
       [] { return (long)chosenQuickListLine; }},
      {"information", [&] { Back(), OnFile(), emu::PressKey(RKEY_Info); },
       [] { return infoWindowShowing == 1 && !keyboardWindowShowing; }, RKEY_ChDown, [] { return (long)chosenLine; }},
      {"configuration", [&] { Back(), emu::PressKey(RKEY_Menu); },
       [] { return configWindowShowing == 1 && !creditsShowing; }, RKEY_ChDown,
       [] { return (long)chosenConfigLine; }},
      {"credits", [] { emu::PressKey(RKEY_Info); }, [] { return creditsShowing == 1; }, RKEY_Exit,
       [] { return 10L * creditsShowing + configWindowShowing; }},
      // 0 shows and hides the text test.
      {"firmware check", [&] { Back(), CheckFirmwareDat(); },
       [] { return checkFirmwareDatShowing == 1; }, RKEY_0, [] { return FrameHash(); }},
      {"help", [&] { Back(), emu::PressKey(RKEY_AudioTrk); },
       [] { return quembryHelpWindowShowing == 1; }, RKEY_AudioTrk,
       [&] { return 10000L * quembryHelpWindowShowing + list(); }},
      {"status screen", [] { emu::PressKey(RKEY_Sleep); },
       [] { return quembryHelpWindowShowing == 1; }, RKEY_Sleep,
       [&] { return 10000L * quembryHelpWindowShowing + list(); }, true},
      {"all recycle bins",
       [] {
         if (!recycleWindowMode) emu::PressKey(RKEY_Recall);
         emu::PressKey(RKEY_Option);
       },
       [] { return allrecycleWindowShowing == 1; }, RKEY_Exit,
       [] { return 10L * allrecycleWindowShowing + recycleWindowMode; }},
      {"manager view",
       [&] {
         if (recycleWindowMode) emu::PressKey(RKEY_Recall);
         InvokeTAPManager();
       },
       [] { return TAPManagerMode == 1 && windowShowing == 1; }, RKEY_ChDown,
       [] { return (long)chosenLine; }},
      {"stop menu", openStopMenu, [] { return stopmenuWindowShowing == 1; }, RKEY_ChDown,
       [] { return (long)chosenStopMenuLine; }},
      // Its first entry stops the playback.
      {"stop menu's OK",
       [&] {
         if (!stopmenuWindowShowing) openStopMenu();
         while (chosenStopMenuLine > 1) emu::PressKey(RKEY_ChUp);
       },
       [] { return stopmenuWindowShowing == 1 && chosenStopMenuLine == 1; }, RKEY_Ok,
       [] { return 10L * stopmenuWindowShowing + emu::IsPlaying(); }, true},
      {"another application's window",
       [&] {
         OnFile();
         emu::PressKey(RKEY_Ok);
         emu::PressKey(RKEY_Menu);
       },
       [&] { return Count("MovieCutter: menu") > 0 && emu::IsPlaying(); }, RKEY_5,
       [&] { return Count("MovieCutter: entry 5"); }},
  };
  ASSERT_GE(emu::LoadApplication(HostPath("/ProgramFiles/MovieCutter.tap")), 0) << emu::LastError();
  for (const Row& row : rows) {
    Walk(row);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
