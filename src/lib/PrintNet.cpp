#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "lib/lib.h"

void PrintNet(const char* text) {
  if (!text) return;
  for (int i = 0; i < 20; i++) {
    char device[32];
    snprintf(device, sizeof device, "/dev/pts/%d", i);
    // Non-blocking: a terminal nobody reads must not stop the application.
    int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) continue;
    ssize_t written = write(fd, text, strlen(text) + 1);
    (void)written;
    close(fd);
    return;
  }
}
