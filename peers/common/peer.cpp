#include "peer.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

// A firmware internal by name, from the firmware's program; null when absent.
static void* FindInternal(const char* name) {
  void* program = dlopen(nullptr, RTLD_LAZY);
  if (!program) return nullptr;
  void* address = dlsym(program, name);
  dlclose(program);
  return address;
}

TYPE_TapTask* PeerTable() { return static_cast<TYPE_TapTask*>(FindInternal("_tapTask")); }

dword* PeerCurrentTask() { return static_cast<dword*>(FindInternal("_curTapTask")); }

int PeerIndexOf(dword id) {
  TYPE_TapTask* table = PeerTable();
  if (!table) return -1;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (table[i].status == TAPTASK_Running && table[i].id == id) return i;
  }
  return -1;
}

dword PeerOwnId() {
  TYPE_TapTask* table = PeerTable();
  dword* current = PeerCurrentTask();
  if (!table || !current || *current >= TAP_MAX_TASKS) return 0;
  return table[*current].id;
}

dword PeerSendToSlot(int index, word event, dword param1, dword param2) {
  TYPE_TapTask* table = PeerTable();
  dword* current = PeerCurrentTask();
  if (!table || !current || index < 0 || index >= TAP_MAX_TASKS) return 0;
  TYPE_TapTask& task = table[index];
  if (task.status != TAPTASK_Running || !task.TAP_EventHandler) return 0;
  dword caller = *current;
  *current = static_cast<dword>(index);
  dword result = task.TAP_EventHandler(event, param1, param2);
  *current = caller;
  return result;
}

dword PeerSend(dword id, bool intercept, word event, dword param1, dword param2) {
  TYPE_TapTask* table = PeerTable();
  if (!table) return 0;
  dword result = 0;
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    if (table[i].status != TAPTASK_Running || (id != 0 && table[i].id != id)) continue;
    result = PeerSendToSlot(i, event, param1, param2);
    if (id != 0 || (intercept && result == 0)) break;
  }
  return result;
}

