// The application table, event delivery and the internals looked up by name.
#include <dlfcn.h>
#include <string.h>

#include <string>
#include <vector>

#include "lib/lib.h"
#include "tap.h"
#include "testenv.h"

// A function of the same name as one in the EchoApp image.
extern "C" __attribute__((visibility("default"), used)) int EchoSharedName(void) { return 2; }

namespace fw {
bool RunsImagesOf(int machine, int elfClass);  // the firmware's own, for the image relay
}

namespace {

struct Seen {
  int task;  // _curTapTask during the call
  word event;
  dword param1;
};

std::vector<Seen> seen;
int mainResult = 1;
bool generateInHandler = false;
int depthInHandler = 0;
int maxDepth = 0;

dword CurrentTask() { return *static_cast<dword*>(TryResolve("_curTapTask")); }

int TestMain() {
  seen.push_back({static_cast<int>(CurrentTask()), 0xFFFF, 0});
  return mainResult;
}

dword TestHandler(word event, dword param1, dword) {
  depthInHandler++;
  maxDepth = std::max(maxDepth, depthInHandler);
  seen.push_back({static_cast<int>(CurrentTask()), event, param1});
  dword result = param1;
  if (event == EVT_KEY) {
    if (generateInHandler && param1 == RKEY_Ok) TAP_GenerateEvent(EVT_KEY, RKEY_Blue, RKEY_Blue);
    if (param1 == RKEY_Ok || param1 == RKEY_Blue) result = 0;
    if (param1 == RKEY_Exit) {
      TAP_Exit();
      result = 0;
    }
  }
  depthInHandler--;
  return result;
}

// A second application that consumes only Green.
dword GreenHandler(word event, dword param1, dword) {
  seen.push_back({static_cast<int>(CurrentTask()), static_cast<word>(event | 0x8000), param1});
  return event == EVT_KEY && param1 == RKEY_Green ? 0 : param1;
}
int GreenMain() { return 1; }

const TYPE_TapHeader kHeader = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                TAP_HEADER_VERSION,
                                0x800440FA,
                                TAP_API_VERSION,
                                0,
                                {0, 0},
                                "Test v1",
                                "tests",
                                "",
                                ""};
const TYPE_TapHeader kGreenHeader = {{'T', 'F', 'A', 'P', 'M', 'I', 'P', 'S'},
                                     TAP_HEADER_VERSION,
                                     0x8E0A42EF,
                                     TAP_API_VERSION,
                                     0,
                                     {0, 0},
                                     "Green v1",
                                     "tests",
                                     "",
                                     ""};

class AppsTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    seen.clear();
    mainResult = 1;
    generateInHandler = false;
    maxDepth = depthInHandler = 0;
  }
  int StartTest() { return emu::StartLinkedApplication({&kHeader, TestMain, TestHandler}); }
  int StartGreen() {
    return emu::StartLinkedApplication({&kGreenHeader, GreenMain, GreenHandler, "Green.tap"});
  }
  TYPE_TapTask* Table() { return static_cast<TYPE_TapTask*>(TryResolve("_tapTask")); }
};

TEST_F(AppsTest, LinkedApplicationGetsASlotAndItsFolder) {
  int index = StartTest();
  ASSERT_EQ(index, 0);
  EXPECT_TRUE(emu::IsRunning(0));
  EXPECT_EQ(emu::RunningCount(), 1);
  TYPE_TapTask& task = Table()[0];
  EXPECT_EQ(task.status, static_cast<dword>(TAPTASK_Running));
  EXPECT_EQ(task.id, 0x800440FAu);
  EXPECT_EQ(task.TAP_EventHandler, &TestHandler);
  ASSERT_NE(task.file, nullptr);
  EXPECT_STREQ(task.file->path, "/mnt/hd/ProgramFiles/Pavrolinex.tap");
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/ProgramFiles");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].task, 0);
  // The table holds sixteen; the seventeenth is refused with a reason.
  for (int i = 1; i < TAP_MAX_TASKS; i++) ASSERT_EQ(StartGreen(), i);
  EXPECT_EQ(StartGreen(), -1);
  EXPECT_NE(emu::LastError().find("table is full"), std::string::npos) << emu::LastError();
  EXPECT_EQ(emu::RunningCount(), TAP_MAX_TASKS);
}

