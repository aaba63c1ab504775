#include "lib/lib.h"

unsigned long long LogoManager_CalculateChannelID(word a, word b, word c, word d) {
  unsigned long long high = (unsigned long long)a << 16 | b;
  // A transport stream number with its top bit set marks a service without a
  // broadcast identity of its own: the upper half then carries no satellite
  // or network.
  if (c & 0x8000) high = 0xFFFFFFFFull;
  return high << 32 | (unsigned long long)c << 16 | d;
}
