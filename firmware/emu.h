// emu.h - control of the emulated recorder, for the programs that host it
// (the recorder program, tests, benchmarks, tools). Applications never see
// this header: they talk to the firmware through tap.h only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tap.h"

namespace emu {

// An external drive: a separate mount with its own device name, seeded from a
// folder of the host when the recorder boots (changes live in the mount only).
struct ExternalDrive {
  std::string seedDir;               // host folder copied into the drive; may be empty
  std::string device = "/dev/sdb1";  // device name in /proc/mounts
  std::string mountPoint = "/mnt/sdb1";
  std::string dataFilesName = "USB";  // also reachable as /DataFiles/<name>; empty: not
  // Room on the drive in MB (its file system refuses more, as a full drive
  // does); 0: as much as the machine's memory allows.
  uint64_t sizeMB = 0;
  // statfs reports it as an NFS mount (file-system type 0x6969).
  bool nfs = false;
  // A host folder where the drive keeps its files on disk instead of in
  // memory: filled from the seed at boot and emptied at shutdown. Such a
  // drive has no size of its own (sizeMB must be 0).
  std::string onDiskDir;
};

struct Config {
  std::string diskDir;  // host folder that becomes /mnt/hd (created when missing)
  std::vector<ExternalDrive> drives;
  uint16_t systemId = 22010;         // TAP_GetSystemId
  uint64_t diskCapacityMB = 500000;  // TAP_Hdd_TotalSize
  bool utf8Firmware = true;          // the firmware offers its UTF-8 validation routine
  int idleTicks = 10;                // emulated ticks between two idle events
  bool realTime = false;             // Wait() also waits in real time (live front end)
  std::string netOutputFile;         // where the network output goes; empty: kept in memory only
  // TAP_Delay delivers an idle event to the running applications while the
  // caller is still inside its own handler, as the recorder may (re-entry).
  bool idleDuringDelay = false;
  // The video picture moves with the clock and RefreshScreen can show it
  // between syncs (live front end); off, frames depend on the syncs alone.
  bool livePicture = false;
  // A screen shows the frames. Without one (fuzz harnesses, which never look)
  // a sync composes nothing: Frame() keeps the picture of the boot.
  bool screen = true;
};

// Boots the emulated recorder: enters a private mount namespace (and a user
// namespace when not root), mounts the disk at /mnt/hd and the external
// drives, gives the namespace its own pseudo-terminals, and resets the
// firmware state. Returns false with a message in LastError() when the
// machine cannot give namespaces; nothing is started then. Call it while the
// process has a single thread; where that cannot be (a non-root process under
// qemu-user), start the process inside `unshare --user --map-root-user`.
// A process may boot again after Shutdown.
bool Boot(const Config& config);
const std::string& LastError();

// An application linked into the host program (tests): its header and entry
// points. The firmware treats it as if it had loaded it from `fileName` in
// /ProgramFiles.
struct LinkedApplication {
  const TYPE_TapHeader* header;
  int (*main)(void);
  dword (*eventHandler)(word, dword, dword);
  const char* fileName = "Pavrolinex.tap";
  // Optional init entry (`__TAP_Init_`); when given it fills the record's
  // TAP_Main and TAP_EventHandler instead of `main`/`eventHandler`.
  void (*init)(TYPE_TapTask*) = nullptr;
};

// Loads an application image (.tap) the way the recorder does: reads its
// header, takes a slot of the application table, calls its init entry and
// TAP_Main. Returns the table index, or -1. An application whose TAP_Main
// returns 0 is unloaded again (and its index is still returned).
int LoadApplication(const std::string& tapPath);
int StartLinkedApplication(const LinkedApplication& app);
// Loads every ".tap" file of /ProgramFiles/AutoStart in name order (byte
// order of the names), as the recorder does at boot; a file that already runs
// from there is skipped. Returns how many were loaded; LastError() then holds
// the reasons for the files that were refused ("" when none was).
int LoadAutoStart();
// Release images for the recorder's CPU (MIPS32 little-endian, uClibc-ng)
// run in the image host `program` (tools/image/taphost.c) under qemu-mipsel
// with the C library of `sysroot`, started inside the booted recorder; from
// then on LoadApplication, AutoStart and the applications' own starts load
// such images there. Shutdown stops it. False with LastError() when it
// cannot start.
bool StartImageHost(const std::string& program, const std::string& sysroot);
// An ELF image for the recorder's CPU (MIPS32 little-endian, 32-bit).
bool IsRecorderImage(const std::string& path);
bool IsRunning(int index);
int RunningCount();
struct RunningApplication {
  int index;         // slot of the application table
  dword id;          // the header's application id
  std::string name;  // the header's program name
  std::string path;  // the file it was loaded from
};
std::vector<RunningApplication> RunningApplications();  // in table order

// Sends the stop request (param1 = reason: 0 power, 1 user) to every running
// application, unloads them and leaves the namespace as it was.
void Shutdown(dword reason = 0);

// --- events: all of them run on the calling thread -------------------------
// A key as the remote sends it: a plain code is a whole press, the code and
// then its release (code | 0x2000000); a code that already carries flags (a
// held report, a release, an attached keyboard's character) goes alone.
// Returns what the last handler gave the first code.
dword PressKey(dword code);
// Delivers exactly one code to the running applications (and then to the
// firmware's own model when no application consumed it): a press without
// its release, for the few tests that need the halves apart.
dword SendKey(dword code);
void HoldKey(dword code, int repeats = 6);  // press, held reports, release
void ReleaseKey(dword code);
// Idle events, each advancing the clock. While a child process of this
// process runs (an application's background copy), an idle event waits in
// real time until the child ends or the event's ticks have passed since the
// previous one: the emulated clock never runs ahead of the child.
void Idle(int count = 1);
void Wait(double seconds);                                // emulated time with idle events
dword SendEvent(word event, dword param1, dword param2);  // to every application
// To the application in table slot `index` only (param1 when it is not running).
dword SendEventTo(int index, word event, dword param1, dword param2);

// Runs a script of the recorder program (see README): key names, hold:KEY,
// release:KEY, idle:N, wait:S, time:YYYY-MM-DDTHH:MM, snap:FILE.png,
// snapnext:FILE.png, state:S/SUB, osd:X,Y,W,H,AARRGGBB, osd:clear, key:CODE,
// unplug:DEVICE, plug:DEVICE;
// "#" starts a comment that runs to the end of its line.
// Returns false with a message in LastError() for an unknown word, and for a
// snapnext: whose frame never came or could not be written.
bool RunScript(const std::string& script);
// The code a remote of `remoteType` sends for a key (named by its code after
// the application's key translation): remotes of type 2 and 3 send other codes
// for some keys, which the application translates back.
dword RemoteCode(int remoteType, dword key);
// The remote of the recorder model whose keys scripts press by name (1, the
// default, sends the codes the names give).
void SetScriptRemoteType(int remoteType);

// Key code for a key name ("Ok", "FileList", "Blue", "0"...), case-insensitive;
// 0 when unknown.
dword KeyByName(const std::string& name);

// --- clock --------------------------------------------------------------------
// The local clock starts at 2025-06-01 20:00:00 on every boot; ticks at 0.
void SetClock(int year, int month, int day, int hour, int minute, int second = 0);
void InvalidateClock();  // TAP_GetTime reports no valid time until the next SetClock
dword Ticks();

// --- screen ------------------------------------------------------------------
// The last frame composed by TAP_Osd_Sync (720 x 576 ARGB, opaque).
const std::vector<uint32_t>& Frame();
uint64_t FrameCount();  // number of syncs so far
bool WritePng(const std::string& path);
// Composes the frame anew: the video picture of this moment under the display
// as the last sync left it (with livePicture; otherwise the last sync's
// frame stays). FrameCount does not change.
void RefreshScreen();
// Composes the whole frame from the display as it stands, every pixel, as a
// sync does when everything has changed: the reference that composing only
// the changed rectangles must equal. FrameCount does not change.
void ComposeWholeFrame();
bool AnyRegionOpen();  // an application region exists
// Frames held on screen: TAP_Delay keeps the display as it is for its delay,
// so what the application drew before it (a message shown for a fixed time)
// is seen although it is gone when the event ends. The observer is called as
// each delay begins, with its length in ticks, while Frame() is the frame
// held; it may let the delay pass in real time (the live front end
// publishes the frame and sleeps). Without an observer TAP_Delay waits in
// real time only with Config::realTime. An empty observer removes it; Boot
// and Shutdown do too.
using DelayObserver = std::function<void(dword ticks)>;
void SetDelayObserver(DelayObserver observer);
// The firmware's own display (plane 0): scripts put something there to test
// the application's guards.
void DrawFirmwareOsd(int x, int y, int w, int h, uint32_t argb);
void ClearFirmwareOsd();

// --- firmware state ------------------------------------------------------------
void SetState(dword state, dword subState);
// Hides a firmware internal until the next boot: the program's dlsym answers
// null for it, as on a firmware that lacks it.
void RemoveSymbol(const std::string& name);
std::string NetOutput();  // everything the applications wrote to the network output
void ClearNetOutput();    // forgets it (long runs that never look at it)
std::vector<dword> KeysGivenToFirmware();  // keys no application consumed
bool InNormalMode();                       // no application holds the screen (TAP_ExitNormal)
std::string ConsoleOutput();               // what the applications printed with TAP_Print

// --- memory ----------------------------------------------------------------------
size_t AllocatedBlocks();  // TAP_MemAlloc blocks not yet freed (all boots of the process)
size_t AllocatedBytes();   // the heap memory those blocks take, their headers included
// Lets only `count` more TAP_MemAlloc calls succeed (an exhausted heap); the
// following ones return null. A negative count, or the next boot, lifts the limit.
void LimitAllocations(long count);

// --- channels, playback, recording ------------------------------------------------
// Replaces the channel lists (the built-in lists have five TV and three radio
// services) and tunes to TV service 0.
void SetChannels(const std::vector<TYPE_TapChInfo>& tv, const std::vector<TYPE_TapChInfo>& radio);
// Fills recording slot 0..3 (TAP_Hdd_GetRecInfo); `systemPath` is the file the
// slot writes (shown in "_hddRecFiles" with its ".inf" and ".nav"); empty: none.
// While the slot records, its seconds count up with emulated time and an
// existing file grows by one second of playback blocks per second.
bool SetRecording(int slot, const TYPE_RecInfo& info, const std::string& systemPath = "");
void ClearRecording(int slot);
void SetTimers(const std::vector<TYPE_TimerInfo>& timers);  // TAP_Timer_GetInfo
// Shows or hides the picture-in-picture (TAP_Channel_IsStarted(0)); the
// next boot hides it.
void SetPictureInPicture(bool shown);
bool IsPlaying();
std::string PlayingPath();  // system path of the file playing; empty when none
bool PlaybackPaused();
bool Muted();  // Mute reached the firmware an odd number of times
// From now on TAP_Hdd_GetPlayInfo writes four zero bytes past the record, as a
// firmware with a longer record would; the caller must leave room for them.
void SetPlayInfoOverrun(bool on);

// --- external drives ---------------------------------------------------------------
// Pulls an external drive (by its device name) out, as when its cable comes
// loose: its mount point and its folder below /DataFiles are gone at once.
// Files a process still has open stay usable on the drive's side, and what
// reached the drive stays on it. False when no such drive is plugged in.
bool UnplugDrive(const std::string& device);
// Puts a pulled drive back in, with what it held, at its old places.
bool PlugDrive(const std::string& device);

// --- power cuts and other disk faults -------------------------------------------
// Simulates the recorder losing power part-way through: the next `changes`
// changes to the disk go through, every later one fails without touching the
// disk, until RestorePower. Changes are creating, writing, deleting and
// renaming files and folders through the firmware, renaming and linking
// through the system library (rename, link), which applications use to
// replace files and to name them without replacing any, and
// opening a file to write or append through it (fopen: the logs).
void CutPowerAfter(int changes);
void RestorePower();
bool PowerWasCut();  // a change was refused since CutPowerAfter
// A disk that fills up: the next `writes` writes (TAP_Hdd_Fwrite) store
// everything, the one after stores half of its bytes and every later one
// nothing, as writes that meet ENOSPC do; creating, deleting and renaming go
// on. RestorePower (and the next boot) gives the room back.
void FillDiskAfter(int writes);
bool DiskWasFull();  // a write was cut short since FillDiskAfter
// A disk that cannot be read: after the next `reads` reads (TAP_Hdd_Fread)
// every read fails (EIO) without data, until RestorePower.
void FailReadsAfter(int reads);
bool ReadFailed();  // a read failed since FailReadsAfter
// How often a file was synced (fsync through the system library) since the
// boot, by its path inside the recorder (/mnt/sdb1/Films/Film.rec.part).
int SyncCount(const std::string& path);

}  // namespace emu
