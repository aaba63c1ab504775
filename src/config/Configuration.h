// The settings file Skerrowby.ini and the settings folder that holds it and the
// viewing history. The settings themselves and their shadow copies are in
// config/Settings.h.
#pragma once

#include "tap.h"

#define INI_FILE_NAME "Skerrowby.ini"
#define INI_FILE_SIZE 1024
#define INI_FILE_HEADER "Pavrolinex v5.1d"
#define INI_FOLDER "/ProgramFiles/Settings/Pavrolinex"
#define LOGO_FOLDER "/ProgramFiles/Settings/Logos"

// Firmware paths of the settings folder and the logo folder; allocated by
// locateIniDirectory, null until then (and when memory ran out).
extern char* TAPIniDir;
extern char* TAPLogoDir;

// Work buffer of one read or write of the settings file: INI_FILE_SIZE bytes
// and one more zero byte, so that every field read from it is terminated.
extern char* dataBuffer_ini;
extern int dataBufferPtr_ini;

// Configuration-menu state reset by InitialiseConfigRoutines.
extern int configTopLine;
extern int chosenConfigLine;

// Makes sure the settings and logo folders exist and sets TAPIniDir and TAPLogoDir.
void locateIniDirectory();
// Copies Skerrowby.ini.old to .old2 and Skerrowby.ini to .old (start-up).
void BackupConfigData();
// Reads the settings file; a missing or damaged one gives the defaults and is
// written afresh. Fills the shadow copies.
void LoadConfiguration();
// 1 when the file was read and parsed, 0 when it is missing or cannot be opened.
int ReadConfigurationFile();
// Parses dataBuffer_ini into the settings.
void SetConfigurationVariables();
// The next field of dataBuffer_ini; never reads past the block.
char* ReadIniField();
// The next field as a decimal number, or defaultValue when the field is empty.
int ReadIniDecimal(int defaultValue);
// Shadow copies into settings, with the side effects of the changes, then the file.
void SaveConfiguration();
// Writes every setting to the settings file (1024 bytes, zero-filled).
void SaveConfigurationToFile();
// Appends text to dataBuffer_ini; false (and nothing appended) when it would
// not fit into the block.
bool WriteStrToIniBuf(const char* text);
// Replaces the settings file with dataBuffer_ini; false when nothing was written.
bool WriteIniFile();
void InitialiseConfigRoutines();
void TerminateConfigMenu();

// --- the settings folder, shared with the viewing history ---------------------

// Copies one file of the settings folder to another name with "cp -p", run
// through the shell in that folder. Nothing happens when `from` is missing or
// the folder is unknown. Returns the command's exit status, -1 when not run.
int CopySettingsFile(const char* from, const char* to);
// Builds that command into out (size bytes); false when it does not fit.
bool FormatSettingsCopyCommand(char* out, int size, const char* folder, const char* from,
                               const char* to);
// Replaces `name` in the settings folder with `size` bytes of `data` such that
// at every moment either the old or the new complete file is on disk: the new
// contents go to a file beside it, which is then renamed over the old one.
// The firmware's current folder must be the settings folder. False when
// nothing was replaced (the old file is then untouched).
bool ReplaceSettingsFile(const char* name, const void* data, dword size);
// The same for `name` in any folder, given as its system path
// ("/mnt/hd/ProgramFiles/Settings"), which must be the firmware's current
// folder. A size of 0 replaces the file with an empty one.
bool ReplaceFileInFolder(const char* systemFolder, const char* name, const void* data, dword size);
// Makes the settings folder the firmware's current folder; false when unknown.
bool ChangeToSettingsFolder();
// The work buffers of the settings-folder files: `size` bytes and one more
// zero byte, so that a field running up to the end of the block is still
// terminated. Allocation zeroes the buffer and the position.
bool AllocateFileBuffer(char** buffer, int* position, dword size);
void ReleaseFileBuffer(char** buffer, int* position);
// Appends text at *position when it ends at or before `limit`; false (and
// nothing written) otherwise.
bool AppendToFileBuffer(char* buffer, int* position, int limit, const char* text);
// Reads at most `size` bytes of `name` in the settings folder into buffer (the
// current folder is kept); false when the file is missing, cannot be opened or
// fails to read.
bool ReadSettingsFile(const char* name, char* buffer, dword size);
// ReplaceSettingsFile from any current folder (which is kept).
bool WriteSettingsFile(const char* name, const char* buffer, dword size);
// True when the settings folder holds `name` (the current folder is kept).
bool SettingsFileExists(const char* name);
// The field at *position of a text block of `size` bytes (the buffer holds one
// more byte, a zero). A field ends at a zero byte, a TAB, an LF or a CR; a CR
// followed by an LF ends it together with the LF. The end is overwritten with
// zero bytes and skipped; the position never passes `size`.
char* ReadSettingsField(char* buffer, int size, int* position);
// Every character of a field (at most 255) folded in as a decimal digit,
// unchecked, with 32-bit wrap-around; a leading "-" negates.
dword FoldDecimalField(const char* field);