bool PeerCopyRecord(dword address, void* out, size_t size) {
  // The kernel checks the address of what a pipe is given and answers EFAULT
  // for memory that is not there: the record passes through a pipe.
  static int pipeFds[2] = {-1, -1};
  if (pipeFds[0] < 0 && pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  const void* record = PeerPointer(address);
  if (!record || size > 4096) return false;
  ssize_t n = write(pipeFds[1], record, size);
  if (n < 0) return false;
  bool whole = read(pipeFds[0], out, static_cast<size_t>(n)) == n && static_cast<size_t>(n) == size;
  char drain[256];
  while (read(pipeFds[0], drain, sizeof drain) > 0) {
  }
  return whole;
}

void PeerNet(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  for (int i = 0; i < 20; i++) {
    char name[32];
    snprintf(name, sizeof name, "/dev/pts/%d", i);
    int fd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    if (write(fd, line, strlen(line)) < 0) {
      // a lost diagnostic line harms nobody
    }
    close(fd);
    return;
  }
}

namespace {
constexpr dword kTitleHeight = 36;
constexpr dword kRowHeight = 20;
constexpr dword kMargin = 12;
constexpr dword kCharWidth = 12;  // the firmware font at the size used
}  // namespace

bool PeerOpenWindow(PeerWindow* win, dword x, dword y, dword w, dword h, const char* title) {
  if (win->rgn) PeerCloseWindow(win);
  word rgn = TAP_Osd_Create(x, y, w, h, 0, 0);
  if (rgn == 0xFFFF) return false;
  win->rgn = rgn;
  win->w = w;
  win->h = h;
  TAP_Osd_FillBox(rgn, 0, 0, w, h, kPeerFrame);
  TAP_Osd_FillBox(rgn, 3, 3, w - 6, h - 6, kPeerBack);
  TAP_Osd_PutS(rgn, kMargin, 10, w - kMargin, title, kPeerText, 0, 0, 1, 0, 0);
  TAP_Osd_FillBox(rgn, kMargin, kTitleHeight - 4, w - 2 * kMargin, 2, kPeerFrame);
  return true;
}

void PeerText(PeerWindow* win, int row, const char* text, dword color) {
  if (!win->rgn) return;
  dword y = kTitleHeight + static_cast<dword>(row) * kRowHeight;
  if (y + kRowHeight > win->h) return;
  TAP_Osd_PutS(win->rgn, kMargin, y + 2, win->w - kMargin, text, color, 0, 0, 1, 0, 0);
}

int PeerRowChars(const PeerWindow* win) {
  return static_cast<int>((win->w - 2 * kMargin) / kCharWidth);
}

namespace {

// Appends a letter spelled for a font without accents.
int Put(char* out, int at, int size, const char* text) {
  for (; *text && at < size - 1; text++) out[at++] = *text;
  return at;
}

const char* GermanLetter(unsigned code) {
  switch (code) {
    case 0xE4:
      return "ae";
    case 0xF6:
      return "oe";
    case 0xFC:
      return "ue";
    case 0xC4:
      return "Ae";
    case 0xD6:
      return "Oe";
    case 0xDC:
      return "Ue";
    case 0xDF:
      return "ss";
    case 0xE9:
      return "e";
    case 0xE8:
      return "e";
    default:
      return "?";
  }
}

}  // namespace

int PeerDecodeText(const unsigned char* in, int length, char* out, int outSize) {
  if (outSize <= 0) return 0;
  int i = 0;
  bool utf8 = false;
  bool latin = false;
  if (length > 0 && in[0] < 0x20) {
    utf8 = in[0] == 0x15;
    latin = in[0] >= 0x01 && in[0] <= 0x0B;
    i = in[0] == 0x10 ? 3 : 1;  // 0x10 names its table in two more bytes
    latin = latin || in[0] == 0x10;
  }
  int at = 0;
  while (i < length && in[i] && at < outSize - 1) {
    unsigned c = in[i];
    if (c == 0x8A || c == '\n') {
      out[at++] = '\n';
      i++;
    } else if (c < 0x20 || (c >= 0x80 && c < 0xA0)) {
      i++;  // control and emphasis codes
    } else if (c < 0x80) {
      out[at++] = static_cast<char>(c);
      i++;
    } else if (utf8) {
      int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      unsigned code = n == 2 && i + 1 < length ? (c & 0x1F) << 6 | (in[i + 1] & 0x3F) : 0;
      at = Put(out, at, outSize, GermanLetter(code));
      i += n;
    } else if (latin) {
      at = Put(out, at, outSize, GermanLetter(c));
      i++;
    } else if (c == 0xC8 && i + 1 < length) {  // ISO 6937 diaeresis before its letter
      unsigned letter = in[i + 1];
      unsigned code = letter == 'a'   ? 0xE4
                      : letter == 'o' ? 0xF6
                      : letter == 'u' ? 0xFC
                      : letter == 'A' ? 0xC4
                      : letter == 'O' ? 0xD6
                      : letter == 'U' ? 0xDC
                                      : 0;
      at = Put(out, at, outSize, GermanLetter(code));
      i += 2;
    } else if (c >= 0xC1 && c <= 0xCF && i + 1 < length) {  // other accents: the bare letter
      out[at++] = static_cast<char>(in[i + 1] < 0x80 ? in[i + 1] : '?');
      i += 2;
    } else {
      at = Put(out, at, outSize, c == 0xFB ? "ss" : "?");
      i++;
    }
  }
  out[at] = 0;
  return at;
}

void PeerHighlight(PeerWindow* win, int row, bool on) {
  if (!win->rgn) return;
  dword y = kTitleHeight + static_cast<dword>(row) * kRowHeight;
  TAP_Osd_FillBox(win->rgn, 6, y, win->w - 12, kRowHeight, on ? kPeerSelect : kPeerBack);
}

void PeerCloseWindow(PeerWindow* win) {
  if (!win->rgn) return;
  TAP_Osd_Delete(win->rgn);
  win->rgn = 0;
  TAP_Osd_Sync();
}
