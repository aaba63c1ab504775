// internal.h - state shared by the parts of the emulated recorder. Hosts use
// emu.h; applications use tap.h; nothing outside firmware/ includes this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emu.h"
#include "tap.h"

namespace fw {

extern emu::Config config;
extern bool booted;
void SetError(const std::string& message);

// --- time (time.cpp) -----------------------------------------------------------
void ResetClock();
void AdvanceTicks(dword ticks);
int64_t LocalNow();  // seconds since 1970-01-01 00:00 of the emulated local clock
dword PackStamp(int64_t localSeconds);
int64_t UnpackStamp(dword stamp);

// --- disk (disk.cpp) -------------------------------------------------------------
// The firmware root "/" is the system folder "/mnt/hd"; a folder is kept as
// "/mnt/hd" followed by its firmware path ("/mnt/hd/" for the root).
inline constexpr const char* kDiskRoot = "/mnt/hd";
void ResetDisk();
void SetTaskFolder(int index, const std::string& systemFolder);
std::string TaskFolder();  // the running application's folder, system path
// Resolves a firmware name (absolute, or relative to the current folder; "."
// and ".." components allowed) into a system path below /mnt/hd; empty when it
// would leave the disk.
std::string ResolveName(const char* name);
std::string FirmwareFolderOf(const std::string& systemPath);
TYPE_File* OpenSystemFile(const std::string& systemPath, bool create);

// --- power cuts (power.cpp) -------------------------------------------------------
void ResetPower();
void ResetSyncs();
// Counts one change to the disk; false once the power is cut (nothing may change).
// Whether this program loads images of ELF `machine` and `elfClass` itself.
bool RunsImagesOf(int machine, int elfClass);
bool DiskChangeAllowed();
// How many of `want` bytes a write may store: all, unless the disk was made
// full (emu::FillDiskAfter).
uint64_t WriteRoom(uint64_t want);
// Counts one read; false when reads fail (emu::FailReadsAfter).
bool ReadAllowed();

// --- display (osd.cpp, png.cpp) ---------------------------------------------------
void ResetOsd();
// TAP_Delay is about to keep the screen as it is for `ticks`: the frame held
// goes to the observer and to a waiting snapnext:.
void HoldFrame(dword ticks);
// Writes the frame that the next TAP_Delay holds on screen to `path` as PNG
// (the script word snapnext:). False with a message (SetError) when an
// earlier one still waits for its frame.
bool SnapNextHeldFrame(const std::string& path);
// False with a message (SetError) when a snapnext: still waits for a delay,
// or its frame could not be written; either way it is forgotten.
bool HeldSnapDone();
void DrawText(uint32_t* pixels, int stride, int width, int height, int x, int y, const char* text,
              uint32_t color, int scale);
bool DecodeJpeg(const void* data, size_t size, std::vector<uint32_t>& argb, int& width,
                int& height);

// --- applications and events (apps.cpp, events.cpp) -------------------------------
void ResetApps();
void ResetEvents();
void IdleInsideDelay();
int CurrentTask();
int CallDepth();
void RequestExit(int index);
int LoadImage(const std::string& path);
dword CallHandler(int index, word event, dword param1, dword param2);
void UnloadPendingApps();
void UnloadAll();

// --- channels, playback, recording (channels.cpp) ---------------------------------
void ResetChannels();
void SetRecordingFiles(int slot, const std::string& systemPath);
void AdvancePlayback(dword ticks);
const char* PlayingName();  // what the video layer shows
bool PlayMedia(const std::string& systemPath);
void FirmwareKey(dword key);  // the firmware's own reaction to a key

// --- internals by name (symbols.cpp) ----------------------------------------------
// The recorder's program exports these under the firmware's own symbol names;
// applications find them with dlsym on the running program, never by linking
// to them, so an application's own globals of the same names stay its own.
extern TYPE_TapTask tapTask[TAP_MAX_TASKS] __asm__("_tapTask");
extern dword curTapTask __asm__("_curTapTask");
extern char* hddTapFolder[TAP_MAX_TASKS] __asm__("_hddTapFolder");
extern TYPE_File* hddRecFiles[4][3] __asm__("_hddRecFiles");
extern TYPE_File* hddPlayFile __asm__("_hddPlayFile");
dword PvrTimeToLinux(dword stamp) __asm__("PvrTimeToLinux");
void ResetSymbols();

// --- system side (syslib.cpp) -----------------------------------------------------
// Binds busybox over the shell utilities inside the namespace (a note on
// stderr when it cannot). Its `date` sees the recorder's system clock, which
// starts on 1 January 1970 at boot and runs with the emulated ticks.
void BindUserland();
// Tells the userland's clock the emulated seconds since boot.
void PublishUptime(int64_t seconds);
// Before an idle event: while a child process of the applications runs, the
// emulated clock runs no faster than the real one.
void KeepPaceWithChildren();

// --- network output (boot.cpp) ------------------------------------------------------
void DrainNet();

// --- the image host (relay.cpp) -----------------------------------------------------
// An image for the recorder's CPU, loaded into the image host: its header
// (a copy) and the entries that forward to it.
struct HostedImage {
  const TYPE_TapHeader* header;
  int (*main)(void);
  dword (*handler)(word, dword, dword);
};
bool HostRunning();
bool HostHasChildren();  // a child process of the host (an application's) runs
// The host runs and `path` is an image for the recorder's CPU.
bool IsHostImage(const std::string& path);
// Loads the image into the host for table slot `slot`; false with a message
// (SetError) when the host refuses it.
bool LoadHosted(int slot, const std::string& path, HostedImage& image);
void UnloadHosted(int slot);
void StopImageHost();
byte AnalogModeFlag();  // "_isAnalogMode"

// --- memory (memory.cpp) ---------------------------------------------------------------
void ResetMemory();

}  // namespace fw
