// The folder scan: which entries become lines, reconciliation, new files, limits.
#include <cstring>

#include "catalogue/History.h"
#include "catalogue_test.h"
#include "ui/Dialogs.h"

namespace {

using testdisk::Stamp;

class ScanTest : public CatalogueTest {};

TEST_F(ScanTest, TakesRecordingsByTheirSuffix) {
  disk->File("/DataFiles/a.rec", 10);
  disk->File("/DataFiles/B.REC", 20);
  disk->File("/DataFiles/c.ts", 30);
  disk->File("/DataFiles/a.rec.inf", 5);
  disk->File("/DataFiles/a.rec.nav", 5);
  disk->File("/DataFiles/__temprec__.ts", 5);
  disk->File("/DataFiles/__TempRec__x.rec", 5);
  disk->File("/DataFiles/old.rec.del", 5);
  disk->File("/DataFiles/notes.txt", 5);
  FullScan();
  EXPECT_EQ(Names(0), (std::vector<std::string>{"B.REC", "a.rec", "c.ts"}));  // byte order
  EXPECT_EQ(myfolders[0]->fileCount, 3);
  EXPECT_EQ(myfolders[0]->totalSize, 60u);
  EXPECT_EQ(Invariants(), "");

  tempFileSuffixOption = 1;  // everything but headers and navigation files
  FullScan();
  EXPECT_TRUE(LineOf(0, "notes.txt"));
  EXPECT_FALSE(LineOf(0, "old.rec.del"));  // recycled: the recycle bin's
  EXPECT_FALSE(LineOf(0, "a.rec.inf"));
  EXPECT_FALSE(LineOf(0, "__temprec__.ts"));
  tempFileSuffixOption = 2;
  FullScan();
  EXPECT_TRUE(LineOf(0, "a.rec.inf"));
  EXPECT_FALSE(LineOf(0, "__TempRec__x.rec"));
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, RecycleModeListsOnlyRecycledRecordings) {
  disk->File("/DataFiles/a.rec", 10);
  disk->File("/DataFiles/b.rec.del", 20);
  disk->File("/DataFiles/c.txt.del", 20);
  recycleWindowMode = 1;
  FullScan();
  EXPECT_EQ(Names(0), (std::vector<std::string>{"b.rec.del"}));
  recycleWindowMode = 0;
  // The manager's recycle view lists recycled applications only.
  disk->File("/ProgramFiles/One.tap", 100);
  disk->File("/ProgramFiles/Old.tap.del", 10);
  TAPManagerMode = 1;
  TAPManagerModeChanged = 1;
  recycleWindowMode = 1;
  SetCurrentDir("/ProgramFiles");
  reloadInitialQuembryInfo(0, 0);
  EXPECT_EQ(Names(0), (std::vector<std::string>{"Settings", "Old.tap.del"}));
  TAPManagerMode = recycleWindowMode = 0;
}

TEST_F(ScanTest, ClassifiesNames) {
  EXPECT_EQ(IsFileRec("x.rec"), 1);
  EXPECT_EQ(IsFileRec("x.Rec.DEL"), 2);
  EXPECT_EQ(IsFileRec("x.txt.del"), 0);
  EXPECT_EQ(IsFileRec("__temprec__.rec.del"), 0);
  EXPECT_EQ(IsFileTAP("x.TAP"), 1);
  EXPECT_EQ(IsFileTAP("x.tap.del"), 2);
  EXPECT_EQ(IsFileTAP("x.txt.del"), 2);
  EXPECT_EQ(IsFileTAP("x.rec"), 0);
  EXPECT_EQ(IsFileRec_Valid(nullptr), 0);
  // Every extension, in any case, only after its dot; the temporary prefix in any case.
  for (const char* taken : {"a.TS", "b.mpg", "c.mp4", "d.VOB", "e.DivX", "f.xvid", "g.avi", "h.wmv",
                            "i.MKV", "__tempre.rec"})
    EXPECT_EQ(IsFileRec(taken), 1) << taken;
  for (const char* left : {"xrec", "x.recx", "x.ts.inf", "x.divx.nav", ".rec.", "__TEMPREC__a.rec"})
    EXPECT_EQ(IsFileRec(left), 0) << left;
  // Only the first 126 characters count: a longer name's own end is not seen.
  std::string longName(123, 'n');
  EXPECT_EQ(IsFileRec((longName + ".rec").c_str()), 0);
  EXPECT_EQ(IsFileRec((longName.substr(1) + ".rec").c_str()), 1);
  tempFileSuffixOption = 1;  // everything but headers and navigation files
  EXPECT_EQ(IsFileRec("x.txt"), 1);
  EXPECT_EQ(IsFileRec("__TEMPREC__"), 0);
  EXPECT_EQ(IsFileRec("x.INF"), 0);
  EXPECT_EQ(IsFileRec("x.nav.del"), 0);
  tempFileSuffixOption = 0;
}

TEST_F(ScanTest, EmptyFoldersAndParentLines) {
  disk->Folder("/DataFiles/Empty");
  FullScan();
  int empty = FolderOf("/DataFiles/Empty");
  ASSERT_GT(empty, 0);
  EXPECT_EQ(Names(empty), (std::vector<std::string>{".."}));
  FileRecord* parent = FileSlot(empty, 1);
  EXPECT_EQ(parent->attribute, (dword)ATTRIBUTE_PARENT);
  EXPECT_EQ(parent->folderNumber, 0);
  EXPECT_STREQ(parent->folderPath, "/DataFiles/Empty");
  EXPECT_EQ(myfolders[empty]->parentNumber, 0);
  EXPECT_EQ(myfolders[0]->entryCount, 1);  // the root has no parent line

  disk->Remove("/DataFiles/Empty");
  FullScan();
  EXPECT_EQ(myfolders[0]->entryCount, 0);
  EXPECT_STREQ(myfolders[empty]->name, "");  // dead, not reused
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, DepthLimitsTheRecursion) {
  disk->File("/DataFiles/A/B/C/deep.rec", 1);
  disk->File("/DataFiles/A/top.rec", 1);
  FullScan(1);
  int a = FolderOf("/DataFiles/A");
  ASSERT_GT(a, 0);
  EXPECT_TRUE(LineOf(a, "top.rec"));
  int b = FolderOf("/DataFiles/A/B");
  ASSERT_GT(b, 0);
  EXPECT_EQ(myfolders[b]->entryCount, 0);  // listed, not scanned
  FullScan(99);
  int c = FolderOf("/DataFiles/A/B/C");
  ASSERT_GT(c, 0);
  EXPECT_TRUE(LineOf(c, "deep.rec"));
  EXPECT_EQ(myfolders[c]->parentNumber, b);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, NewFilesAndTheNewFolderCascade) {
  uint32_t old = Stamp(2026, 1, 1, 12, 0);
  disk->File("/DataFiles/A/B/first.rec", 1, old);
  FullScan();
  int a = FolderOf("/DataFiles/A"), b = FolderOf("/DataFiles/A/B");
  // A folder met for the first time shows nothing new, however recent.
  EXPECT_EQ(LineOf(b, "first.rec")->isNew, 0u);
  EXPECT_EQ(myfolders[b]->lastViewed, Stamp(2026, 12, 7, 20, 0));

  emu::SetClock(2026, 12, 7, 21, 0);
  disk->File("/DataFiles/A/B/second.rec", 1, Stamp(2026, 12, 7, 20, 30));
  disk->File("/DataFiles/A/B/third.rec", 1, Stamp(2026, 12, 7, 20, 40));
  FullScan();
  EXPECT_EQ(LineOf(b, "second.rec")->isNew, 1u);
  EXPECT_EQ(LineOf(b, "third.rec")->isNew, 1u);
  EXPECT_EQ(myfolders[b]->newFileCount, 2);
  EXPECT_EQ(myfolders[a]->newFolderCount, 1);  // one folder below holds new files
  EXPECT_EQ(myfolders[0]->newFolderCount, 0);  // the root is never counted
  disk->File("/DataFiles/top.rec", 1, Stamp(2026, 12, 7, 20, 50));
  FullScan();
  EXPECT_EQ(LineOf(0, "top.rec")->isNew, 1u);  // its own files are

  // Another scan keeps the markers and the counts.
  FullScan();
  EXPECT_EQ(myfolders[b]->newFileCount, 2);
  EXPECT_EQ(myfolders[a]->newFolderCount, 1);

  // Emptying the folder takes its count back out of its ancestors.
  disk->Remove("/DataFiles/A/B");
  FullScan();
  EXPECT_EQ(myfolders[a]->newFolderCount, 0);
  EXPECT_EQ(Invariants(), "");

  // So does dropping a folder from the catalogue (deleted or moved away) whose
  // subfolder holds new files, at once and without a scan.
  disk->Folder("/DataFiles/A/B/C");
  FullScan(99);
  emu::SetClock(2026, 12, 7, 22, 0);
  disk->File("/DataFiles/A/B/C/fourth.rec", 1, Stamp(2026, 12, 7, 21, 30));
  FullScan(99);
  b = FolderOf("/DataFiles/A/B");
  ASSERT_EQ(LineOf(FolderOf("/DataFiles/A/B/C"), "fourth.rec")->isNew, 1u);
  ASSERT_EQ(myfolders[a]->newFolderCount, 1);
  int c = FolderOf("/DataFiles/A/B/C");
  dword inode = LineOf(c, "fourth.rec")->inode;
  ASSERT_GT(AppendPlayedFileEntry(inode, "fourth.rec", 5, 10), 0);
  DeleteMyfilesFolderEntry(b);
  EXPECT_EQ(myfolders[a]->newFolderCount, 0);
  // Its subfolders go with it, and the viewing progress of their recordings.
  for (int i = 1; i <= numberOfPlayedFiles; i++)
    EXPECT_FALSE(playedFiles[i] && playedFiles[i]->inode == inode) << i;
  EXPECT_STREQ(myfolders[c]->name, "");
  EXPECT_EQ(myfolders[c]->entryCount, 0);
  EXPECT_EQ(myfolders[c]->newFileCount, 0);
}

TEST_F(ScanTest, LastViewStampsComeFromTheHistory) {
  disk->File("/DataFiles/Seen/a.rec", 1, Stamp(2026, 4, 1, 10, 0));
  disk->File("/DataFiles/Seen/b.rec", 1, Stamp(2026, 6, 1, 10, 0));  // the last line
  disk->File("/DataFiles/top.rec", 1, Stamp(2026, 6, 1, 10, 0));
  strcpy(folderLastViewInfo[0].path, "/DataFiles");
  folderLastViewInfo[0].lastViewed = Stamp(2026, 5, 1, 0, 0);
  strcpy(folderLastViewInfo[1].path, "/DataFiles/Seen");
  folderLastViewInfo[1].lastViewed = Stamp(2026, 5, 1, 0, 0);
  numberOfFolderLastViewInfo = 1;
  FullScan();
  int seen = FolderOf("/DataFiles/Seen");
  EXPECT_EQ(myfolders[seen]->lastViewed, Stamp(2026, 5, 1, 0, 0));
  EXPECT_EQ(LineOf(seen, "a.rec")->isNew, 0u);
  EXPECT_EQ(LineOf(seen, "b.rec")->isNew, 1u);
  CurrentDirNumber = seen;
  numberOfFiles = myfolders[seen]->entryCount;
  ResetNewFileIndicators(seen);
  EXPECT_EQ(LineOf(seen, "b.rec")->isNew, 0u);
  // The root's the same way.
  ASSERT_EQ(LineOf(0, "top.rec")->isNew, 1u);
  CurrentDirNumber = 0;
  numberOfFiles = myfolders[0]->entryCount;
  ResetNewFileIndicators(0);
  EXPECT_EQ(LineOf(0, "top.rec")->isNew, 0u);
}

TEST_F(ScanTest, ReplacedFileKeepsItsLine) {
  disk->File("/DataFiles/a.rec", 100);
  disk->File("/DataFiles/b.rec", 50);
  FullScan();
  FileRecord* line = LineOf(0, "a.rec");
  line->hasHistory = 1;
  dword inode = line->inode;
  EXPECT_NE(inode, 0u);
  disk->Replace("/DataFiles/a.rec", 1000);
  FullScan();
  FileRecord* again = LineOf(0, "a.rec");
  EXPECT_EQ(again->hasHistory, 1u);  // same line
  EXPECT_NE(again->inode, inode);
  EXPECT_EQ(again->size, 1000u);
  EXPECT_EQ(myfolders[0]->totalSize, 1050u);
  // Replaced by a file of the same size, the line takes the new file; a file
  // that grows in place (a recording in progress) takes its new size.
  inode = again->inode;
  disk->Replace("/DataFiles/a.rec", 1000);
  dword bInode = LineOf(0, "b.rec")->inode;
  ASSERT_TRUE(disk->File("/DataFiles/b.rec", 80));
  FullScan();
  EXPECT_NE(LineOf(0, "a.rec")->inode, inode);
  EXPECT_EQ(LineOf(0, "b.rec")->inode, bInode);
  EXPECT_EQ(LineOf(0, "b.rec")->size, 80u);
  EXPECT_EQ(myfolders[0]->totalSize, 1080u);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, FolderLineLimit) {
  disk->File("/DataFiles/Big/0Inner/in.rec");
  for (int i = 0; i < 1000; i++) disk->File("/DataFiles/Big/" + std::to_string(1000 + i) + ".rec");
  disk->File("/DataFiles/Later/x.rec");
  int before = messageCount;
  FullScan();
  EXPECT_GT(messageCount, before);
  EXPECT_STREQ(lastMessageTitle, "Load Quembry Info Failed.");
  EXPECT_STREQ(lastMessageLine1, "MAX_FILES exceeded (B).");
  int big = FolderOf("/DataFiles/Big");
  EXPECT_EQ(myfolders[big]->entryCount, 999);  // parent line, folder and 997 files
  EXPECT_EQ(Invariants(), "");
  // The scan stops there: the folder listed before the files is not entered.
  int inner = FolderOf("/DataFiles/Big/0Inner");
  ASSERT_GT(inner, 0);
  EXPECT_EQ(myfolders[inner]->entryCount, 0);
  // A rescan of the full folder finds every line it has (its parent line too),
  // and still says that the rest does not fit.
  std::vector<std::string> lines = Names(big);
  FullScan();
  EXPECT_EQ(Names(big), lines);
  EXPECT_STREQ(lastMessageLine1, "MAX_FILES exceeded (B).");
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, FolderLimit) {
  for (int i = 0; i < 400; i++) disk->Folder("/DataFiles/" + std::to_string(1000 + i));
  ASSERT_TRUE(GotoPath("/DataFiles"));
  int before = messageCount;
  EXPECT_EQ(LoadQuembryInfo("/DataFiles", 0, 0, 0, -1), -1);
  EXPECT_EQ(messageCount, before + 1);
  EXPECT_STREQ(lastMessageLine1, "MAX_DIRS exceeded. Too many folders.");
  EXPECT_STREQ(lastMessageLine2, "Change General->RecursiveFolderDepth");
  EXPECT_EQ(numberOfFolders, 399);
  EXPECT_EQ(myfolders[0]->subfolderCount, 399);
  EXPECT_EQ(Invariants(), "");
  // In German.
  TextLanguage = 1;
  EXPECT_EQ(LoadQuembryInfo("/DataFiles", 0, 0, 0, -1), -1);
  TextLanguage = 0;
  EXPECT_STREQ(lastMessageLine1,
               "MAX_DIRS \xFC"
               "berschritten. Zu viele Ordner.");
  EXPECT_EQ(numberOfFolders, 399);
}

TEST_F(ScanTest, LongNamesAreSkipped) {
  disk->File("/DataFiles/" + std::string(122, 'a') + ".rec");  // 126 characters
  disk->File("/DataFiles/" + std::string(123, 'b') + ".rec");  // 127 characters
  FullScan();
  ASSERT_EQ(myfolders[0]->entryCount, 1);
  EXPECT_EQ(strlen(FileSlot(0, 1)->name), 126u);
}

TEST_F(ScanTest, ShownFolderScanReadsHeaders) {
  testdisk::Header h;
  h.serviceName = "Channel One";
  h.eventName = "Title";
  disk->Recording("/DataFiles/root.rec", 10, h);
  disk->Recording("/DataFiles/Sub/sub.rec", 10, h);
  FullScan();
  EXPECT_STREQ(LineOf(0, "root.rec")->eventName, "Title");
  int sub = FolderOf("/DataFiles/Sub");
  EXPECT_STREQ(LineOf(sub, "sub.rec")->eventName, "");  // only the root's headers
  CurrentDirNumber = sub;
  SetCurrentDir("/DataFiles/Sub");
  loadSubsequentQuembryInfo(0);
  EXPECT_STREQ(LineOf(sub, "sub.rec")->eventName, "Title");
  EXPECT_EQ(numberOfFiles, 2);
  EXPECT_EQ(maxShown, 2);
  EXPECT_EQ(FileSlot(sub, 1)->attribute, (dword)ATTRIBUTE_PARENT);  // sorted on top
  EXPECT_EQ(Invariants(), "");
}

// The viewing progress of the history reaches the lines of the full scan and of
// a rescan of the shown folder.
TEST_F(ScanTest, LinesShowTheirViewingProgress) {
  disk->File("/DataFiles/a.rec", 1);
  disk->File("/DataFiles/Sub/b.rec", 1);
  FullScan();
  ASSERT_GT(AppendPlayedFileEntry(LineOf(0, "a.rec")->inode, "a.rec", 5, 10), 0);
  FullScan();
  FileRecord* a = LineOf(0, "a.rec");
  EXPECT_EQ(a->hasHistory, 1u);
  EXPECT_EQ(a->positionBlock, 5u);
  EXPECT_EQ(a->totalBlocks, 10u);
  int sub = FolderOf("/DataFiles/Sub");
  ASSERT_GT(AppendPlayedFileEntry(LineOf(sub, "b.rec")->inode, "b.rec", 7, 8), 0);
  CurrentDirNumber = sub;
  SetCurrentDir("/DataFiles/Sub");
  loadSubsequentQuembryInfo(1);
  EXPECT_EQ(LineOf(sub, "b.rec")->hasHistory, 1u);
  EXPECT_EQ(LineOf(sub, "b.rec")->positionBlock, 7u);
}

TEST_F(ScanTest, ShownFolderThatVanishedIsLeftAlone) {
  disk->File("/DataFiles/Sub/a.rec", 1);
  FullScan();
  int sub = FolderOf("/DataFiles/Sub");
  CurrentDirNumber = sub;
  SetCurrentDir("/DataFiles/Sub");
  disk->Remove("/DataFiles/Sub");
  loadSubsequentQuembryInfo(1);
  EXPECT_EQ(Names(sub), (std::vector<std::string>{"..", "a.rec"}));
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, ReloadRescansEveryKnownFolder) {
  disk->File("/DataFiles/A/a.rec", 1);
  disk->File("/DataFiles/A/B/b.rec", 1);
  disk->Folder("/DataFiles/A/B/Gone");
  FullScan();
  int b = FolderOf("/DataFiles/A/B");
  ASSERT_TRUE(LineOf(b, "Gone"));
  disk->File("/DataFiles/A/B/c.rec", 1);
  disk->Remove("/DataFiles/A/a.rec");
  disk->Remove("/DataFiles/A/B/Gone");
  reloadInitialQuembryInfo(0, 0);
  EXPECT_TRUE(LineOf(b, "c.rec"));
  EXPECT_FALSE(LineOf(FolderOf("/DataFiles/A"), "a.rec"));
  EXPECT_FALSE(LineOf(b, "Gone"));  // a folder gone two levels down
  EXPECT_EQ(Invariants(), "");

  // A change of list mode starts the tables afresh.
  TAPManagerModeChanged = 1;
  reloadInitialQuembryInfo(0, 0);
  EXPECT_EQ(TAPManagerModeChanged, 0);
  EXPECT_STREQ(myfolders[0]->name, "/DataFiles");
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, RecordingsInProgressAndServices) {
  TYPE_TapChInfo one = {}, two = {};
  strcpy(one.chName, "First");
  one.svcId = 100;
  strcpy(two.chName, "Second Channel With A Long Name");
  two.svcId = 200;
  emu::SetChannels({one, two}, {one});
  EXPECT_EQ(GetSvcNumBySvcId(200, 0), 1);
  EXPECT_EQ(GetSvcNumBySvcId(100, 1), 0);
  EXPECT_EQ(GetSvcNumBySvcId(300, 0), -1);

  testdisk::Header h;
  h.serviceId = 100;
  disk->Recording("/DataFiles/now.rec", 10, h);
  TYPE_RecInfo rec = {};
  rec.recType = RECTYPE_Normal;
  rec.svcType = 0;
  rec.svcNum = 1;
  rec.duration = 90;
  rec.startTime = Stamp(2026, 12, 7, 19, 30);
  rec.endTime = Stamp(2026, 12, 7, 21, 0);
  rec.recordedSec = 1800;
  strcpy(rec.fileName, "now.rec");
  ASSERT_TRUE(emu::SetRecording(0, rec, disk->HostPath("/DataFiles/now.rec")));
  FullScan();
  FileRecord* line = LineOf(0, "now.rec");
  EXPECT_EQ(line->recordingNow, 1u);
  EXPECT_EQ(line->serviceNumber, 1);
  EXPECT_STREQ(line->serviceName, "Second Channel With A ");  // 22 characters at most
  EXPECT_EQ(line->recordedSeconds, 1800u);
  EXPECT_EQ(line->stamp, rec.startTime);
  EXPECT_EQ(line->eventEndHour, 21u);
  emu::ClearRecording(0);
  FullScan();
  EXPECT_EQ(LineOf(0, "now.rec")->recordingNow, 0u);
}

TEST_F(ScanTest, CountsAFolderWithoutTouchingTheCatalogue) {
  disk->File("/DataFiles/C/a.rec");
  disk->File("/DataFiles/C/b.rec.del");
  disk->File("/DataFiles/C/c.txt");
  disk->Folder("/DataFiles/C/D");
  GotoPath("/DataFiles");
  int files = -1, folders = -1;
  CountFolderFilesAndSubfolders("C", &files, &folders);
  EXPECT_EQ(files, 1);
  EXPECT_EQ(folders, 1);
  recycleWindowMode = 1;
  CountFolderFilesAndSubfolders("C", &files, &folders);
  EXPECT_EQ(files, 1);
  recycleWindowMode = 0;
  CountFolderFilesAndSubfolders("Missing", &files, &folders);
  EXPECT_EQ(files, 0);
  EXPECT_EQ(myfolders[0]->entryCount, 0);
}

TEST_F(ScanTest, RecycledFilesGoAtStartUpWhenAsked) {
  disk->File("/DataFiles/a.rec.del");
  disk->File("/DataFiles/.del");
  disk->File("/DataFiles/b.rec");
  // A recycled recording being played stays, and its companions with it.
  disk->File("/DataFiles/p.rec.del", 9024 * 10);
  disk->File("/DataFiles/p.rec.inf.del");
  disk->File("/DataFiles/p.rec.nav.del");
  ASSERT_EQ(TAP_Hdd_ChangeDir("/DataFiles"), 1);
  ASSERT_EQ(TAP_Hdd_PlayTs("p.rec.del"), 0);
  recycleBinCleanoutOption = 1;
  tapStartup = 1;
  FullScan();
  tapStartup = 0;
  recycleBinCleanoutOption = 0;
  EXPECT_FALSE(disk->Exists("/DataFiles/a.rec.del"));
  EXPECT_FALSE(disk->Exists("/DataFiles/.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/b.rec"));
  for (const char* kept : {"p.rec.del", "p.rec.inf.del", "p.rec.nav.del"})
    EXPECT_TRUE(disk->Exists(std::string("/DataFiles/") + kept)) << kept;
}

TEST_F(ScanTest, DroppingLinesKeepsTheCounts) {
  disk->File("/DataFiles/a.rec", 5);
  disk->File("/DataFiles/b.rec", 7);
  disk->File("/DataFiles/F/c.rec", 7);
  FullScan();
  DeleteMyfilesEntry(0, 1, 1);
  EXPECT_EQ(myfolders[0]->entryCount, 2);
  EXPECT_EQ(Invariants(), "");
  ResetAllFiles();
  EXPECT_EQ(Invariants(), "");
  ResetAllFolders();
  EXPECT_EQ(numberOfFolders, 0);
  EXPECT_EQ(myfolders[0]->entryCount, 0);
  EXPECT_STREQ(FileSlot(0, 1)->folderPath, "/DataFiles");
  EXPECT_EQ(Invariants(), "");
}

TEST_F(ScanTest, ReleaseFreesEveryRecord) {
  ReleaseCatalogue();
  size_t baseline = emu::AllocatedBlocks();
  ResetCatalogue();
  disk->File("/DataFiles/A/a.rec");
  disk->File("/DataFiles/b.rec");
  // Enough lines that a rescan looks them up through an index.
  for (int i = 0; i < 40; i++) disk->File("/DataFiles/" + std::to_string(100 + i) + ".rec");
  FullScan();
  disk->Remove("/DataFiles/A");
  FullScan();
  TAPManagerModeChanged = 1;
  reloadInitialQuembryInfo(0, 0);
  ReleaseCatalogue();
  EXPECT_EQ(emu::AllocatedBlocks(), baseline);
}

}  // namespace

