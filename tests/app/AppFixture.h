// A recorder with Pavrolinex linked in and started, for the spine's tests.
#pragma once

#include <string>

#include "actions/actions.h"
#include "app/app.h"
#include "apps/apps.h"
#include "catalogue/History.h"
#include "catalogue/catalogue.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "emu.h"
#include "tap.h"
#include "testenv.h"
#include "ui/Dialogs.h"
#include "ui/Keyboard.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"
#include "ui/Text.h"

extern "C" const TYPE_TapHeader _tap_header;

class AppTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    if (HasFatalFailure()) return;
    emu::SetClock(2026, 12, 7, 20, 15, 30);
    BeforeStart();
    index_ = emu::StartLinkedApplication({&_tap_header, TAP_Main, TAP_EventHandler});
    ASSERT_GE(index_, 0) << emu::LastError();
    ASSERT_TRUE(emu::IsRunning(index_));
  }
  // Runs after the boot and before the application starts.
  virtual void BeforeStart() {}

  std::string LogPath(const std::string& name = "Pavrolinex.log") const {
    return HostPath("/ProgramFiles/Settings/Pavrolinex/Logs/" + name);
  }

  int index_ = -1;
};
