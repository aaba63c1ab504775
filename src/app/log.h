// The application's logs in /ProgramFiles/Settings/Pavrolinex/Logs: the main
// log (echoed to the network output) and the alive log (rotated at every
// start). Each is cut to its last 2000 bytes before a line is added.
#pragma once

#define LOG_FOLDER "/ProgramFiles/Settings/Pavrolinex/Logs"
#define LOG_NAME "Pavrolinex.log"
#define ALIVE_LOG_NAME "Pavrolinex_alive.log"
#define ALIVE_LOG_OLD "Pavrolinex_alive.log.old"
#define ALIVE_LOG_OLD2 "Pavrolinex_alive.log.old2"
#define LOG_KEEP_BYTES 2000
#define PROGRAM_LOG_NAME "Pavrolinex"

// The fixed 28-character messages of the application.
#define LOG_START "Start - Pavrolinex v5.1d    "
#define LOG_EXIT "Exit  - Pavrolinex v5.1d    "
#define LOG_EXIT_POWER "Exit  - Pavrolinex - Power  "
#define LOG_EXIT_USER "Exit  - Pavrolinex - User   "
#define LOG_EXIT_OTHER "Exit  - Pavrolinex - Other  "
#define LOG_ALIVE "Alive - Pavrolinex -        "

// 1 until the writer has made sure of its folders (and, for the alive log,
// rotated it) since start-up; TAP_Main sets both again.
extern int WriteLog_FirstCall;
extern int WriteLog_Alive_FirstCall;

// Main log, with network echo. Failures lose the line silently.
void WriteLog(const char* message);
// Alive log, no echo.
void WriteLog_Alive(const char* message);
// A recording or folder deleted for good (by the user or a cleanout), in the
// main log: "Deleted - FOLDER/NAME", so that what left the disk can be traced.
void LogDeletion(const char* folder, const char* name);
