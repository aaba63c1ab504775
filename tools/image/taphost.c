/* taphost.c - runs recorder images (.tap) as they are, on the recorder's C
 * library (uClibc-ng) and CPU (MIPS32 little-endian, under qemu-mipsel),
 * against the emulated recorder, which runs natively and starts this program.
 *
 * The host loads each image with uClibc-ng's dlopen and is, for the image,
 * the firmware's program: it exports every TAP_ call and the internals that
 * applications look up by name (_tapTask, _hddPlayFile, the work-folder
 * functions, ...). A call is sent to the recorder over the stream on
 * RELAY_FD_STREAM and answered there by the emulated firmware; events come
 * back the other way (firmware/relay.h). The application table, memory from
 * TAP_MemAlloc and the formatting of TAP_SPrint/TAP_Print are the host's
 * own, so they are uClibc-ng's; everything else is the emulated firmware's.
 *
 * Written in C: the host needs no C++ runtime, which uClibc-ng lacks here. */
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "relay.h"
#include "tap.h"

/* ------------------------------------------------------------ messages */

typedef struct Buf {
  uint8_t* data;
  uint32_t size;
  uint32_t cap;
} Buf;

typedef struct Msg {
  RelayHead head;
  uint8_t* data;
  const uint8_t* at; /* next unread payload byte */
  const uint8_t* end;
} Msg;

static void Die(const char* what) {
  fprintf(stderr, "taphost: %s\n", what);
  _exit(1);
}

static void Reserve(Buf* b, uint32_t more) {
  if (b->size + more <= b->cap) return;
  uint32_t cap = b->cap ? b->cap : 256;
  while (cap < b->size + more) cap *= 2;
  b->data = (uint8_t*)realloc(b->data, cap);
  if (!b->data) Die("out of memory");
  b->cap = cap;
}

static void PutWord(Buf* b, uint32_t w) {
  Reserve(b, 4);
  memcpy(b->data + b->size, &w, 4);
  b->size += 4;
}

static void PutBlob(Buf* b, const void* p, uint32_t n) {
  PutWord(b, n);
  Reserve(b, n + 3);
  if (n) memcpy(b->data + b->size, p, n);
  b->size += n;
  while (b->size & 3) b->data[b->size++] = 0;
}

/* A string; null crosses as the length 0xFFFFFFFF. */
static void PutString(Buf* b, const char* s) {
  if (!s) {
    PutWord(b, 0xFFFFFFFFu);
    return;
  }
  PutBlob(b, s, (uint32_t)strlen(s) + 1);
}

static uint32_t GetWord(Msg* m) {
  uint32_t w = 0;
  if (m->end - m->at >= 4) {
    memcpy(&w, m->at, 4);
    m->at += 4;
  }
  return w;
}

/* The next blob; its length in *n. */
static const uint8_t* GetBlob(Msg* m, uint32_t* n) {
  uint32_t len = GetWord(m);
  const uint8_t* p = m->at;
  if (len == 0xFFFFFFFFu || (uint32_t)(m->end - m->at) < len) {
    *n = 0;
    return 0;
  }
  *n = len;
  m->at += (len + 3) & ~3u;
  if (m->at > m->end) m->at = m->end;
  return p;
}

static void WriteAll(const void* p, size_t n) {
  const uint8_t* q = (const uint8_t*)p;
  while (n) {
    ssize_t w = write(RELAY_FD_STREAM, q, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) Die("the recorder went away");
    q += w;
    n -= (size_t)w;
  }
}