namespace {

// Large folders are rescanned through a name index: the lines found, kept, replaced
// and dropped must be those of the plain walk.
TEST_F(ScanTest, RescanOfALargeFolder) {
  for (int i = 0; i < 120; i++) disk->File("/DataFiles/L/" + std::to_string(100 + i) + ".rec", i);
  FullScan();
  int l = FolderOf("/DataFiles/L");
  LineOf(l, "152.rec")->hasHistory = 1;
  for (int i = 0; i < 120; i += 3) disk->Remove("/DataFiles/L/" + std::to_string(100 + i) + ".rec");
  disk->Replace("/DataFiles/L/152.rec", 5000);
  disk->File("/DataFiles/L/new.rec", 3);
  FullScan();
  EXPECT_EQ(myfolders[l]->fileCount, 81);
  EXPECT_EQ(LineOf(l, "152.rec")->hasHistory, 1u);
  EXPECT_EQ(LineOf(l, "152.rec")->size, 5000u);
  EXPECT_FALSE(LineOf(l, "103.rec"));
  EXPECT_TRUE(LineOf(l, "new.rec"));
  EXPECT_EQ(Invariants(), "");
  std::vector<std::string> names = Names(l);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), DiskNames("/DataFiles/L"));
}

}  // namespace

namespace {

TEST_F(ScanTest, ApplicationManagerModeListsApplications) {
  disk->File("/ProgramFiles/One.tap", 100);
  disk->File("/ProgramFiles/Two.TAP", 100);
  disk->File("/ProgramFiles/readme.txt", 10);
  disk->File("/ProgramFiles/Old.tap.del", 10);
  disk->File("/DataFiles/x.rec", 10);
  TAPManagerMode = 1;
  TAPManagerModeChanged = 1;
  SetCurrentDir("/ProgramFiles");
  reloadInitialQuembryInfo(0, 0);
  EXPECT_STREQ(myfolders[0]->name, "/ProgramFiles");
  std::vector<std::string> names = Names(0);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
            (std::set<std::string>{"One.tap", "Two.TAP", "Settings"}));
  EXPECT_EQ(LineOf(0, "One.tap")->isNew, 0u);  // nothing is new in this mode

