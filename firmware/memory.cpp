// The firmware heap and the firmware's text output. The heap counts its blocks
// so that tests can see an application give back what it took.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_set>

#include "internal.h"

namespace fw {
namespace {

std::unordered_set<const void*>& Blocks() {
  static std::unordered_set<const void*> blocks;
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
  void* block = malloc(size ? size : 1);
  if (block) fw::Blocks().insert(block);
  return block;
}

int TAP_MemFree(const void* block) {
  if (!block) return 0;
  auto it = fw::Blocks().find(block);
  // A block the heap never gave out is refused instead of corrupting it.
  if (it == fw::Blocks().end()) return 0;
  fw::Blocks().erase(it);
  free(const_cast<void*>(block));
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