void InitEntry(TYPE_TapTask* task) {
  task->TAP_Main = TestMain;
  task->TAP_EventHandler = TestHandler;
}

TEST_F(AppsTest, InitEntryFillsTheRecord) {
  ASSERT_EQ(emu::StartLinkedApplication({&kHeader, nullptr, nullptr, "Init.tap", InitEntry}), 0);
  EXPECT_EQ(Table()[0].TAP_Main, &TestMain);
  ASSERT_EQ(seen.size(), 1u);  // TAP_Main ran
  seen.clear();
  emu::SendKey(RKEY_Ok);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(AppsTest, MainReturningZeroUnloads) {
  mainResult = 0;
  EXPECT_EQ(StartTest(), 0);
  EXPECT_FALSE(emu::IsRunning(0));
  EXPECT_EQ(Table()[0].status, static_cast<dword>(TAPTASK_Free));
}

TEST_F(AppsTest, KeysGoInTableOrderUntilConsumed) {
  ASSERT_EQ(StartGreen(), 0);
  ASSERT_EQ(StartTest(), 1);
  seen.clear();
  EXPECT_EQ(emu::SendKey(RKEY_Green), 0u);  // the first application consumes it
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].task, 0);
  seen.clear();
  EXPECT_EQ(emu::SendKey(RKEY_Ok), 0u);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].task, 1);
  EXPECT_TRUE(emu::KeysGivenToFirmware().empty());
  EXPECT_EQ(emu::SendKey(RKEY_Menu), static_cast<dword>(RKEY_Menu));
  EXPECT_EQ(emu::KeysGivenToFirmware(), std::vector<dword>{RKEY_Menu});
}

TEST_F(AppsTest, GeneratedEventsArriveAfterTheHandlerReturns) {
  ASSERT_EQ(StartTest(), 0);
  generateInHandler = true;
  seen.clear();
  emu::SendKey(RKEY_Ok);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].param1, static_cast<dword>(RKEY_Ok));
  EXPECT_EQ(seen[1].param1, static_cast<dword>(RKEY_Blue));
  EXPECT_EQ(maxDepth, 1);  // never inside the Ok handler
}

TEST_F(AppsTest, HeldKeysReportPressHeldAndRelease) {
  ASSERT_EQ(StartTest(), 0);
  seen.clear();
  const dword down = RKEY_ChDown;
  emu::HoldKey(down, 3);
  std::vector<dword> keys;
  for (const Seen& s : seen) keys.push_back(s.param1);
  EXPECT_EQ(keys, (std::vector<dword>{down, down | RKEY_FLAG_HELD, down | RKEY_FLAG_HELD,
                                      down | RKEY_FLAG_HELD, down | RKEY_FLAG_RELEASED}));
}

TEST_F(AppsTest, IdleReachesEveryApplication) {
  ASSERT_EQ(StartTest(), 0);
  ASSERT_EQ(StartGreen(), 1);
  seen.clear();
  emu::Idle(2);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].event, EVT_IDLE);
  EXPECT_EQ(seen[1].event, EVT_IDLE | 0x8000);
  EXPECT_EQ(seen[1].task, 1);
}

TEST_F(AppsTest, ExitUnloadsAfterTheEvent) {
  ASSERT_EQ(StartTest(), 0);
  EXPECT_EQ(emu::PressKey(RKEY_Exit), 0u);
  EXPECT_FALSE(emu::IsRunning(0));
  seen.clear();
  emu::Idle(1);
  EXPECT_TRUE(seen.empty());
}

TEST_F(AppsTest, ShutdownSendsTheStopRequest) {
  ASSERT_EQ(StartTest(), 0);
  seen.clear();
  emu::Shutdown(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].event, EVT_STOP);
  EXPECT_EQ(seen[0].param1, 1u);
  EXPECT_EQ(emu::RunningCount(), 0);
}

