// fuzz.h - what the fuzz harnesses share: one emulated recorder per process,
// booted on a fresh temporary disk before the first input, and files put on
// that disk the way another program or a damaged disk leaves them.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

namespace fuzz {

// Boots the emulated recorder on a new temporary disk (in /dev/shm unless
// TMPDIR names another place) that describes the
// emulated recorder (FirmwareTMS.dat); it is shut down and the disk removed
// when the process exits. Aborts when the machine gives no namespaces.
void BootOnce();
// BootOnce, then the application finds its settings and logo folders the way
// start-up does (the harnesses of the files kept there).
void BootWithSettingsFolder();
// Replaces the file at a firmware path ("/ProgramFiles/Settings/x.dat") with
// exactly these bytes.
void PutFile(const std::string& firmwarePath, const uint8_t* data, size_t size);

}  // namespace fuzz

// A finding of a harness's own check: print it and abort, so that libFuzzer
// keeps the input.
#define FUZZ_CHECK(condition)                                                       \
  do {                                                                              \
    if (!(condition)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      abort();                                                                      \
    }                                                                               \
  } while (0)
