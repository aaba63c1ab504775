// The six orders of the list: stable passes of bubble sort over the shown folder.
#include <string.h>

#include "catalogue/catalogue.h"

int sortOrder;
char sortTitle[20];

namespace {

const char* const kTitles[2][6] = {
    {"[by date]", "[by name]", "[by channel]", "[by size]", "[by trim]", "[by reverse]"},
    {"[nach Datum]", "[nach Name]", "[nach Sender]", "[nach Groesse]", "[nach Kurzname]",
     "[umgekehrt]"}};

const char* Key(const FileRecord* r, bool bySortName) {
  const char* key = bySortName ? r->sortName : r->name;
  return key[0] == '[' ? key + 1 : key;
}

bool IsFile(const FileRecord* r) { return r->attribute == ATTRIBUTE_FILE; }

// Whether the neighbours a, b (in this order) are to be swapped by pass `pass`.
bool Swap(int pass, const FileRecord* a, const FileRecord* b) {
  switch (pass) {
    case 'n':
    case 't': {
      int c = strcmp(Key(a, pass == 't'), Key(b, pass == 't'));
      return c > 0 || (c == 0 && b->stamp < a->stamp);
    }
    case 0:
      return IsFile(a) && (!IsFile(b) || b->stamp < a->stamp);
    case 5:
      return IsFile(a) && (!IsFile(b) || b->stamp > a->stamp);
    case 2:
      return b->serviceNumber < a->serviceNumber;
    case 3:
      return a->size > b->size;
    default:  // line kinds: parent, folders, files
      return b->attribute > a->attribute;
  }
}

// Bubble sort keeps equal entries in the order of the previous pass. Empty slots
// stay where they are.
void Pass(FileRecord** slots, int n, int pass) {
  bool holes = false;
  for (int j = 1; j <= n; j++) holes = holes || !slots[j];
  bool swapped = true;
  // Each sweep settles the greatest entry at the end, unless holes split the range.
  for (int last = n; swapped && last > 1; last -= holes ? 0 : 1) {
    swapped = false;
    for (int j = 1; j < last; j++) {
      FileRecord* a = slots[j];
      FileRecord* b = slots[j + 1];
      if (a && b && Swap(pass, a, b)) {
        slots[j] = b;
        slots[j + 1] = a;
        swapped = true;
      }
    }
  }
}

}  // namespace

void SortList(int order) {
  int language = TextLanguage == 1 ? 1 : 0;
  FolderRecord* folder =
      CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS ? myfolders[CurrentDirNumber]
                                                               : nullptr;
  strcpy(sortTitle, kTitles[language][order == 4 ? 4 : 1]);
  if (folder) {
    int n = folder->entryCount;
    if (n > MAX_FOLDER_LINES) n = MAX_FOLDER_LINES;
    FileRecord** slots = &myfiles[CurrentDirNumber * MAX_SLOTS];
    Pass(slots, n, order == 4 ? 't' : 'n');
    if (order == 0 || order == 2 || order == 3 || order == 5) Pass(slots, n, order);
    Pass(slots, n, 'k');
  }
  if (order == 0 || order == 2 || order == 3 || order == 5)
    strcpy(sortTitle, kTitles[language][order]);
  for (MultiSelectItem* item = MultiSelect; item; item = item->next)
    MultiSelect_CheckFileNumber(item);
}