TEST_F(AppsTest, HookedHandlerInTheTableReceivesTheEvents) {
  ASSERT_EQ(StartGreen(), 0);
  // An application may replace its own handler in the table (key translation).
  Table()[0].TAP_EventHandler = TestHandler;
  seen.clear();
  emu::SendKey(RKEY_Ok);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].event, EVT_KEY);
}

int delaysInHandler = 0;
dword DelayingHandler(word event, dword param1, dword) {
  seen.push_back({static_cast<int>(CurrentTask()), event, param1});
  if (event == EVT_KEY && delaysInHandler-- > 0) TAP_Delay(5);
  return param1;
}

class ReentryTest : public RecorderTest {
  void Configure(emu::Config& config) override { config.idleDuringDelay = true; }
};

TEST_F(ReentryTest, DelayInsideAHandlerDeliversIdleEvents) {
  seen.clear();
  delaysInHandler = 1;
  ASSERT_EQ(emu::StartLinkedApplication({&kHeader, TestMain, DelayingHandler}), 0);
  emu::SendKey(RKEY_Ok);
  ASSERT_EQ(seen.size(), 3u);  // main, key, idle inside the key
  EXPECT_EQ(seen[1].event, EVT_KEY);
  EXPECT_EQ(seen[2].event, EVT_IDLE);
}

TEST_F(AppsTest, EventsToOneApplication) {
  ASSERT_EQ(StartTest(), 0);
  ASSERT_EQ(StartGreen(), 1);
  seen.clear();
  EXPECT_EQ(emu::SendEventTo(1, EVT_TAPCOM, 5, 6), 5u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].task, 1);
  EXPECT_EQ(emu::SendEventTo(7, EVT_TAPCOM, 5, 6), 5u);
  // A delay outside the re-entry setting delivers nothing.
  seen.clear();
  TAP_Delay(10);
  EXPECT_TRUE(seen.empty());
}

TEST_F(AppsTest, StateAndNormalMode) {
  dword state = 9, sub = 9;
  TAP_GetState(&state, &sub);
  EXPECT_EQ(state, 0u);
  EXPECT_EQ(sub, 31u);
  emu::SetState(STATE_Menu, SUBSTATE_PhotoAlbum);
  TAP_GetState(&state, &sub);
  EXPECT_EQ(state, 1u);
  EXPECT_EQ(sub, 98u);
  EXPECT_TRUE(emu::InNormalMode());
  TAP_ExitNormal();
  EXPECT_FALSE(emu::InNormalMode());
  TAP_EnterNormal();
  EXPECT_TRUE(emu::InNormalMode());
  EXPECT_EQ(TAP_GetSystemId(), 22010);
}

TEST_F(AppsTest, SymbolsResolveUntilRemoved) {
  for (const char* name :
       {"_tapTask", "_curTapTask", "_hddTapFolder", "_isAnalogMode", "_hddRecFiles", "_hddPlayFile",
        "_Z26Appl_GetAnalogEncoderStatev", "_Z23Appl_AnalogChangeActionv",
        "_Z25Appl_SetAnalogEncoderModeh", "_Z23Appl_StartPlaybackMediaPKcjbb",
        "_Z22ApplHdd_SaveWorkFolderv", "_Z25ApplHdd_RestoreWorkFolderv",
        "_Z21ApplHdd_SetWorkFolderPv", "_Z20ApplHdd_SelectFolderPvPKc", "_hddDivxFolder",
        "_Z26Appl_ConvertToValidUTF8StrPhi", "PvrTimeToLinux"}) {
    EXPECT_NE(TryResolve(name), nullptr) << name;
  }
  EXPECT_EQ(TryResolve("NoSuchSymbol"), nullptr);
  EXPECT_EQ(TryResolve(nullptr), nullptr);
  // The UTF-8 repair keeps plain and whole characters, marks broken ones.
  auto repair = reinterpret_cast<void (*)(unsigned char*, int)>(
      TryResolve("_Z26Appl_ConvertToValidUTF8StrPhi"));
  unsigned char text[] = "a\xC3\xA4 \xC3z";
  repair(text, 0);
  EXPECT_STREQ(reinterpret_cast<char*>(text), "a\xC3\xA4 ?z");
  emu::RemoveSymbol("_isAnalogMode");
  EXPECT_EQ(TryResolve("_isAnalogMode"), nullptr);
  EXPECT_NE(TryResolve("_tapTask"), nullptr);
}