static int ReadAll(void* p, size_t n) {
  uint8_t* q = (uint8_t*)p;
  while (n) {
    ssize_t r = read(RELAY_FD_STREAM, q, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return 0;
    q += r;
    n -= (size_t)r;
  }
  return 1;
}

TYPE_TapTask tapTask[TAP_MAX_TASKS] __asm__("_tapTask");
dword curTapTask __asm__("_curTapTask");

static void Send(uint32_t kind, uint32_t op, const Buf* b) {
  RelayHead h = {kind, op, curTapTask, 0, b ? b->size : 0};
  WriteAll(&h, sizeof h);
  if (b && b->size) WriteAll(b->data, b->size);
}

/* Reads the next message; at the end of the stream the host's work is done. */
static void Receive(Msg* m) {
  if (!ReadAll(&m->head, sizeof m->head)) exit(0);
  m->data = (uint8_t*)malloc(m->head.size ? m->head.size : 1);
  if (!m->data) Die("out of memory");
  if (!ReadAll(m->data, m->head.size)) exit(0);
  m->at = m->data;
  m->end = m->data + m->head.size;
}

/* ----------------------------------------------------- firmware's data */

/* The firmware's records that applications read directly, as copies kept
 * up to date from the recorder. */
typedef struct HostFile {
  TYPE_File file; /* what the application sees; first, so a pointer converts */
  uint32_t remoteLow, remoteHigh;
} HostFile;

byte isAnalogMode __asm__("_isAnalogMode");
TYPE_File* hddPlayFile __asm__("_hddPlayFile");
TYPE_File* hddRecFiles[4][3] __asm__("_hddRecFiles");
char* hddTapFolder[TAP_MAX_TASKS] __asm__("_hddTapFolder");
dword hddDivxFolder[4] __asm__("_hddDivxFolder");

static HostFile playFileCopy;
static HostFile recFileCopies[4][3];
static char tapFolderCopies[TAP_MAX_TASKS][520];

static TYPE_File* ReadFileState(Msg* m, HostFile* copy) {
  uint32_t n;
  if (!GetWord(m)) return 0;
  const uint8_t* p = GetBlob(m, &n);
  memset(copy, 0, sizeof *copy);
  if (p) memcpy(&copy->file, p, n < sizeof copy->file ? n : sizeof copy->file);
  return &copy->file;
}

static void ReadState(Msg* m) {
  if (!(m->head.flags & RELAY_FLAG_STATE)) return;
  isAnalogMode = (byte)GetWord(m);
  hddPlayFile = ReadFileState(m, &playFileCopy);
  for (int s = 0; s < 4; s++) {
    for (int k = 0; k < 3; k++) hddRecFiles[s][k] = ReadFileState(m, &recFileCopies[s][k]);
  }
  for (int i = 0; i < TAP_MAX_TASKS; i++) {
    uint32_t n;
    const uint8_t* p = GetBlob(m, &n);
    hddTapFolder[i] = 0;
    if (p && n && n <= sizeof tapFolderCopies[i]) {
      memcpy(tapFolderCopies[i], p, n);
      tapFolderCopies[i][n - 1] = 0;
      hddTapFolder[i] = tapFolderCopies[i];
    }
  }
}

/* ------------------------------------------------------------ events */

static void ServeEvent(Msg* m);

/* Sends a firmware call and waits for its results, serving the events that
 * the recorder sends meanwhile. The caller reads the results from *r and
 * frees r->data. */
static void Call(uint32_t op, const Buf* args, Msg* r) {
  Send(RELAY_CALL, op, args);
  for (;;) {
    Receive(r);
    ReadState(r);
    if (r->head.kind == RELAY_RETURN) return;
    if (r->head.kind != RELAY_EVENT) Die("unexpected message from the recorder");
    ServeEvent(r);
    free(r->data);
  }
}

/* A call whose only result is one word. */
static uint32_t CallWord(uint32_t op, const Buf* args) {
  Msg r;
  Call(op, args, &r);
  uint32_t w = GetWord(&r);
  free(r.data);
  return w;
}

static uint32_t Call0(uint32_t op) { return CallWord(op, 0); }

static uint32_t CallWords(uint32_t op, int count, ...) {
  Buf b = {0, 0, 0};
  va_list ap;
  va_start(ap, count);
  for (int i = 0; i < count; i++) PutWord(&b, va_arg(ap, uint32_t));
  va_end(ap);
  uint32_t w = CallWord(op, &b);
  free(b.data);
  return w;
}

static uint32_t CallString(uint32_t op, const char* s) {
  Buf b = {0, 0, 0};
  PutString(&b, s);
  uint32_t w = CallWord(op, &b);
  free(b.data);
  return w;
}

static void Unload(int slot) {
  TYPE_TapTask* t = &tapTask[slot];
  void* image = t->image;
  free(t->file);
  memset(t, 0, sizeof *t);
  if (image) dlclose(image);
}

/* Loads an image into table slot `slot` and runs its init entry; the reason
 * in `why` when it cannot, in the emulated loader's words. */
static int Load(int slot, const char* path, Buf* out) {
  char why[600];
  void* image = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  const TYPE_TapHeader* header = 0;
  if (!image) {
    const char* e = dlerror();
    snprintf(why, sizeof why, "cannot load %s: %s", path, e ? e : "unknown");
  } else if (!(header = (const TYPE_TapHeader*)dlsym(image, TAP_HEADER_SYMBOL))) {
    snprintf(why, sizeof why, "%s has no application header", path);
  } else if (memcmp(header->magic, TAP_HEADER_MAGIC, 8) != 0) {
    snprintf(why, sizeof why, "%s has a damaged application header", path);
  } else {
    void (*init)(TYPE_TapTask*) = (void (*)(TYPE_TapTask*))dlsym(image, "__TAP_Init_");
    int (*main)(void) = (int (*)(void))dlsym(image, "TAP_Main");
    dword (*handler)(word, dword, dword) =
        (dword(*)(word, dword, dword))dlsym(image, "TAP_EventHandler");
    if (!init && (!main || !handler)) {
      snprintf(why, sizeof why, "%s exports no entry points", path);
    } else {
      TYPE_TapTask* t = &tapTask[slot];
      memset(t, 0, sizeof *t);
      t->status = TAPTASK_Running;
      memcpy(&t->id, (const char*)header + offsetof(TYPE_TapHeader, id), sizeof t->id);
      t->image = image;
      t->file = (TYPE_File*)calloc(1, sizeof *t->file);
      if (!t->file) Die("out of memory");
      t->file->magic = TAP_FILE_MAGIC;
      t->file->mode = TAP_FILE_READ;
      t->file->handle = -1;
      snprintf(t->file->path, sizeof t->file->path, "%s", path);
      dword saved = curTapTask;
      curTapTask = (dword)slot;
      if (init) {
        init(t);
      } else {
        t->TAP_Main = main;
        t->TAP_EventHandler = handler;
      }
      curTapTask = saved;
      PutWord(out, 0);
      PutBlob(out, header, sizeof *header);
      return 1;
    }
  }
  if (image) dlclose(image);
  PutWord(out, 1);
  PutString(out, why);
  return 0;
}

static void ServeEvent(Msg* m) {
  Buf out = {0, 0, 0};
  uint32_t slot = GetWord(m);
  if (slot >= TAP_MAX_TASKS) Die("bad application slot");
  TYPE_TapTask* t = &tapTask[slot];
  dword saved = curTapTask;
  switch (m->head.op) {
    case RELAY_EV_LOAD: {
      uint32_t n;
      const char* path = (const char*)GetBlob(m, &n);
      Load((int)slot, path ? path : "", &out);
      break;
    }
    case RELAY_EV_MAIN: {
      curTapTask = slot;
      int result = t->status == TAPTASK_Running && t->TAP_Main ? t->TAP_Main() : 0;
      curTapTask = saved;
      PutWord(&out, (uint32_t)result);
      break;
    }
    case RELAY_EV_HANDLER: {
      word event = (word)GetWord(m);
      dword p1 = GetWord(m), p2 = GetWord(m);
      /* Read from the table on every call: applications may hook it. */
      dword (*handler)(word, dword, dword) = t->TAP_EventHandler;
      dword result = p1;
      if (t->status == TAPTASK_Running && handler) {
        curTapTask = slot;
        result = handler(event, p1, p2);
        curTapTask = saved;
      }
      PutWord(&out, result);
      break;
    }
    case RELAY_EV_UNLOAD:
      Unload((int)slot);
      break;
    default:
      Die("unknown event from the recorder");
  }
  Send(RELAY_DONE, m->head.op, &out);
  free(out.data);
}

/* ------------------------------------------------------------ control */

void TAP_Exit(void) { Call0(RELAY_OP_Exit); }
void TAP_ExitNormal(void) { Call0(RELAY_OP_ExitNormal); }
void TAP_EnterNormal(void) { Call0(RELAY_OP_EnterNormal); }
int TAP_GenerateEvent(word event, dword param1, dword param2) {
  return (int)CallWords(RELAY_OP_GenerateEvent, 3, (uint32_t)event, param1, param2);
}

void TAP_GetState(dword* state, dword* subState) {
  Msg r;
  Call(RELAY_OP_GetState, 0, &r);
  dword s = GetWord(&r), sub = GetWord(&r);
  free(r.data);
  if (state) *state = s;
  if (subState) *subState = sub;
}

word TAP_GetSystemId(void) { return (word)Call0(RELAY_OP_GetSystemId); }
dword TAP_GetTick(void) { return Call0(RELAY_OP_GetTick); }
void TAP_Delay(dword ticks) { CallWords(RELAY_OP_Delay, 1, ticks); }

/* Formatting is the recorder's C library's, as on the recorder. */
int TAP_SPrint(char* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vsprintf(out, format, args);
  va_end(args);
  return n;
}

int TAP_Print(const char* format, ...) {
  char buf[4096];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  CallString(RELAY_OP_Print, buf);
  return n;
}

/* ------------------------------------------------------------ memory */

/* Each block carries a mark before it, so that freeing a pointer the heap
 * never gave out is refused, as the firmware does. */
#define BLOCK_MARK 0x4D454D42u

void* TAP_MemAlloc(dword size) {
  uint32_t* block = (uint32_t*)malloc((size_t)size + 8);
  if (!block) return 0;
  block[0] = BLOCK_MARK;
  block[1] = size;
  return block + 2;
}

int TAP_MemFree(const void* p) {
  if (!p) return 0;
  uint32_t* block = (uint32_t*)p - 2;
  if (block[0] != BLOCK_MARK) return 0;
  block[0] = 0;
  free(block);
  return 1;
}

void TAP_MemSet(void* block, byte value, dword size) {
  if (block) memset(block, value, size);
}

void TAP_MemCpy(void* dst, const void* src, dword size) {
  if (dst && src) memmove(dst, src, size);
}

/* ------------------------------------------------------------ time */

word TAP_MakeMjd(word year, byte month, byte day) {
  return (word)CallWords(RELAY_OP_MakeMjd, 3, (uint32_t)year, (uint32_t)month, (uint32_t)day);
}

int TAP_ExtractMjd(word mjd, word* year, byte* month, byte* day, byte* weekDay) {
  Buf b = {0, 0, 0};
  PutWord(&b, mjd);
  Msg r;
  Call(RELAY_OP_ExtractMjd, &b, &r);
  free(b.data);
  int result = (int)GetWord(&r);
  word y = (word)GetWord(&r);
  byte mo = (byte)GetWord(&r), d = (byte)GetWord(&r), w = (byte)GetWord(&r);
  free(r.data);
  if (year) *year = y;
  if (month) *month = mo;
  if (day) *day = d;
  if (weekDay) *weekDay = w;
  return result;
}

int TAP_GetTime(word* mjd, byte* hour, byte* min, byte* sec) {
  Msg r;
  Call(RELAY_OP_GetTime, 0, &r);
  int result = (int)GetWord(&r);
  word m = (word)GetWord(&r);
  byte h = (byte)GetWord(&r), mi = (byte)GetWord(&r), s = (byte)GetWord(&r);
  free(r.data);
  if (mjd) *mjd = m;
  if (hour) *hour = h;
  if (min) *min = mi;
  if (sec) *sec = s;
  return result;
}

/* ------------------------------------------------------------ display */

word TAP_Osd_Create(dword x, dword y, dword w, dword h, byte lutIdx, int flag) {
  return (word)CallWords(RELAY_OP_Osd_Create, 6, x, y, w, h, (uint32_t)lutIdx, (uint32_t)flag);
}
int TAP_Osd_Delete(word rgn) { return (int)CallWords(RELAY_OP_Osd_Delete, 1, (uint32_t)rgn); }
void TAP_Osd_Sync(void) { Call0(RELAY_OP_Osd_Sync); }
int TAP_Osd_FillBox(word rgn, dword x, dword y, dword w, dword h, dword color) {
  return (int)CallWords(RELAY_OP_Osd_FillBox, 6, (uint32_t)rgn, x, y, w, h, color);
}
int TAP_Osd_DrawRectangle(word rgn, dword x, dword y, dword w, dword h, dword thick, dword color) {
  return (int)CallWords(RELAY_OP_Osd_DrawRectangle, 7, (uint32_t)rgn, x, y, w, h, thick, color);
}
int TAP_Osd_PutPixel(word rgn, dword x, dword y, dword pix) {
  return (int)CallWords(RELAY_OP_Osd_PutPixel, 4, (uint32_t)rgn, x, y, pix);
}
dword TAP_Osd_GetPixel(word rgn, dword x, dword y) {
  return CallWords(RELAY_OP_Osd_GetPixel, 3, (uint32_t)rgn, x, y);
}

int TAP_Osd_PutGd(word rgn, int x, int y, const TYPE_GrData* gd, int blend) {
  Buf b = {0, 0, 0};
  PutWord(&b, rgn);
  PutWord(&b, (uint32_t)x);
  PutWord(&b, (uint32_t)y);
  PutWord(&b, (uint32_t)blend);
  PutWord(&b, gd != 0);
  if (gd) {
    PutWord(&b, gd->version);
    PutWord(&b, gd->width);
    PutWord(&b, gd->height);
    PutWord(&b, gd->argb != 0);
    PutBlob(&b, gd->argb, gd->argb ? (uint32_t)gd->width * gd->height * 4 : 0);
  }
  uint32_t result = CallWord(RELAY_OP_Osd_PutGd, &b);
  free(b.data);
  return (int)result;
}

int TAP_Osd_DrawJpeg(word rgn, dword x, dword y, dword w, dword h, const void* jpeg, dword size) {
  Buf b = {0, 0, 0};
  PutWord(&b, rgn);
  PutWord(&b, x);
  PutWord(&b, y);
  PutWord(&b, w);
  PutWord(&b, h);
  PutWord(&b, jpeg != 0);
  PutBlob(&b, jpeg, jpeg ? size : 0);
  PutWord(&b, size);
  uint32_t result = CallWord(RELAY_OP_Osd_DrawJpeg, &b);
  free(b.data);
  return (int)result;
}

byte* TAP_Osd_SaveBox(word rgn, dword x, dword y, dword w, dword h) {
  Buf b = {0, 0, 0};
  PutWord(&b, rgn);
  PutWord(&b, x);
  PutWord(&b, y);
  PutWord(&b, w);
  PutWord(&b, h);
  Msg r;
  Call(RELAY_OP_Osd_SaveBox, &b, &r);
  free(b.data);
  byte* box = 0;
  if (GetWord(&r)) {
    uint32_t n;
    const uint8_t* p = GetBlob(&r, &n);
    box = (byte*)TAP_MemAlloc(n);
    if (box && p) memcpy(box, p, n);
  }
  free(r.data);
  return box;
}

void TAP_Osd_RestoreBox(word rgn, dword x, dword y, dword w, dword h, const void* data) {
  Buf b = {0, 0, 0};
  PutWord(&b, rgn);
  PutWord(&b, x);
  PutWord(&b, y);
  PutWord(&b, w);
  PutWord(&b, h);
  PutWord(&b, data != 0);
  /* The firmware reads w x h pixels; a box larger than the screen is refused there. */
  int fits = w <= OSD_WIDTH && h <= OSD_HEIGHT;
  PutBlob(&b, data, data && fits ? w * h * 4 : 0);
  CallWord(RELAY_OP_Osd_RestoreBox, &b);
  free(b.data);
}

int TAP_Osd_Copy(word srcRgn, word dstRgn, dword srcX, dword srcY, dword w, dword h, dword dstX,
                 dword dstY, int sprite) {
  return (int)CallWords(RELAY_OP_Osd_Copy, 9, (uint32_t)srcRgn, (uint32_t)dstRgn, srcX, srcY, w, h,
                        dstX, dstY, (uint32_t)sprite);
}

int TAP_Osd_PutS(word rgn, dword x, dword y, dword maxX, const char* str, dword fcolor,
                 dword bcolor, byte fntType, byte fntSize, byte bDot, byte align) {
  Buf b = {0, 0, 0};
  PutWord(&b, rgn);
  PutWord(&b, x);
  PutWord(&b, y);
  PutWord(&b, maxX);
  PutString(&b, str);
  PutWord(&b, fcolor);
  PutWord(&b, bcolor);
  PutWord(&b, fntType);
  PutWord(&b, fntSize);
  PutWord(&b, bDot);
  PutWord(&b, align);
  uint32_t result = CallWord(RELAY_OP_Osd_PutS, &b);
  free(b.data);
  return (int)result;
}

/* Plane 0 as the recorder shows it, copied into the shared memory file at
 * each call: the application reads it through the frame buffer. */
static dword* plane0;

int TAP_Osd_GetPlaneBaseInfo(TYPE_OsdBaseInfo* info, int plane) {
  Msg r;
  Buf b = {0, 0, 0};
  PutWord(&b, info != 0);
  PutWord(&b, (uint32_t)plane);
  Call(RELAY_OP_Osd_GetPlaneBaseInfo, &b, &r);
  free(b.data);
  int result = (int)GetWord(&r);
  int hasBuffer = (int)GetWord(&r);
  dword width = GetWord(&r), height = GetWord(&r);
  free(r.data);
  if (info) {
    info->frameBuffer = hasBuffer ? plane0 : 0;
    info->width = width;
    info->height = height;
  }
  return result;
}

/* ------------------------------------------------------------ disk */

static HostFile* HostOf(TYPE_File* f) { return (HostFile*)f; }

static void PutFile(Buf* b, TYPE_File* f) {
  PutWord(b, f ? HostOf(f)->remoteLow : 0);
  PutWord(b, f ? HostOf(f)->remoteHigh : 0);
}

int TAP_Hdd_ChangeDir(const char* dir) { return (int)CallString(RELAY_OP_Hdd_ChangeDir, dir); }

TYPE_File* TAP_Hdd_Fopen(const char* name) {
  Buf b = {0, 0, 0};
  PutString(&b, name);
  Msg r;
  Call(RELAY_OP_Hdd_Fopen, &b, &r);
  free(b.data);
  HostFile* f = 0;
  uint32_t low = GetWord(&r), high = GetWord(&r);
  if (low || high) {
    f = (HostFile*)calloc(1, sizeof *f);
    if (!f) Die("out of memory");
    uint32_t n;
    const uint8_t* p = GetBlob(&r, &n);
    if (p) memcpy(&f->file, p, n < sizeof f->file ? n : sizeof f->file);
    f->remoteLow = low;
    f->remoteHigh = high;
  }
  free(r.data);
  return f ? &f->file : 0;
}

dword TAP_Hdd_Fread(void* buf, dword blksize, dword blcnt, TYPE_File* file) {
  Buf b = {0, 0, 0};
  PutFile(&b, file);
  PutWord(&b, buf != 0);
  PutWord(&b, blksize);
  PutWord(&b, blcnt);
  Msg r;
  Call(RELAY_OP_Hdd_Fread, &b, &r);
  free(b.data);
  dword result = GetWord(&r);
  uint32_t n;
  const uint8_t* p = GetBlob(&r, &n);
  if (buf && p) memcpy(buf, p, n);
  free(r.data);
  return result;
}

dword TAP_Hdd_Fwrite(const void* buf, dword blksize, dword blcnt, TYPE_File* file) {
  Buf b = {0, 0, 0};
  PutFile(&b, file);
  PutWord(&b, buf != 0);
  PutWord(&b, blksize);
  PutWord(&b, blcnt);
  PutBlob(&b, buf, buf ? blksize * blcnt : 0);
  uint32_t result = CallWord(RELAY_OP_Hdd_Fwrite, &b);
  free(b.data);
  return result;
}

static uint32_t CallFile(uint32_t op, TYPE_File* file, int count, uint32_t w0, uint32_t w1) {
  Buf b = {0, 0, 0};
  PutFile(&b, file);
  if (count > 0) PutWord(&b, w0);
  if (count > 1) PutWord(&b, w1);
  uint32_t result = CallWord(op, &b);
  free(b.data);
  return result;
}

dword TAP_Hdd_Fseek(TYPE_File* file, long pos, dword where) {
  return CallFile(RELAY_OP_Hdd_Fseek, file, 2, (uint32_t)pos, where);
}
dword TAP_Hdd_Ftell(TYPE_File* file) { return CallFile(RELAY_OP_Hdd_Ftell, file, 0, 0, 0); }
dword TAP_Hdd_Flen(TYPE_File* file) { return CallFile(RELAY_OP_Hdd_Flen, file, 0, 0, 0); }

void TAP_Hdd_Fclose(TYPE_File* file) {
  CallFile(RELAY_OP_Hdd_Fclose, file, 0, 0, 0);
  free(file);
}

dword TAP_Hdd_Create(const char* name, byte attr) {
  Buf b = {0, 0, 0};
  PutString(&b, name);
  PutWord(&b, attr);
  uint32_t result = CallWord(RELAY_OP_Hdd_Create, &b);
  free(b.data);
  return result;
}

int TAP_Hdd_Delete(const char* name) { return (int)CallString(RELAY_OP_Hdd_Delete, name); }
int TAP_Hdd_Exist(const char* name) { return (int)CallString(RELAY_OP_Hdd_Exist, name); }

int TAP_Hdd_Rename(const char* oldName, const char* newName) {
  Buf b = {0, 0, 0};
  PutString(&b, oldName);
  PutString(&b, newName);
  uint32_t result = CallWord(RELAY_OP_Hdd_Rename, &b);
  free(b.data);
  return (int)result;
}

/* Calls that fill a record of the same layout on both sides. */
static uint32_t CallRecord(uint32_t op, const Buf* args, void* record, uint32_t size) {
  Msg r;
  Call(op, args, &r);
  uint32_t result = GetWord(&r);
  uint32_t n;
  const uint8_t* p = GetBlob(&r, &n);
  if (record && p) memcpy(record, p, n < size ? n : size);
  free(r.data);
  return result;
}

dword TAP_Hdd_FindFirst(TYPE_DirEntry* entry, const char* ext) {
  Buf b = {0, 0, 0};
  PutWord(&b, entry != 0);
  PutString(&b, ext);
  uint32_t result = CallRecord(RELAY_OP_Hdd_FindFirst, &b, entry, sizeof *entry);
  free(b.data);
  return result;
}

dword TAP_Hdd_FindNext(TYPE_DirEntry* entry) {
  Buf b = {0, 0, 0};
  PutWord(&b, entry != 0);
  uint32_t result = CallRecord(RELAY_OP_Hdd_FindNext, &b, entry, sizeof *entry);
  free(b.data);
  return result;
}

dword TAP_Hdd_FreeSize(void) { return Call0(RELAY_OP_Hdd_FreeSize); }
dword TAP_Hdd_TotalSize(void) { return Call0(RELAY_OP_Hdd_TotalSize); }

/* ------------------------------------------------------- playback, recording */

int TAP_Hdd_PlayTs(const char* name) { return (int)CallString(RELAY_OP_Hdd_PlayTs, name); }
int TAP_Hdd_StopTs(void) { return (int)Call0(RELAY_OP_Hdd_StopTs); }

/* The play information names its file through a pointer: the host keeps the
 * directory entry it points to. */
static TYPE_DirEntry playEntry;

int TAP_Hdd_GetPlayInfo(TYPE_PlayInfo* info) {
  Buf b = {0, 0, 0};
  PutWord(&b, info != 0);
  Msg r;
  Call(RELAY_OP_Hdd_GetPlayInfo, &b, &r);
  free(b.data);
  int result = (int)GetWord(&r);
  uint32_t n, m;
  const uint8_t* p = GetBlob(&r, &n);
  int hasFile = (int)GetWord(&r);
  const uint8_t* e = GetBlob(&r, &m);
  if (info && p) {
    memcpy(info, p, n < sizeof *info ? n : sizeof *info);
    if (hasFile && e) memcpy(&playEntry, e, m < sizeof playEntry ? m : sizeof playEntry);
    info->file = hasFile ? &playEntry : 0;
  }
  free(r.data);
  return result;
}

int TAP_Hdd_ChangePlaybackPos(dword block) {
  return (int)CallWords(RELAY_OP_Hdd_ChangePlaybackPos, 1, block);
}

int TAP_Hdd_GetRecInfo(byte slot, TYPE_RecInfo* info) {
  Buf b = {0, 0, 0};
  PutWord(&b, slot);
  PutWord(&b, info != 0);
  uint32_t result = CallRecord(RELAY_OP_Hdd_GetRecInfo, &b, info, sizeof *info);
  free(b.data);
  return (int)result;
}

int TAP_Hdd_StopRecord(byte slot) { return (int)CallWords(RELAY_OP_Hdd_StopRecord, 1, slot); }
int TAP_Hdd_SetBookmark(void) { return (int)Call0(RELAY_OP_Hdd_SetBookmark); }

/* ------------------------------------------------------------ channels */

static int CallTwoOut(uint32_t op, int* a, int* b) {
  Msg r;
  Call(op, 0, &r);
  int result = (int)GetWord(&r);
  int x = (int)GetWord(&r), y = (int)GetWord(&r);
  free(r.data);
  if (a) *a = x;
  if (b) *b = y;
  return result;
}

void TAP_Channel_GetTotalNum(int* nTvSvc, int* nRadioSvc) {
  CallTwoOut(RELAY_OP_Channel_GetTotalNum, nTvSvc, nRadioSvc);
}

int TAP_Channel_GetInfo(int svcType, int svcNum, TYPE_TapChInfo* info) {
  Buf b = {0, 0, 0};
  PutWord(&b, (uint32_t)svcType);
  PutWord(&b, (uint32_t)svcNum);
  PutWord(&b, info != 0);
  uint32_t result = CallRecord(RELAY_OP_Channel_GetInfo, &b, info, sizeof *info);
  free(b.data);
  return (int)result;
}

int TAP_Channel_GetCurrent(int* svcType, int* svcNum) {
  return CallTwoOut(RELAY_OP_Channel_GetCurrent, svcType, svcNum);
}

int TAP_Channel_Start(int mainSub, int svcType, int svcNum) {
  return (int)CallWords(RELAY_OP_Channel_Start, 3, (uint32_t)mainSub, (uint32_t)svcType,
                        (uint32_t)svcNum);
}

int TAP_Channel_IsStarted(int mainSub) {
  return (int)CallWords(RELAY_OP_Channel_IsStarted, 1, (uint32_t)mainSub);
}

int TAP_Timer_GetTotalNum(void) { return (int)Call0(RELAY_OP_Timer_GetTotalNum); }

int TAP_Timer_GetInfo(int entryNum, TYPE_TimerInfo* info) {
  Buf b = {0, 0, 0};
  PutWord(&b, (uint32_t)entryNum);
  PutWord(&b, info != 0);
  uint32_t result = CallRecord(RELAY_OP_Timer_GetInfo, &b, info, sizeof *info);
  free(b.data);
  return (int)result;
}

int TAP_StartApplication(const char* fileName) {
  return (int)CallString(RELAY_OP_StartApplication, fileName);
}

/* ------------------------------------------------------- firmware internals */

byte GetAnalogEncoderState(void) __asm__("_Z26Appl_GetAnalogEncoderStatev");
void AnalogChangeAction(void) __asm__("_Z23Appl_AnalogChangeActionv");
void SetAnalogEncoderMode(byte mode) __asm__("_Z25Appl_SetAnalogEncoderModeh");
int StartPlaybackMedia(const char* name, dword a, int b,
                       int c) __asm__("_Z23Appl_StartPlaybackMediaPKcjbb");
int ExecProgram(char* name) __asm__("_Z16Appl_ExecProgramPc");
void SaveWorkFolder(void) __asm__("_Z22ApplHdd_SaveWorkFolderv");
void RestoreWorkFolder(void) __asm__("_Z25ApplHdd_RestoreWorkFolderv");
void SetWorkFolder(void* record) __asm__("_Z21ApplHdd_SetWorkFolderPv");
dword SelectFolder(void* record, const char* path) __asm__("_Z20ApplHdd_SelectFolderPvPKc");
void ConvertToValidUTF8Str(unsigned char* text, int n) __asm__("_Z26Appl_ConvertToValidUTF8StrPhi");
dword PvrTimeToLinux(dword stamp);

byte GetAnalogEncoderState(void) { return (byte)Call0(RELAY_OP_GetAnalogEncoderState); }
void AnalogChangeAction(void) { Call0(RELAY_OP_AnalogChangeAction); }
void SetAnalogEncoderMode(byte mode) { CallWords(RELAY_OP_SetAnalogEncoderMode, 1, mode); }

/* Plays a file of the media folder, which the application put into
 * _hddDivxFolder: the record goes with the call. */
int StartPlaybackMedia(const char* name, dword a, int b, int c) {
  Buf buf = {0, 0, 0};
  PutString(&buf, name);
  PutWord(&buf, a);
  PutWord(&buf, (uint32_t)(b & 0xFF));
  PutWord(&buf, (uint32_t)(c & 0xFF));
  PutBlob(&buf, hddDivxFolder, sizeof hddDivxFolder);
  uint32_t result = CallWord(RELAY_OP_StartPlaybackMedia, &buf);
  free(buf.data);
  return (int)result;
}

int ExecProgram(char* name) { return (int)CallString(RELAY_OP_ExecProgram, name); }
void SaveWorkFolder(void) { Call0(RELAY_OP_SaveWorkFolder); }
void RestoreWorkFolder(void) { Call0(RELAY_OP_RestoreWorkFolder); }

void SetWorkFolder(void* record) {
  Buf b = {0, 0, 0};
  PutWord(&b, record != 0);
  PutBlob(&b, record, record ? 16 : 0);
  CallWord(RELAY_OP_SetWorkFolder, &b);
  free(b.data);
}

dword SelectFolder(void* record, const char* path) {
  Buf b = {0, 0, 0};
  PutWord(&b, record != 0);
  PutBlob(&b, record, record ? 16 : 0);
  PutString(&b, path);
  uint32_t result = CallRecord(RELAY_OP_SelectFolder, &b, record, 16);
  free(b.data);
  return result;
}

void ConvertToValidUTF8Str(unsigned char* text, int n) {
  Buf b = {0, 0, 0};
  PutString(&b, (const char*)text);
  PutWord(&b, (uint32_t)n);
  Msg r;
  Call(RELAY_OP_ConvertToValidUTF8Str, &b, &r);
  free(b.data);
  uint32_t len;
  const uint8_t* p = GetBlob(&r, &len);
  if (text && p) memcpy(text, p, len);
  free(r.data);
}

dword PvrTimeToLinux(dword stamp) { return CallWords(RELAY_OP_PvrTimeToLinux, 1, stamp); }

/* ------------------------------------------------------------ main */

int main(void) {
  plane0 = (dword*)mmap(0, OSD_WIDTH * OSD_HEIGHT * 4, PROT_READ | PROT_WRITE, MAP_SHARED,
                        RELAY_FD_PLANE0, 0);
  if (plane0 == MAP_FAILED) Die("cannot map plane 0");
  Send(RELAY_HELLO, 0, 0);
  for (;;) {
    Msg m;
    Receive(&m);
    ReadState(&m);
    if (m.head.kind != RELAY_EVENT) Die("unexpected message from the recorder");
    ServeEvent(&m);
    free(m.data);
  }
}
