#include <elf.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include "lib/lib.h"

namespace {

// The machine of the running firmware, read from its own program file; an
// image built for another CPU cannot be loaded.
int FirmwareMachine() {
  static int machine = -1;
  if (machine >= 0) return machine;
  unsigned char ident[20];
  int fd = open("/proc/self/exe", O_RDONLY);
  machine = 0;
  if (fd >= 0) {
    if (read(fd, ident, sizeof ident) == (ssize_t)sizeof ident &&
        memcmp(ident, ELFMAG, SELFMAG) == 0)
      machine = ident[18] | ident[19] << 8;
    close(fd);
  }
  return machine;
}

bool ReadAt(TYPE_File* file, uint64_t position, void* buffer, dword size) {
  if (position + size > TAP_Hdd_Flen(file)) return false;
  TAP_Hdd_Fseek(file, (long)position, SEEK_SET);
  return TAP_Hdd_Fread(buffer, size, 1, file) == 1;
}

// One section header, in either ELF class (little-endian only: the recorder's
// CPU and the PC are both little-endian).
struct Section {
  dword name;
  uint64_t offset;
  uint64_t size;
};

bool ReadSection(TYPE_File* file, bool wide, uint64_t table, dword entrySize, dword index,
                 Section* out) {
  if (wide) {
    Elf64_Shdr s;
    if (entrySize < sizeof s || !ReadAt(file, table + (uint64_t)index * entrySize, &s, sizeof s))
      return false;
    *out = {s.sh_name, s.sh_offset, s.sh_size};
  } else {
    Elf32_Shdr s;
    if (entrySize < sizeof s || !ReadAt(file, table + (uint64_t)index * entrySize, &s, sizeof s))
      return false;
    *out = {s.sh_name, s.sh_offset, s.sh_size};
  }
  return true;
}

bool FindHeader(TYPE_File* file, TYPE_TapHeader* header) {
  unsigned char ident[EI_NIDENT];
  if (!ReadAt(file, 0, ident, sizeof ident) || memcmp(ident, ELFMAG, SELFMAG) != 0) return false;
  if (ident[EI_DATA] != ELFDATA2LSB) return false;
  bool wide = ident[EI_CLASS] == ELFCLASS64;
  if (!wide && ident[EI_CLASS] != ELFCLASS32) return false;
  uint64_t table;
  dword entrySize, count, names;
  int machine;
  if (wide) {
    Elf64_Ehdr e;
    if (!ReadAt(file, 0, &e, sizeof e)) return false;
    table = e.e_shoff, entrySize = e.e_shentsize, count = e.e_shnum, names = e.e_shstrndx;
    machine = e.e_machine;
  } else {
    Elf32_Ehdr e;
    if (!ReadAt(file, 0, &e, sizeof e)) return false;
    table = e.e_shoff, entrySize = e.e_shentsize, count = e.e_shnum, names = e.e_shstrndx;
    machine = e.e_machine;
  }
  if (machine != FirmwareMachine() || names >= count || count > 4096) return false;
  Section nameTable;
  if (!ReadSection(file, wide, table, entrySize, names, &nameTable)) return false;
  for (dword i = 0; i < count; i++) {
    Section s;
    if (!ReadSection(file, wide, table, entrySize, i, &s)) return false;
    char name[13];
    if (s.name >= nameTable.size || !ReadAt(file, nameTable.offset + s.name, name, sizeof name))
      continue;
    if (memcmp(name, ".tap_header", 12) != 0) continue;
    return s.size >= sizeof *header && ReadAt(file, s.offset, header, sizeof *header) &&
           memcmp(header->magic, TAP_HEADER_MAGIC, 8) == 0;
  }
  return false;
}

}  // namespace

bool HDD_TAP_GetInfo(const char* fileName, TYPE_TapHeader* header) {
  if (!fileName || !header) return false;
  TYPE_File* file = TAP_Hdd_Fopen(fileName);
  if (!file) return false;
  bool found = FindHeader(file, header);
  TAP_Hdd_Fclose(file);
  if (!found) memset(header, 0, sizeof *header);
  // Texts of a foreign image need not be terminated.
  header->programName[sizeof header->programName - 1] = 0;
  header->authorName[sizeof header->authorName - 1] = 0;
  header->description[sizeof header->description - 1] = 0;
  header->etcInfo[sizeof header->etcInfo - 1] = 0;
  return found;
}