class NoUtf8Test : public RecorderTest {
  void Configure(emu::Config& config) override { config.utf8Firmware = false; }
};

TEST_F(NoUtf8Test, FirmwareWithoutUtf8RoutineHasNoSymbol) {
  EXPECT_EQ(TryResolve("_Z26Appl_ConvertToValidUTF8StrPhi"), nullptr);
}

TEST_F(AppsTest, MemoryBlocksAreCounted) {
  size_t before = emu::AllocatedBlocks();
  void* a = TAP_MemAlloc(100);
  void* b = TAP_MemAlloc(0);
  EXPECT_EQ(emu::AllocatedBlocks(), before + 2);
  // A block that fills 8 KB with its header takes 8 KB, not the next size.
  size_t bytes = emu::AllocatedBytes();
  void* whole = TAP_MemAlloc(8192 - 16);
  EXPECT_EQ(emu::AllocatedBytes(), bytes + (sizeof(void*) == 8 ? 8192 : 8192 - 16 + 8));
  TAP_MemFree(whole);
  EXPECT_EQ(TAP_MemFree(a), 1);
  EXPECT_EQ(TAP_MemFree(b), 1);
  int local = 0;
  EXPECT_EQ(TAP_MemFree(&local), 0);  // not from the heap: refused
  EXPECT_EQ(TAP_MemFree(nullptr), 0);
  EXPECT_EQ(emu::AllocatedBlocks(), before);
}

class LoaderTest : public RecorderTest {
 protected:
  std::string tap_ = std::string(PVR_TEST_TAP_DIR) + "/EchoApp.tap";
};

TEST_F(LoaderTest, LoadsAnImageAndRunsIt) {
  int index = emu::LoadApplication(tap_);
  ASSERT_EQ(index, 0) << emu::LastError();
  TYPE_TapTask* table = static_cast<TYPE_TapTask*>(TryResolve("_tapTask"));
  EXPECT_EQ(table[0].id, 0x12345678u);
  EXPECT_NE(table[0].TAP_EventHandler, nullptr);
  // A whole press: the key, then its release.
  EXPECT_EQ(emu::PressKey(RKEY_Ok), 0u);
  EXPECT_EQ(emu::SendKey(RKEY_Menu), static_cast<dword>(RKEY_Menu));
  EXPECT_EQ(emu::NetOutput(),
            "EchoApp: started\nEchoApp: key 1001e\nEchoApp: key 201001e\nEchoApp: key 1001c\n");
  emu::Shutdown(0);
  EXPECT_TRUE(testenv::Exists(HostPath("/ProgramFiles/stopped")));
}

TEST_F(LoaderTest, StartApplicationLoadsFromTheCurrentFolder) {
  ASSERT_TRUE(testenv::WriteFile(HostPath("/DataFiles/Echo.tap"), testenv::ReadFile(tap_)));
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  EXPECT_EQ(TAP_StartApplication("Missing.tap"), -1);
  int index = TAP_StartApplication("Echo.tap");
  ASSERT_EQ(index, 0) << emu::LastError();
  TYPE_TapTask* table = static_cast<TYPE_TapTask*>(TryResolve("_tapTask"));
  EXPECT_STREQ(table[0].file->path, "/mnt/hd/DataFiles/Echo.tap");
  // Its work folder is the one its file lies in.
  EXPECT_STREQ(static_cast<char**>(TryResolve("_hddTapFolder"))[0], "/mnt/hd/DataFiles");
}

