// The firmware heap and the firmware's text output. The heap counts its blocks
// so that tests can see an application give back what it took.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include <string>
#include <unordered_map>

#include "internal.h"

namespace fw {
namespace {

// The blocks given out, each with the heap memory it takes (header included).
std::unordered_map<const void*, size_t>& Blocks() {
  static std::unordered_map<const void*, size_t> blocks;
  return blocks;
}
size_t allocatedBytes = 0;
std::string console;
long allocationsLeft = -1;  // -1: no limit

#if defined(__SANITIZE_ADDRESS__)
#define PVR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PVR_ASAN 1
#endif
#endif
#ifdef PVR_ASAN
extern "C" void __asan_poison_memory_region(void const volatile*, size_t);
extern "C" void __asan_unpoison_memory_region(void const volatile*, size_t);
#define HEAP_NO_ASAN __attribute__((no_sanitize("address")))
#else
#define HEAP_NO_ASAN
#endif

// On the recorder every address fits in 32 bits, and applications pass the
// addresses of their records in the 32-bit parameters of events (messages to
// other applications). On a 64-bit host the heap therefore gives out memory
// from one range reserved below 4 GB: blocks behind a 16-byte header, in size
// classes of 16-byte steps up to 4 KB (records come in many exact sizes) and
// of powers of two above, reused through one free list per class. Under
// AddressSanitizer everything but the blocks given out stays poisoned.
class LowHeap {
 public:
  HEAP_NO_ASAN void* Alloc(size_t size) {
    // Without a range below 4 GB (a host that gives none) the C library's
    // heap serves; messages with records then cannot reach other applications.
    if (!Reserve()) return malloc(size);
    if (size > range_ - kHeader) return nullptr;
    int cls = ClassOf(size + kHeader);
    Header* h = free_[cls];
    if (h) {
      free_[cls] = h->next;
    } else {
      size_t bytes = BytesOf(cls);
      if (bytes > range_ - used_) return nullptr;
      h = reinterpret_cast<Header*>(base_ + used_);
      used_ += bytes;
    }
    h->cls = cls;
    h->next = nullptr;
    char* user = reinterpret_cast<char*>(h) + kHeader;
#ifdef PVR_ASAN
    __asan_unpoison_memory_region(user, size);
#endif
    return user;
  }

  // What a block of `size` bytes takes of the heap.
  static size_t Footprint(size_t size) { return BytesOf(ClassOf(size + kHeader)); }

  HEAP_NO_ASAN void Free(void* block) {
    char* at = static_cast<char*>(block);
    if (!base_ || at < base_ || at >= base_ + range_) {
      free(block);
      return;
    }
    Header* h = reinterpret_cast<Header*>(at - kHeader);
#ifdef PVR_ASAN
    __asan_poison_memory_region(block, BytesOf(h->cls) - kHeader);
#endif
    h->next = free_[h->cls];
    free_[h->cls] = h;
  }

 private:
  struct Header {
    Header* next;
    int cls;
  };
  static constexpr size_t kHeader = 16;
  static constexpr int kSmall = 256;  // classes of 16-byte steps: 16 .. 4096 bytes
  static constexpr int kClasses = kSmall + 20;

  static int ClassOf(size_t bytes) {
    size_t rounded = (bytes + 15) & ~size_t{15};
    if (rounded <= 4096) return static_cast<int>(rounded / 16) - 1;
    int cls = kSmall;
    while ((size_t{8192} << (cls - kSmall)) < rounded) cls++;
    return cls;
  }
  static size_t BytesOf(int cls) {
    return cls < kSmall ? static_cast<size_t>(cls + 1) * 16 : size_t{8192} << (cls - kSmall);
  }

  bool Reserve() {
    if (base_) return true;
    if (failed_) return false;
    failed_ = true;
    // Where every address fits 32 bits, the C library's heap serves as it is.
    if (sizeof(void*) <= 4) return false;
    int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
#ifdef MAP_32BIT
    flags |= MAP_32BIT;
#endif
    // As much as the low range gives: 1 GB, else a quarter of it.
    for (size_t range : {size_t{1} << 30, size_t{1} << 28}) {
      void* at =
          mmap(reinterpret_cast<void*>(0x10000000), range, PROT_READ | PROT_WRITE, flags, -1, 0);
      if (at == MAP_FAILED) continue;
      if (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(at)) + range > 0xFFFFFFFFull) {
        munmap(at, range);
        continue;
      }
      base_ = static_cast<char*>(at);
      range_ = range;
      failed_ = false;
#ifdef PVR_ASAN
      __asan_poison_memory_region(base_, range_);
#endif
      return true;
    }
    return false;
  }

  char* base_ = nullptr;
  size_t range_ = 0;
  bool failed_ = false;
  size_t used_ = 0;
  Header* free_[kClasses] = {};
};

LowHeap& Heap() {
  static LowHeap heap;
  return heap;
}

// Where addresses have 32 bits anyway the C library's heap serves.
void* AllocBlock(size_t size) {
  if (sizeof(void*) == 4) return malloc(size);
  return Heap().Alloc(size);
}

void FreeBlock(void* block) {
  if (sizeof(void*) == 4) {
    free(block);
  } else {
    Heap().Free(block);
  }
}

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
  void* block = fw::AllocBlock(size ? size : 1);
  if (block) {
    // The C library's heap (32-bit hosts) rounds to 8 bytes behind an 8-byte header.
    size_t footprint =
        sizeof(void*) == 4 ? ((size + 15) & ~size_t{7}) : fw::LowHeap::Footprint(size ? size : 1);
    fw::Blocks()[block] = footprint;
    fw::allocatedBytes += footprint;
  }
  return block;
}

int TAP_MemFree(const void* block) {
  if (!block) return 0;
  auto it = fw::Blocks().find(block);
  // A block the heap never gave out is refused instead of corrupting it.
  if (it == fw::Blocks().end()) return 0;
  fw::allocatedBytes -= it->second;
  fw::Blocks().erase(it);
  fw::FreeBlock(const_cast<void*>(block));
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

size_t AllocatedBytes() { return fw::allocatedBytes; }

std::string ConsoleOutput() { return fw::console; }

}  // namespace emu