  TAPManagerMode = 2;  // every file
  reloadInitialQuembryInfo(0, 0);
  EXPECT_TRUE(LineOf(0, "readme.txt"));
  EXPECT_TRUE(LineOf(0, "Old.tap.del"));
  EXPECT_EQ(Invariants(), "");

  TAPManagerMode = 0;
  TAPManagerModeChanged = 1;
  SetCurrentDir("/DataFiles");
  reloadInitialQuembryInfo(0, 0);
  EXPECT_STREQ(myfolders[0]->name, "/DataFiles");
  EXPECT_EQ(Names(0), (std::vector<std::string>{"x.rec"}));
}

TEST_F(ScanTest, DroppedFolderRecordsCloseTheGap) {
  disk->Folder("/DataFiles/A");
  disk->Folder("/DataFiles/B");
  FullScan();
  ASSERT_EQ(numberOfFolders, 2);
  FolderRecord* second = myfolders[2];
  DeleteMyfoldersEntry(1);
  EXPECT_EQ(numberOfFolders, 1);
  EXPECT_EQ(myfolders[1], second);
  EXPECT_EQ(myfolders[2], nullptr);
}

}  // namespace

namespace {

// An exhausted heap: the lines that cannot be allocated are left out with a message,
// and what is listed stays consistent.
TEST_F(ScanTest, ExhaustedHeap) {
  for (int i = 0; i < 20; i++) disk->File("/DataFiles/" + std::to_string(100 + i) + ".rec", i);
  disk->File("/DataFiles/A/a.rec", 1);
  for (long limit = 0; limit < 30; limit++) {
    SCOPED_TRACE(limit);
    ResetCatalogue();
    int before = messageCount;
    emu::LimitAllocations(limit);
    FullScan();
    emu::LimitAllocations(-1);
    EXPECT_EQ(Invariants(), "");
    if (myfolders[0]->entryCount < 21) {
      EXPECT_GT(messageCount, before);
      EXPECT_STREQ(lastMessageTitle, "TAP Memory Allocation Failure");
      EXPECT_STREQ(lastMessageLine1, "Unable to allocate enough memory");
    }
    // With memory back, the next scan completes the picture.
    FullScan();
    EXPECT_EQ(myfolders[0]->entryCount, 21);
    EXPECT_EQ(Invariants(), "");
  }
}

}  // namespace

