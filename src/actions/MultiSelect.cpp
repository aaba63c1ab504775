// The multi-selection: files picked across folders, in the order picked.
#include <stdio.h>
#include <string.h>

#include "actions/actions.h"
#include "app/app.h"
#include "tap.h"
#include "tap_keys.h"
#include "ui/ListScreen.h"

MultiSelectItem* MultiSelect;

void MultiSelectClearFirst() {
  MultiSelectItem* first = MultiSelect;
  if (!first) return;
  MultiSelect = first->next;
  TAP_MemFree(first);
}

void MultiSelectClearAll() {
  while (MultiSelect) MultiSelectClearFirst();
}

int MultiSelectCount() {
  int count = 0;
  for (MultiSelectItem* item = MultiSelect; item; item = item->next) count++;
  return count;
}

int MultiSelectPosition(int folder, int entry) {
  int position = 1;
  for (MultiSelectItem* item = MultiSelect; item; item = item->next, position++) {
    if (item->folderNumber == folder && item->entryIndex == entry) return position;
  }
  return 0;
}

namespace {

// Appends an item for a line; false when memory ran out.
bool Append(int folder, int entry, const FileRecord* line) {
  MultiSelectItem* item = static_cast<MultiSelectItem*>(TAP_MemAlloc(sizeof(MultiSelectItem)));
  if (!item) return false;
  memset(item, 0, sizeof *item);
  item->inode = line->inode;
  snprintf(item->name, sizeof item->name, "%.126s", line->name);
  item->folderNumber = folder;
  item->entryIndex = entry;
  MultiSelectItem** tail = &MultiSelect;
  while (*tail) tail = &(*tail)->next;
  *tail = item;
  return true;
}

}  // namespace

void MultiSelectToggle() {
  if (chosenLine < 1) return;
  FileRecord* line = FileSlot(CurrentDirNumber, chosenLine);
  if (!line || line->attribute != ATTRIBUTE_FILE || line->recordingNow) return;
  if (line->playingNow && inPlaybackMode) return;
  for (MultiSelectItem** link = &MultiSelect; *link; link = &(*link)->next) {
    MultiSelectItem* item = *link;
    if (item->folderNumber == CurrentDirNumber && item->entryIndex == chosenLine &&
        item->inode == line->inode) {
      *link = item->next;
      TAP_MemFree(item);
      RefreshQuembryList(0);
      TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(RKEY_ChDown), 0);
      return;
    }
  }
  Append(CurrentDirNumber, chosenLine, line);
  RefreshQuembryList(0);
  TAP_GenerateEvent(EVT_KEY, KeyReverseTranslate(RKEY_ChDown), 0);
}

void MultiSelect_CheckFileNumber(MultiSelectItem* item) {
  if (!item || item->folderNumber < 0 || item->folderNumber >= MAX_FOLDERS) return;
  FolderRecord* folder = myfolders[item->folderNumber];
  if (!folder) return;
  FileRecord* line = item->entryIndex > 0 && item->entryIndex < MAX_SLOTS
                         ? FileSlot(item->folderNumber, item->entryIndex)
                         : nullptr;
  if (line && strncmp(line->name, item->name, NAME_FIELD) == 0) return;
  for (int j = 1; j <= folder->entryCount && j < MAX_SLOTS; j++) {
    FileRecord* candidate = FileSlot(item->folderNumber, j);
    if (candidate && strncmp(candidate->name, item->name, NAME_FIELD) == 0) {
      item->entryIndex = j;
      return;
    }
  }
}

void ReturnFromMultiSelectAllYesNo(int answer) {
  if (answer != 1) return;
  int count = myfolders[CurrentDirNumber] ? myfolders[CurrentDirNumber]->entryCount : 0;
  for (int j = 1; j <= count && j < MAX_SLOTS; j++) {
    FileRecord* line = FileSlot(CurrentDirNumber, j);
    if (!line || line->attribute != ATTRIBUTE_FILE) continue;
    if (MultiSelectPosition(CurrentDirNumber, j)) continue;  // never twice
    if (!Append(CurrentDirNumber, j, line)) break;
  }
  RefreshQuembryList(0);
}
