// The firmware heap and the firmware's text output. The heap counts its blocks
// so that tests can see an application give back what it took.
//
// On the recorder every address fits a 32-bit word, and applications pass
// pointers to each other in the words of an event (a message record, a
// channel). On a 64-bit host the heap therefore lives in one region below
// 4 GB; where the host's addresses are 32-bit anyway it is the C library's.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "internal.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PVR_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PVR_ASAN 1
#endif
#ifdef PVR_ASAN
#include <sanitizer/asan_interface.h>
#define POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace fw {
namespace {

// Block sizes: four classes per power of two from 32 bytes, so that a block
// wastes at most a quarter of its size. Each block is followed by at least
// 16 unused bytes, kept poisoned under AddressSanitizer so that an overrun of
// a firmware block is caught as one of a C library block would be.
constexpr size_t kRedZone = 16;
constexpr int kClasses = 4 * 36;

size_t ClassSize(int c) { return (size_t)(4 + c % 4) << (c / 4 + 3); }

int ClassOf(size_t size) {
  for (int c = 0; c < kClasses; c++)
    if (ClassSize(c) >= size + kRedZone) return c;
  return -1;
}

struct LowHeap {
  char* base = nullptr;
  size_t capacity = 0;
  size_t used = 0;
  std::vector<void*> free[kClasses];

  LowHeap() {
#if UINTPTR_MAX > 0xFFFFFFFFu && defined(MAP_32BIT)
    capacity = (size_t)1536 << 20;
    void* region = mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_32BIT, -1, 0);
    if (region == MAP_FAILED) {
      capacity = (size_t)512 << 20;
      region = mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_32BIT, -1, 0);
    }
    if (region == MAP_FAILED) {
      capacity = 0;
      return;
    }
    base = static_cast<char*>(region);
#endif
  }

  void* Take(size_t size) {
    if (!base) return malloc(size);
    int c = ClassOf(size);
    if (c < 0) return nullptr;
    void* block;
    if (!free[c].empty()) {
      block = free[c].back();
      free[c].pop_back();
    } else {
      if (capacity - used < ClassSize(c)) return nullptr;
      block = base + used;
      used += ClassSize(c);
      POISON(block, ClassSize(c));
    }
    UNPOISON(block, size);
    return block;
  }

  void Give(void* block, size_t size) {
    if (!base) {
      ::free(block);
      return;
    }
    int c = ClassOf(size);
    POISON(block, ClassSize(c));
    free[c].push_back(block);
  }
};

LowHeap& Heap() {
  static LowHeap heap;
  return heap;
}

// Every block given out, with the size asked for.
std::unordered_map<const void*, size_t>& Blocks() {
  static std::unordered_map<const void*, size_t> blocks;
  return blocks;
}
std::string console;
long allocationsLeft = -1;  // -1: no limit

}  // namespace

void ResetMemory() {
  console.clear();
  allocationsLeft = -1;
}

}  // namespace fw

namespace emu {
void LimitAllocations(long count) { fw::allocationsLeft = count < 0 ? -1 : count; }
}  // namespace emu

extern "C" {

void* TAP_MemAlloc(dword size) {
  if (fw::allocationsLeft == 0) return nullptr;
  if (fw::allocationsLeft > 0) fw::allocationsLeft--;
  size_t want = size ? size : 1;
  void* block = fw::Heap().Take(want);
  if (block) fw::Blocks()[block] = want;
  return block;
}

int TAP_MemFree(const void* block) {
  if (!block) return 0;
  auto it = fw::Blocks().find(block);
  // A block the heap never gave out is refused instead of corrupting it.
  if (it == fw::Blocks().end()) return 0;
  size_t size = it->second;
  fw::Blocks().erase(it);
  fw::Heap().Give(const_cast<void*>(block), size);
  return 1;
}

void TAP_MemSet(void* block, byte value, dword size) {
  if (block) memset(block, value, size);
}

void TAP_MemCpy(void* dst, const void* src, dword size) {
  if (dst && src) memmove(dst, src, size);
}

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
  fw::console += buf;
  return n;
}

}  // extern "C"

namespace emu {

size_t AllocatedBlocks() { return fw::Blocks().size(); }

std::string ConsoleOutput() { return fw::console; }

}  // namespace emu
