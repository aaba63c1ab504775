#include "lib/lib.h"

bool HDD_isRecFileName(const char* name) {
  return StringEndsWith(name, ".rec") || StringEndsWith(name, ".mpg");
}
