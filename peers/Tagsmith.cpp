// Tagsmith: shows a recording's header in its own window when another
// application asks (show info), and prepares recordings one by one in the
// background (prepare), answering through the application table.
//
// Messages (event 0x0C00, param1 command, param2 argument):
//   0 ask alive (argument: the sender's id)  -> 1 alive, at once
//   2 show info (argument: message record)   -> 3 shown / 4 failed, at once;
//     then Exit on the window -> 6 popped down, OK -> 8 back to normal viewing
//   17 prepare (argument: message record)    -> on the next idle event:
//     18 prepared, 19 already prepared, 20 failed
// Preparing writes "<recording>.tgs" beside the recording (its title and
// times as text). The answer thereby follows the disk: a ".tgs" that exists
// already gives 19; a header that is missing or damaged (no "TFrc"), or a
// folder that cannot take the file, gives 20; anything else 18.
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "common/peer.h"

TAP_APPLICATION_HEADER(0x444D430A, "Tagsmith v1.0", "Pavrolinex peers",
                       "Shows and prepares recording information", "");

namespace {

enum {
  CMD_AskAlive = 0,
  CMD_Alive = 1,
  CMD_ShowInfo = 2,
  CMD_ShowInfoSuccess = 3,
  CMD_ShowInfoFailed = 4,
  CMD_PopDownSuccess = 6,
  CMD_NormalViewing = 8,
  CMD_Prepare = 17,
  CMD_PrepareSuccess = 18,
  CMD_PrepareExisting = 19,
  CMD_PrepareFailed = 20,
};

// The message record: sender id, inode of the header file, the header file's
// name and its folder as a system path.
struct Message {
  dword sender;
  dword inode;
  char infName[256];
  char folder[256];
};

// What the window shows, decoded from the header.
struct Recording {
  char title[260];
  char service[32];
  char shortText[600];
  char extText[1100];
  dword start;
  word minutes;
};

constexpr size_t kHeaderSize = 2128;

PeerWindow window;
dword windowOwner;  // who asked for the window
dword answerTo;     // a prepare answer waiting for the next idle event
dword pendingAnswer;

dword Word(const unsigned char* p, bool swap) {
  return swap ? static_cast<dword>(p[0] << 8 | p[1]) : static_cast<dword>(p[1] << 8 | p[0]);
}

dword Dword(const unsigned char* p, bool swap) {
  return swap ? Word(p, true) << 16 | Word(p + 2, true) : Word(p + 2, false) << 16 | Word(p, false);
}

// Copies the record's strings bounded and refuses paths that leave the disk
// or the folder: the record comes from another application.
bool ReadMessage(dword argument, Message* msg) {
  memset(msg, 0, sizeof *msg);
  if (!PeerCopyRecord(argument, msg, sizeof *msg)) {
    PeerNet("Tagsmith: the message record at 0x%08X cannot be read\r\n", argument);
    memset(msg, 0, sizeof *msg);
    return false;
  }
  msg->infName[sizeof msg->infName - 1] = 0;
  msg->folder[sizeof msg->folder - 1] = 0;
  return msg->infName[0] && !strchr(msg->infName, '/') && strcmp(msg->infName, "..") != 0 &&
         strncmp(msg->folder, "/mnt/", 5) == 0 && !strstr(msg->folder, "/..");
}

void PathOf(const Message& msg, const char* name, char* out, size_t size) {
  size_t len = strlen(msg.folder);
  snprintf(out, size, "%s%s%s", msg.folder, len && msg.folder[len - 1] == '/' ? "" : "/", name);
}

// Reads and decodes the header; false when it is missing or not a header.
bool ReadHeader(const Message& msg, Recording* rec) {
  char path[600];
  PathOf(msg, msg.infName, path, sizeof path);
  unsigned char h[kHeaderSize] = {};
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ssize_t n = read(fd, h, sizeof h);
  close(fd);
  if (n < 368 || memcmp(h, "TFrc", 4) != 0) return false;
  // A version that reads 80, 128 or 4176 this way round was written big-endian.
  dword version = Word(h + 4, false);
  bool swap = version == 80 || version == 128 || version == 4176;
  memset(rec, 0, sizeof *rec);
  rec->start = Dword(h + 8, swap);
  rec->minutes = static_cast<word>(Word(h + 12, swap));
  PeerDecodeText(h + 42, 24, rec->service, sizeof rec->service);
  int titleLength = h[85];
  if (titleLength > 273) titleLength = 273;
  PeerDecodeText(h + 87, titleLength, rec->title, sizeof rec->title);
  PeerDecodeText(h + 87 + titleLength, 273 - titleLength, rec->shortText, sizeof rec->shortText);
  int extLength = static_cast<int>(Word(h + 362, swap));
  if (extLength > 1024) extLength = 1024;
  if (extLength > n - 368) extLength = static_cast<int>(n - 368);
  PeerDecodeText(h + 368, extLength, rec->extText, sizeof rec->extText);
  return true;
}

// Wraps text at blanks into rows from `row` on; returns the next free row.
int DrawWrapped(const char* text, int row, int lastRow, dword color) {
  int width = PeerRowChars(&window);
  char line[128];
  const char* p = text;
  while (*p && row <= lastRow) {
    int len = 0, cut = -1;
    while (p[len] && p[len] != '\n' && len < width && len < (int)sizeof line - 1) {
      if (p[len] == ' ') cut = len;
      len++;
    }
    if (p[len] && p[len] != '\n' && cut > 0) len = cut;
    memcpy(line, p, len);
    line[len] = 0;
    PeerText(&window, row++, line, color);
    p += len;
    while (*p == ' ' || *p == '\n') p++;
  }
  return row;
}

void ShowWindow(const Recording& rec) {
  if (!PeerOpenWindow(&window, 60, 60, 600, 456, "Tagsmith - Recording Information")) return;
  char line[300];
  word year;
  byte month, day, weekDay;
  TAP_ExtractMjd(static_cast<word>(rec.start >> 16), &year, &month, &day, &weekDay);
  snprintf(line, sizeof line, "Title:    %s", rec.title);
  PeerText(&window, 0, line, kPeerText);
  snprintf(line, sizeof line, "Service:  %s", rec.service);
  PeerText(&window, 1, line, kPeerText);
  snprintf(line, sizeof line, "Start:    %04u-%02u-%02u %02u:%02u", year, month, day,
           (rec.start >> 8) & 0xFF, rec.start & 0xFF);
  PeerText(&window, 2, line, kPeerText);
  snprintf(line, sizeof line, "Duration: %u min", rec.minutes);
  PeerText(&window, 3, line, kPeerText);
  int row = DrawWrapped(rec.shortText, 5, 8, kPeerDim);
  DrawWrapped(rec.extText, row + 1, 18, kPeerDim);
  PeerText(&window, 20, "EXIT back   OK normal viewing", kPeerText);
  TAP_Osd_Sync();
}

void Answer(dword to, dword command) { PeerSend(to, false, EVT_TAPCOM, command, PeerOwnId()); }

void ShowInfo(dword argument) {
  Message msg;
  Recording rec;
  bool valid = ReadMessage(argument, &msg);
  if (!valid || !ReadHeader(msg, &rec)) {
    PeerNet("Tagsmith: no header for show info\r\n");
    if (msg.sender) Answer(msg.sender, CMD_ShowInfoFailed);
    return;
  }
  windowOwner = msg.sender;
  TAP_ExitNormal();
  ShowWindow(rec);
  PeerNet("Tagsmith: showing %s\r\n", rec.title);
  Answer(msg.sender, CMD_ShowInfoSuccess);
}

dword Prepare(dword argument) {
  Message msg;
  Recording rec;
  if (!ReadMessage(argument, &msg)) return CMD_PrepareFailed;
  char name[300];
  snprintf(name, sizeof name, "%s", msg.infName);
  size_t len = strlen(name);
  if (len > 4 && strcmp(name + len - 4, ".inf") == 0) name[len - 4] = 0;
  strncat(name, ".tgs", sizeof name - strlen(name) - 1);
  char path[600];
  PathOf(msg, name, path, sizeof path);
  if (access(path, F_OK) == 0) return CMD_PrepareExisting;
  if (!ReadHeader(msg, &rec)) return CMD_PrepareFailed;
  FILE* out = fopen(path, "wx");
  if (!out) return CMD_PrepareFailed;
  fprintf(out, "Title=%s\nService=%s\nStart=%08x\nMinutes=%u\n", rec.title, rec.service, rec.start,
          rec.minutes);
  return fclose(out) == 0 ? CMD_PrepareSuccess : CMD_PrepareFailed;
}

void CloseWindow(dword command) {
  PeerCloseWindow(&window);
  dword owner = windowOwner;
  windowOwner = 0;
  if (command == CMD_NormalViewing) TAP_EnterNormal();
  if (owner) Answer(owner, command);
}

dword HandleMessage(dword command, dword argument) {
  switch (command) {
    case CMD_AskAlive:
      Answer(argument, CMD_Alive);
      break;
    case CMD_ShowInfo:
      ShowInfo(argument);
      break;
    case CMD_Prepare: {
      Message msg;
      dword sender = ReadMessage(argument, &msg) ? msg.sender : 0;
      if (!sender) break;
      // One preparation at a time: a second request answers failed at once.
      if (pendingAnswer) {
        Answer(sender, CMD_PrepareFailed);
        break;
      }
      pendingAnswer = Prepare(argument);
      answerTo = sender;
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TAP_Main(void) {
  PeerNet("Tagsmith: started\r\n");
  return 1;
}

extern "C" __attribute__((visibility("default"))) dword TAP_EventHandler(word event, dword param1,
                                                                         dword param2) {
  switch (event) {
    case EVT_TAPCOM:
      return HandleMessage(param1, param2);
    case EVT_IDLE:
      if (pendingAnswer) {
        dword command = pendingAnswer;
        pendingAnswer = 0;
        PeerNet("Tagsmith: prepare answer %u\r\n", command);
        Answer(answerTo, command);
      }
      return param1;
    case EVT_KEY:
      if (!window.rgn) return param1;
      if (param1 == RKEY_Exit) CloseWindow(CMD_PopDownSuccess);
      if (param1 == RKEY_Ok) CloseWindow(CMD_NormalViewing);
      return 0;  // the window takes every key while it shows
    case EVT_STOP:
      PeerCloseWindow(&window);
      TAP_Exit();
      return param1;
    default:
      return param1;
  }
}
