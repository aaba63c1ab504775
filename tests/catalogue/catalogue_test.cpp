#include "catalogue_test.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

void CatalogueTest::SetUp() {
  RecorderTest::SetUp();
  disk = new testdisk::Disk(disk_);
  emu::SetClock(2026, 12, 7, 20, 0);
  tempFileSuffixOption = 0;
  TextLanguage = 0;
  ResetCatalogue();
}

void CatalogueTest::TearDown() {
  ReleaseCatalogue();
  delete disk;
  RecorderTest::TearDown();
}

void CatalogueTest::ResetCatalogue() {
  ASSERT_EQ(InitialiseCatalogue(), 0);
  strcpy(myfolders[0]->name, "/DataFiles");
  strcpy(FileSlot(0, 1)->folderPath, "/DataFiles");
  CurrentDirNumber = 0;
  SetCurrentDir("/DataFiles");
}

void CatalogueTest::FullScan(int depth, int headerFolder) {
  loadInitialQuembryInfo(depth, headerFolder);
}

int CatalogueTest::FolderOf(const std::string& path) const {
  if (path == "/DataFiles") return 0;
  size_t slash = path.rfind('/');
  int parent = FolderOf(path.substr(0, slash));
  if (parent < 0) return -1;
  FileRecord* line = LineOf(parent, path.substr(slash + 1));
  return line && line->attribute == ATTRIBUTE_FOLDER ? line->folderNumber : -1;
}

FileRecord* CatalogueTest::LineOf(int n, const std::string& name) const {
  if (n < 0 || !myfolders[n]) return nullptr;
  for (int j = 1; j <= myfolders[n]->entryCount; j++)
    if (FileSlot(n, j) && name == FileSlot(n, j)->name) return FileSlot(n, j);
  return nullptr;
}

std::vector<std::string> CatalogueTest::Names(int n) const {
  std::vector<std::string> names;
  for (int j = 1; n >= 0 && myfolders[n] && j <= myfolders[n]->entryCount; j++)
    names.push_back(FileSlot(n, j) ? FileSlot(n, j)->name : "<empty>");
  return names;
}

std::string CatalogueTest::Invariants() const {
  for (int n = 0; n <= numberOfFolders; n++) {
    const FolderRecord* f = myfolders[n];
    if (!f) continue;
    std::string where = "folder " + std::to_string(n) + " (" + f->name + "): ";
    if (f->entryCount < 0 || f->entryCount > 999) return where + "entry count out of range";
    int files = 0, folders = 0;
    uint64_t size = 0;
    for (int j = 1; j <= f->entryCount; j++) {
      const FileRecord* r = FileSlot(n, j);
      if (!r) return where + "empty slot " + std::to_string(j);
      if (!r->present) return where + "line not present: " + r->name;
      if (r->attribute == ATTRIBUTE_FILE) {
        files++;
        size += r->size;
      } else if (r->attribute == ATTRIBUTE_FOLDER) {
        folders++;
      }
    }
    // Slot 1 anchors the folder and may stay allocated when it is empty.
    for (int j = f->entryCount < 1 ? 2 : f->entryCount + 1; j < MAX_SLOTS; j++)
      if (FileSlot(n, j)) return where + "line beyond the count at " + std::to_string(j);
    if (files != f->fileCount) return where + "file count";
    if (folders != f->subfolderCount) return where + "subfolder count";
    if (size != f->totalSize) return where + "total size";
  }
  return "";
}

std::set<std::string> CatalogueTest::DiskNames(const std::string& path) const {
  std::set<std::string> names;
  std::string host = disk->HostPath(path);
  DIR* dir = opendir(host.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || name.size() >= 127) continue;
    struct stat st;
    if (stat((host + "/" + name).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode) || IsFileRec(name.c_str()) == 1) names.insert(name);
  }
  closedir(dir);
  if (path != "/DataFiles") names.insert("..");
  return names;
}