TEST_F(LoaderTest, ExitInsideAMessageUnloadsOnlyAfterTheCall) {
  std::string image = testenv::ReadFile(tap_);
  testenv::WriteFile(HostPath("/ProgramFiles/Echo.tap"), image);
  testenv::WriteFile(HostPath("/ProgramFiles/Other.tap"), image);
  ASSERT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/Echo.tap")), 0) << emu::LastError();
  // A message as another application's library sends it: straight into the
  // handler, with the current task switched.
  TYPE_TapTask* table = static_cast<TYPE_TapTask*>(TryResolve("_tapTask"));
  dword* current = static_cast<dword*>(TryResolve("_curTapTask"));
  *current = 0;
  EXPECT_EQ(table[0].TAP_EventHandler(EVT_TAPCOM, 1, 0), 0xE0u);
  EXPECT_TRUE(emu::IsRunning(0));
  EXPECT_TRUE(emu::IsRunning(1));
  emu::Idle(1);
  EXPECT_FALSE(emu::IsRunning(0));
  EXPECT_TRUE(emu::IsRunning(1));
}

TEST_F(LoaderTest, ImageKeepsItsOwnFunctionsAgainstTheProgramsNames) {
  ASSERT_EQ(emu::LoadApplication(tap_), 0) << emu::LastError();
  TYPE_TapTask* table = static_cast<TYPE_TapTask*>(TryResolve("_tapTask"));
  auto calls = reinterpret_cast<int (*)()>(dlsym(table[0].image, "EchoCallsSharedName"));
  ASSERT_NE(calls, nullptr);
  EXPECT_EQ(calls(), 1);  // not this program's EchoSharedName
}

TEST_F(LoaderTest, RefusingApplicationIsUnloaded) {
  testenv::WriteFile(HostPath("/ProgramFiles/refuse"), "");
  EXPECT_EQ(emu::LoadApplication(tap_), 0);
  EXPECT_EQ(emu::RunningCount(), 0);
}

TEST_F(LoaderTest, ForeignFilesAreRefused) {
  testenv::WriteFile(HostPath("/ProgramFiles/junk.tap"), "not an image");
  EXPECT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/junk.tap")), -1);
  EXPECT_NE(emu::LastError().find("not an ELF file"), std::string::npos) << emu::LastError();
  EXPECT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/none.tap")), -1);
  ASSERT_TRUE(testenv::WriteFile(HostPath("/ProgramFiles/folder.tap/inside"), ""));
  EXPECT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/folder.tap")), -1);
  EXPECT_NE(emu::LastError().find("not a file"), std::string::npos) << emu::LastError();
  // A damaged application header, and an image for another machine.
  std::string image = testenv::ReadFile(tap_);
  std::string damaged = image;
  size_t header = damaged.find(TAP_HEADER_MAGIC);
  ASSERT_NE(header, std::string::npos);
  damaged[header + 4] = 'X';
  testenv::WriteFile(HostPath("/ProgramFiles/damaged.tap"), damaged);
  EXPECT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/damaged.tap")), -1);
  EXPECT_NE(emu::LastError().find("damaged application header"), std::string::npos)
      << emu::LastError();
  std::string foreign = image;
  foreign[18] = static_cast<char>(foreign[18] == 8 ? 62 : 8);  // e_machine: MIPS or x86-64
  testenv::WriteFile(HostPath("/ProgramFiles/foreign.tap"), foreign);
  EXPECT_EQ(emu::LoadApplication(HostPath("/ProgramFiles/foreign.tap")), -1);
  EXPECT_NE(emu::LastError().find("built for another machine"), std::string::npos)
      << emu::LastError();
  EXPECT_EQ(emu::RunningCount(), 0);
  // What the image relay asks before it sends an image on: the machine and
  // class of the images this recorder runs.
  auto machine = [](const std::string& elf) { return (elf[19] & 0xFF) << 8 | (elf[18] & 0xFF); };
  EXPECT_TRUE(fw::RunsImagesOf(machine(image), image[4]));
  EXPECT_FALSE(fw::RunsImagesOf(machine(foreign), image[4]));
  EXPECT_FALSE(fw::RunsImagesOf(machine(image), image[4] == 1 ? 2 : 1));
}

