// The six orders of the list: stable passes of bubble sort over the shown folder.
#include <string.h>

#include "catalogue/catalogue.h"

int sortOrder;
char sortTitle[20];

namespace {

const char* const kTitles[2][6] = {
    {"[by date]", "[by name]", "[by channel]", "[by size]", "[by trim]", "[by reverse]"},
    {"[nach Datum]", "[nach Name]", "[nach Sender]",
     "[nach Gr\xF6\xDF"
     "e]",
     "[nach Kurzname]", "[umgekehrt]"}};

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

// One pass: a stable sort, so that entries the pass considers equal keep the order of
// the previous pass. The result is the one repeated sweeps of swapping neighbours
// would give; merging gets there in n log n steps rather than n * n. Empty slots
// would stop the sweeps as barriers; with any present the sweeps are used as such.
FileRecord* mergeBuffer[MAX_SLOTS];

void Sweeps(FileRecord** slots, int n, int pass) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int j = 1; j < n; j++) {
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

void Pass(FileRecord** slots, int n, int pass) {
  for (int j = 1; j <= n; j++) {
    if (!slots[j]) {
      Sweeps(slots, n, pass);
      return;
    }
  }
  FileRecord** a = slots + 1;  // a[0 .. n-1]
  for (int width = 1; width < n; width *= 2) {
    for (int lo = 0; lo < n - width; lo += 2 * width) {
      int mid = lo + width, hi = lo + 2 * width < n ? lo + 2 * width : n;
      int i = lo, j = mid, k = 0;
      // The right-hand entry goes first only when the pair would be swapped.
      while (i < mid && j < hi) mergeBuffer[k++] = Swap(pass, a[i], a[j]) ? a[j++] : a[i++];
      while (i < mid) mergeBuffer[k++] = a[i++];
      while (j < hi) mergeBuffer[k++] = a[j++];
      memcpy(a + lo, mergeBuffer, k * sizeof *a);
    }
  }
}

}  // namespace

void SortList(int order) {
  int language = TextLanguage == 1 ? 1 : 0;
  FolderRecord* folder = CurrentDirNumber >= 0 && CurrentDirNumber < MAX_FOLDERS
                             ? myfolders[CurrentDirNumber]
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
