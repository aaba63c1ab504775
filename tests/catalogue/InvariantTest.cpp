// Randomised disks that change between scans: after every scan, rescan and drop the
// catalogue's counts, sizes and presence flags hold, and a full scan lists exactly
// what is on the disk.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <random>

#include "catalogue_test.h"

namespace {

class InvariantTest : public CatalogueTest {
 protected:
  // Firmware paths of every folder below /DataFiles ("/DataFiles" first) and of
  // every file.
  void Walk(const std::string& path, std::vector<std::string>& folders,
            std::vector<std::string>& files) {
    folders.push_back(path);
    DIR* dir = opendir(disk->HostPath(path).c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir))
      if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..")) names.push_back(e->d_name);
    closedir(dir);
    for (const std::string& name : names) {
      struct stat st;
      std::string child = path + "/" + name;
      if (stat(disk->HostPath(child).c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode))
        Walk(child, folders, files);
      else
        files.push_back(child);
    }
  }

  std::string RandomName(std::mt19937& random) {
    static const char* const kSuffixes[] = {".rec",     ".REC", ".ts",      ".mpg",
                                            ".rec.del", ".txt", ".rec.inf", ".mkv"};
    std::string name = "f" + std::to_string(random() % 40);
    if (random() % 20 == 0) name = "__temprec__" + name;
    return name + kSuffixes[random() % 8];
  }

  void Mutate(std::mt19937& random) {
    std::vector<std::string> folders, files;
    Walk("/DataFiles", folders, files);
    const std::string& folder = folders[random() % folders.size()];
    switch (random() % 6) {
      case 0:
      case 1:
        disk->File(folder + "/" + RandomName(random),
                   (uint64_t)(random() % 5000) << (random() % 24),
                   testdisk::Stamp(2026, 12, 1 + random() % 10, random() % 24, random() % 60));
        break;
      case 2:
        if (!files.empty()) disk->Remove(files[random() % files.size()]);
        break;
      case 3:
        if (!files.empty()) disk->Replace(files[random() % files.size()], random() % 100000);
        break;
      case 4:
        if (folders.size() < 14 && std::count(folder.begin(), folder.end(), '/') < 5)
          disk->Folder(folder + "/d" + std::to_string(random() % 10));
        break;
      default:
        if (folder != "/DataFiles" && random() % 3 == 0) disk->Remove(folder);
        break;
    }
  }

  // Every folder on the disk is in the catalogue with exactly its lines.
  std::string MatchesDisk() {
    std::vector<std::string> folders, files;
    Walk("/DataFiles", folders, files);
    for (const std::string& path : folders) {
      int n = FolderOf(path);
      if (n < 0) return "missing folder " + path;
      std::vector<std::string> names = Names(n);
      std::set<std::string> listed(names.begin(), names.end());
      if (listed.size() != names.size()) return "a name twice in " + path;
      if (listed != DiskNames(path)) return "lines differ from the disk in " + path;
      for (const std::string& name : names) {
        FileRecord* r = LineOf(n, name);
        if (strcmp(r->folderPath, path.c_str()) != 0) return "wrong folder path in " + path;
        struct stat st;
        if (r->attribute == ATTRIBUTE_FILE &&
            (stat(disk->HostPath(path + "/" + name).c_str(), &st) != 0 ||
             (uint64_t)st.st_size != r->size || (dword)st.st_ino != r->inode))
          return "stale size or inode of " + path + "/" + name;
      }
    }
    return "";
  }
};

TEST_F(InvariantTest, RandomDisksThatChangeBetweenScans) {
  for (uint32_t seed = 1; seed <= 12; seed++) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    disk->Remove("/DataFiles");
    disk->Folder("/DataFiles");
    ResetCatalogue();
    for (int i = 0; i < 30; i++) Mutate(random);
    FullScan();
    ASSERT_EQ(Invariants(), "");
    ASSERT_EQ(MatchesDisk(), "");
    for (int step = 0; step < 40; step++) {
      SCOPED_TRACE(testing::Message() << "step " << step);
      int changes = 1 + random() % 5;
      for (int i = 0; i < changes; i++) Mutate(random);
      switch (random() % 7) {
        case 0:
          FullScan();
          ASSERT_EQ(Invariants(), "");
          ASSERT_EQ(MatchesDisk(), "");
          break;
        case 1:
          FullScan(1);
          ASSERT_EQ(Invariants(), "");
          break;
        case 2: {
          // The shown-folder scan of a folder that still exists.
          std::vector<std::string> folders, files;
          Walk("/DataFiles", folders, files);
          const std::string& path = folders[random() % folders.size()];
          int n = FolderOf(path);
          if (n < 0) break;
          CurrentDirNumber = n;
          SetCurrentDir(path.c_str());
          loadSubsequentQuembryInfo(random() % 2);
          ASSERT_EQ(Invariants(), "");
          std::vector<std::string> names = Names(n);
          ASSERT_EQ(std::set<std::string>(names.begin(), names.end()), DiskNames(path));
          CurrentDirNumber = 0;
          SetCurrentDir("/DataFiles");
          break;
        }
        case 3:
          reloadInitialQuembryInfo(0, 0);
          ASSERT_EQ(Invariants(), "");
          break;
        case 4:
          recycleWindowMode = 1;  // the recycle bin's view of the same disk
          FullScan();
          recycleWindowMode = 0;
          ASSERT_EQ(Invariants(), "");
          break;
        case 5:
          ResetAllFiles();
          ASSERT_EQ(Invariants(), "");
          break;
        default: {
          // Dropping a line as the actions do: a folder is emptied first.
          int n = random() % (numberOfFolders + 1);
          if (!myfolders[n] || myfolders[n]->entryCount == 0) break;
          int slot = 1 + random() % myfolders[n]->entryCount;
          FileRecord* r = FileSlot(n, slot);
          if (r->attribute == ATTRIBUTE_FOLDER) DeleteMyfilesFolderEntry(r->folderNumber);
          DeleteMyfilesEntry(n, slot, 1);
          ASSERT_EQ(Invariants(), "");
          break;
        }
      }
    }
    FullScan();
    ASSERT_EQ(Invariants(), "");
    ASSERT_EQ(MatchesDisk(), "");
  }
}

}  // namespace
