// The text functions of the support library on any bytes, each destination a
// heap buffer of exactly the size its contract promises, so that one byte
// written or read past it is caught. The first input byte picks flags and
// character tables; the rest is the text.
#include <string.h>

#include <vector>

#include "emu.h"
#include "fuzz.h"
#include "lib/lib.h"

namespace {

// A heap copy of `text` with its terminator and not one byte more.
char* Copy(const std::string& text) {
  char* copy = (char*)malloc(text.size() + 1);
  memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

void Encodings(const std::string& text, byte table) {
  char* source = Copy(text);
  // A text that is the selector's first byte alone begins 0x10 0x00 and would
  // be read behind its zero: its caller must give the table byte (below).
  if (text != "\x10") {
    dword size = StrToUTF8Size(source);
    char* utf8 = (char*)malloc(size);
    StrToUTF8(source, utf8, table);
    FUZZ_CHECK(strlen(utf8) < size);
    free(utf8);
  }

  char* iso = (char*)malloc(text.size() + 1);
  StrToISO(source, iso);
  FUZZ_CHECK(strlen(iso) <= strlen(source));
  char* inPlace = Copy(text);
  FUZZ_CHECK(StrMkISO(inPlace));
  FUZZ_CHECK(strcmp(inPlace, iso) == 0);
  char* allocated = nullptr;
  StrToISOAlloc(source, &allocated);
  FUZZ_CHECK(allocated && strcmp(allocated, iso) == 0);
  TAP_MemFree(allocated);
  free(inPlace);
  free(iso);

  bool latin = false, utf = false;
  GetStringEncoding(source, &latin, &utf);
  dword characters = strlenUC(source);
  FUZZ_CHECK(characters <= strlen(source));
  const char* start = SkipCharTableBytes((const char*)source);
  FUZZ_CHECK(start >= source && start <= source + strlen(source));
  char* at = GetUCPos(source, (int)(table % (characters + 2)));
  FUZZ_CHECK(at >= source && at <= source + strlen(source));
  for (const char* p = start; *p;) {
    byte length = 0;
    dword code = UTF8ToUTF32(p, &length);
    FUZZ_CHECK(length >= 1 && length <= 4 && strnlen(p, length) == length);
    byte again = 0;
    UTF32ToUTF8(code, nullptr, &again);
    FUZZ_CHECK(again >= 1 && again <= 4);
    isUTF8Char(p, &length);
    p += length;
  }
  char* lower = Copy(text);
  LowerCase(lower);
  FUZZ_CHECK(strlen(lower) == text.size());
  free(lower);

  char logo[32];
  char* logoName = (char*)malloc(sizeof logo);
  LogoManager_ChannelNameToLogoName(source, logoName, (int)sizeof logo);
  FUZZ_CHECK(strlen(logoName) < sizeof logo);
  free(logoName);

  // Edits within the room the caller promises.
  if (characters > 0) {
    char* edited = (char*)malloc(text.size() + 1 + 8);
    memcpy(edited, source, text.size() + 1);
    InsertAt(edited, (int)(table % characters), "\xc3\xa4xyz");
    DeleteAt(edited, (int)(table % characters), 1 + table % 3);
    free(edited);
  }
  free(source);
}

void Paths(std::string path, int flags) {
  if (path.size() >= PATH_BUFFER_SIZE) path.resize(PATH_BUFFER_SIZE - 1);
  char* source = Copy(path);
  char* folder = (char*)malloc(PATH_BUFFER_SIZE);
  char* name = (char*)malloc(PATH_BUFFER_SIZE);
  char* extension = (char*)malloc(PATH_BUFFER_SIZE);
  int index = 0;
  bool recording = false, recycled = false;
  SeparateFileNameComponents(source, folder, name, extension, &index, &recording, &recycled);
  FUZZ_CHECK(strlen(folder) < PATH_BUFFER_SIZE && strlen(name) < PATH_BUFFER_SIZE &&
             strlen(extension) < PATH_BUFFER_SIZE);
  SeparateFileNameComponents(source, nullptr, name, nullptr, nullptr, nullptr, nullptr);

  for (int form = PF_BareName; form <= PF_SystemFilePath; form++) {
    ConvertPathType(source, folder, form);
    FUZZ_CHECK(strlen(folder) < PATH_BUFFER_SIZE);
  }
  strcpy(folder, source);
  ConvertPathType(folder, folder, flags % 5);  // in place
  GetPathType(source);
  StringEndsWith(source, ".rec");
  HDD_isRecFileName(source);

  // A file name made valid in place and into a destination of a given size.
  char* valid = Copy(path);
  MakeValidFileName(valid, flags);
  FUZZ_CHECK(strlen(valid) <= path.size());
  int size = 1 + flags % 64;
  char* destination = (char*)malloc(size);
  ValidFileName(source, flags, destination, size);
  FUZZ_CHECK((int)strlen(destination) < size);
  free(destination);
  free(valid);
  for (const char* p = source; *p; p++) isLegalChar(p, flags);

  // Replacement in a buffer with room for the worst case.
  size_t room = path.size() * 3 + 1;
  char* replaced = (char*)malloc(room);
  memcpy(replaced, source, path.size() + 1);
  StrReplace(replaced, "a", "xyz");
  FUZZ_CHECK(strlen(replaced) < room);
  free(replaced);
  free(extension);
  free(name);
  free(folder);
  free(source);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::BootOnce();  // the work buffers come from the recorder's heap
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  byte selector = data[0];
  std::string text((const char*)data + 1, size - 1);
  text = text.substr(0, strlen(text.c_str()));  // a C string ends at its first zero
  Encodings(text, selector);
  // A source that starts 0x10 0x00 <table> is read behind its first zero, up
  // to its own terminator.
  if (size >= 4 && data[1] == 0x10 && data[2] == 0) {
    size_t end = 3;
    while (end < size && data[end]) end++;
    char* source = (char*)malloc(end);  // the bytes after the selector, and a terminator
    memcpy(source, data + 1, end - 1);
    source[end - 1] = 0;
    dword need = StrToUTF8Size(source);
    char* utf8 = (char*)malloc(need);
    StrToUTF8(source, utf8, selector);
    FUZZ_CHECK(strlen(utf8) < need);
    free(utf8);
    free(source);
  }
  Paths(text, selector);
  emu::ClearNetOutput();  // what the functions reported on the network output
  return 0;
}
