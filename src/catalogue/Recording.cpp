// Services and recordings in progress, and a quick count of a folder's contents.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "catalogue/catalogue.h"
#include "catalogue/internal.h"

TYPE_RecInfo recInfo[4];

namespace {

// During a scan every header looks its service up, and the channel list does not
// change meanwhile: the identifiers are fetched once per scan instead of once per
// header. Outside a scan each look-up walks the list.
// The identifiers are kept sorted (with their channel numbers, the lower first
// for an identifier that repeats) so that each look-up is a binary search.
struct ServiceIds {
  int* ids = nullptr;  // pairs: service identifier, channel number
  int count = 0;
  bool filled = false;
};

int CompareIdPairs(const void* a, const void* b) {
  const int* x = (const int*)a;
  const int* y = (const int*)b;
  if (x[0] != y[0]) return x[0] < y[0] ? -1 : 1;
  return x[1] < y[1] ? -1 : x[1] > y[1];
}
ServiceIds serviceIds[2];  // TV, radio
int lookupNesting;

int WalkServices(int serviceId, int type) {
  int tv = 0, radio = 0;
  TAP_Channel_GetTotalNum(&tv, &radio);
  int count = type == SVC_TYPE_Tv ? tv : radio;
  for (int i = 0; i < count; i++) {
    TYPE_TapChInfo info;
    memset(&info, 0, sizeof info);
    if (TAP_Channel_GetInfo(type, i, &info) && info.svcId == serviceId) return i;
  }
  return -1;
}

}  // namespace

void BeginServiceLookups(void) { lookupNesting++; }

void EndServiceLookups(void) {
  if (lookupNesting > 0 && --lookupNesting > 0) return;
  for (ServiceIds& s : serviceIds) {
    if (s.ids) TAP_MemFree(s.ids);
    s = ServiceIds();
  }
}

int GetSvcNumBySvcId(int serviceId, int serviceType) {
  int type = serviceType == 0 ? SVC_TYPE_Tv : SVC_TYPE_Radio;
  ServiceIds& cache = serviceIds[type];
  if (lookupNesting > 0 && !cache.filled) {
    int tv = 0, radio = 0;
    TAP_Channel_GetTotalNum(&tv, &radio);
    int count = type == SVC_TYPE_Tv ? tv : radio;
    cache.filled = true;
    cache.ids = count > 0 ? (int*)TAP_MemAlloc(sizeof(int) * 2 * count) : nullptr;
    cache.count = cache.ids ? count : 0;
    for (int i = 0; i < cache.count; i++) {
      TYPE_TapChInfo info;
      memset(&info, 0, sizeof info);
      cache.ids[2 * i] = TAP_Channel_GetInfo(type, i, &info) ? info.svcId : -1;
      cache.ids[2 * i + 1] = i;
    }
    if (cache.count > 1) qsort(cache.ids, cache.count, 2 * sizeof(int), CompareIdPairs);
  }
  if (cache.ids) {
    // The first pair with this identifier: the lowest channel number.
    int low = 0, high = cache.count;
    while (low < high) {
      int middle = (low + high) / 2;
      if (cache.ids[2 * middle] < serviceId) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low < cache.count && cache.ids[2 * low] == serviceId ? cache.ids[2 * low + 1] : -1;
  }
  return WalkServices(serviceId, type);
}

void GetRecordingInfo(void) {
  for (int slot = 0; slot < 4; slot++) {
    TYPE_RecInfo& info = recInfo[slot];
    memset(&info, 0, sizeof info);
    if (TAP_Hdd_GetRecInfo((byte)slot, &info) != 1 ||
        (info.recType != RECTYPE_Normal && info.recType != RECTYPE_Copy))
      info.fileName[0] = 0;
    info.fileName[sizeof info.fileName - 1] = 0;
  }
}

void LoadRecordingInfo(int n, int slot) {
  if (n < 0 || n >= MAX_FOLDERS || slot < 0 || slot >= MAX_SLOTS) return;
  FileRecord* r = FileSlot(n, slot);
  if (!r) return;
  for (const TYPE_RecInfo& info : recInfo) {
    if (!info.fileName[0] || strncmp(r->name, info.fileName, NAME_FIELD) != 0) continue;
    r->recordingNow = 1;
    if (r->serviceNumber != -1) r->serviceNumber = info.svcNum;
    r->serviceType = info.svcType;
    TYPE_TapChInfo channel;
    memset(&channel, 0, sizeof channel);
    if (TAP_Channel_GetInfo(info.svcType, info.svcNum, &channel))
      snprintf(r->serviceName, sizeof r->serviceName, "%.22s", channel.chName);
    r->durationMinutes = info.duration;
    r->recordedSeconds = info.recordedSec;
    r->stamp = info.startTime;
    r->eventStartMjd = info.startTime >> 16;
    r->eventStartHour = (info.startTime >> 8) & 255;
    r->eventStartMinute = info.startTime & 255;
    r->eventEndMjd = info.endTime >> 16;
    r->eventEndHour = (info.endTime >> 8) & 255;
    r->eventEndMinute = info.endTime & 255;
    return;
  }
  r->recordingNow = 0;
}

void CountFolderFilesAndSubfolders(const char* path, int* files, int* folders) {
  int fileCount = 0, folderCount = 0;
  if (path && TAP_Hdd_ChangeDir(path) == 1) {
    DirEntry entry;
    memset(&entry, 0, sizeof entry);
    int total = (int)TAP_Hdd_FindFirst(&entry, "*");
    int wanted = recycleWindowMode ? 2 : 1;
    for (int i = 0; i < total; i++) {
      if (i > 0 && !TAP_Hdd_FindNext(&entry)) break;
      entry.name[sizeof entry.name - 1] = 0;
      if (entry.attr == ATTRIBUTE_FOLDER)
        folderCount++;
      else if (entry.attr == ATTRIBUTE_FILE && IsFileRec(entry.name) == wanted)
        fileCount++;
    }
    TAP_Hdd_ChangeDir("..");
  }
  if (files) *files = fileCount;
  if (folders) *folders = folderCount;
}