namespace {

// Headers read by a scan find their services as a walk over the channel list does:
// the first channel with the identifier, of the header's service type.
TEST_F(ScanTest, ServicesOfHeadersReadByAScan) {
  std::vector<TYPE_TapChInfo> tv(50), radio(5);
  for (int i = 0; i < 50; i++) tv[i].svcId = (word)(1000 + i);
  tv[30].svcId = tv[40].svcId = 7;  // twice: the first counts
  radio[3].svcId = 7;
  emu::SetChannels(tv, radio);
  testdisk::Header h;
  h.serviceId = 7;
  disk->Recording("/DataFiles/tv.rec", 1, h);
  h.serviceType = 1;
  disk->Recording("/DataFiles/radio.rec", 1, h);
  h.serviceId = 8;
  disk->Recording("/DataFiles/gone.rec", 1, h);
  FullScan();
  EXPECT_EQ(LineOf(0, "tv.rec")->serviceNumber, 30);
  EXPECT_EQ(LineOf(0, "radio.rec")->serviceNumber, 3);
  EXPECT_EQ(LineOf(0, "gone.rec")->serviceNumber, -1);
  // The next scan sees a changed channel list.
  tv[30].svcId = 1;
  emu::SetChannels(tv, radio);
  FullScan();
  EXPECT_EQ(LineOf(0, "tv.rec")->serviceNumber, 40);
  // And so does every scan after it.
  tv[40].svcId = 2;
  emu::SetChannels(tv, radio);
  FullScan();
  EXPECT_EQ(LineOf(0, "tv.rec")->serviceNumber, -1);
}

}  // namespace

namespace {

TEST_F(ScanTest, FolderAndParentLineLimits) {
  for (int i = 0; i < 998; i++) disk->File("/DataFiles/C/" + std::to_string(1000 + i) + ".rec");
  disk->Folder("/DataFiles/C/zz");  // listed after the files: line 1000
  FullScan();
  EXPECT_STREQ(lastMessageLine1, "MAX_FILES exceeded (C).");
  int c = FolderOf("/DataFiles/C");
  EXPECT_EQ(myfolders[c]->entryCount, 999);
  EXPECT_EQ(myfolders[c]->subfolderCount, 0);
  EXPECT_EQ(Invariants(), "");

  // A full folder whose first slot is not its parent line has no room for one.
  std::swap(FileSlot(c, 1), FileSlot(c, 2));
  ASSERT_TRUE(GotoPath("/DataFiles/C"));
  EXPECT_EQ(LoadQuembryInfo("/DataFiles/C", c, 0, 0, -1), -1);
  EXPECT_STREQ(lastMessageLine1, "MAX_FILES exceeded (A).");
  EXPECT_STREQ(lastMessageLine2, "Too many files.");
}

}  // namespace