TEST_F(LoaderTest, AutoStartLoadsInNameOrderAndExecProgramStartsFromTheWorkFolder) {
  std::string image = testenv::ReadFile(tap_);
  testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/b.tap"), image);
  testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/A.tap"), image);
  testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/c.tap"), "not an image");
  testenv::WriteFile(HostPath("/ProgramFiles/AutoStart/notes.txt"), "");
  EXPECT_EQ(emu::LoadAutoStart(), 2);
  EXPECT_NE(emu::LastError().find("c.tap"), std::string::npos) << emu::LastError();
  std::vector<std::string> order;
  for (const emu::RunningApplication& app : emu::RunningApplications()) order.push_back(app.path);
  EXPECT_EQ(order, (std::vector<std::string>{"/mnt/hd/ProgramFiles/AutoStart/A.tap",
                                             "/mnt/hd/ProgramFiles/AutoStart/b.tap"}));
  EXPECT_EQ(emu::LoadAutoStart(), 0);  // running already

  auto select =
      reinterpret_cast<dword (*)(void*, const char*)>(TryResolve("_Z20ApplHdd_SelectFolderPvPKc"));
  auto setWork = reinterpret_cast<void (*)(void*)>(TryResolve("_Z21ApplHdd_SetWorkFolderPv"));
  auto exec = reinterpret_cast<bool (*)(char*)>(TryResolve("_Z16Appl_ExecProgramPc"));
  ASSERT_TRUE(select && setWork && exec);
  testenv::WriteFile(HostPath("/ProgramFiles/Tools/Echo.tap"), image);
  dword folder[4];
  ASSERT_EQ(select(folder, "mnt/hd/ProgramFiles/Tools"), 0u);
  setWork(folder);
  char name[] = "Echo.tap", missing[] = "none.tap", escape[] = "../AutoStart/b.tap";
  EXPECT_FALSE(exec(missing));
  EXPECT_FALSE(exec(escape));
  EXPECT_TRUE(exec(name));
  ASSERT_EQ(emu::RunningCount(), 3);
  EXPECT_EQ(emu::RunningApplications()[2].path, "/mnt/hd/ProgramFiles/Tools/Echo.tap");
  EXPECT_EQ(emu::RunningApplications()[2].name, "EchoApp v1");
  EXPECT_EQ(select(nullptr, "mnt/hd"), 1u);  // no record to fill
  EXPECT_EQ(select(folder, nullptr), 1u);
  ASSERT_EQ(select(folder, "etc"), 0u);
  setWork(folder);
  EXPECT_FALSE(exec(name));

  // A new boot forgets the work folders saved before it: restoring then
  // leaves the folder set since, even where a new selection took the old
  // record's number.
  auto save = reinterpret_cast<void (*)()>(TryResolve("_Z22ApplHdd_SaveWorkFolderv"));
  auto restore = reinterpret_cast<void (*)()>(TryResolve("_Z25ApplHdd_RestoreWorkFolderv"));
  ASSERT_EQ(select(folder, "mnt/hd/ProgramFiles"), 0u);
  setWork(folder);
  save();
  emu::Shutdown(0);
  ASSERT_TRUE(emu::Boot(config_)) << emu::LastError();
  dword first[4], tools[4];
  ASSERT_EQ(select(first, "mnt/hd/ProgramFiles"), 0u);
  ASSERT_EQ(select(tools, "mnt/hd/ProgramFiles/Tools"), 0u);
  setWork(tools);
  restore();
  EXPECT_TRUE(exec(name)) << emu::LastError();
}

// An image needs TAP_Main and its handler together, or an init entry.
TEST_F(LoaderTest, AnImageNeedsItsMainAndHandlerOrAnInitEntry) {
  std::string dir = PVR_TEST_TAP_DIR;
  EXPECT_EQ(emu::LoadApplication(dir + "/MainOnlyApp.tap"), -1);
  EXPECT_NE(emu::LastError().find("exports no entry points"), std::string::npos)
      << emu::LastError();
  EXPECT_EQ(emu::LoadApplication(dir + "/NoInitApp.tap"), 0) << emu::LastError();
  EXPECT_EQ(emu::RunningCount(), 1);
}

}  // namespace
