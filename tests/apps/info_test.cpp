// The information window and the channel logos: a recording's pages and
// buttons, a folder, German; logos in the list's fifth column from each of
// the three folders, damaged logo files, awkward channel names, and the
// logo diagnostic window.
#include <stdio.h>
// jpeglib.h needs size_t and FILE declared first.

#include <algorithm>
#include <vector>

#include "../browse/BrowseFixture.h"
#include "apps/apps.h"
#include "jpeg.h"
#include "snapshot.h"
#include "ui/Dialogs.h"
#include "ui/ListScreen.h"
#include "ui/Logos.h"

namespace {

std::vector<unsigned char> Jpeg(int w, int h, uint32_t rgb, bool progressive = false,
                                bool cmyk = false) {
  testdisk::JpegOptions options;
  options.progressive = progressive;
  options.cmyk = cmyk;
  return testdisk::EncodeJpeg(w, h, rgb, options);
}

TYPE_TapChInfo Service(const char* name, word svcId, word number) {
  TYPE_TapChInfo ch;
  memset(&ch, 0, sizeof ch);
  snprintf(ch.chName, sizeof ch.chName, "%s", name);
  ch.svcType = SVC_TYPE_Tv;
  ch.svcId = svcId;
  ch.tsId = 0x8001;
  ch.orgNetId = 1;
  ch.logicalChNum = number;
  return ch;
}

class InfoTest : public BrowseTest {
 protected:
  void BuildDisk() override {
    // ISO 6937 umlauts (a diaeresis byte before the letter) and the
    // broadcasters' line-break code, to the header field's full length.
    std::string ext;
    for (int i = 1; ext.size() < 1100; i++) {
      ext += "Absatz " + std::to_string(i) + ": Die Gr\xC8undung der Stadt f\xC8uhrte zu einem " +
             "Streit \xC8uber die Br\xC8ucke am Flu\xFB.\x8A";
    }
    ext.resize(1018);
    ext += " ENDE";
    testdisk::Header header;
    header.recordingStart = testdisk::Stamp(2026, 11, 20, 23, 30);
    header.durationMinutes = 65;
    header.serviceId = 4101;
    header.serviceName = "Channel One";
    header.eventName = "Die lange Nacht";
    header.eventText = "Eine Dokumentation \xC8uber Br\xC8ucken";
    header.eventStart = testdisk::Stamp(2026, 11, 20, 23, 30);
    header.eventEnd = testdisk::Stamp(2026, 11, 21, 0, 35);
    header.extText = ext;
    header.flags = 3;
    ASSERT_TRUE(disk->Recording("/DataFiles/Alpha.rec", 3000 * kBlock, header, true,
                                testdisk::Stamp(2026, 11, 20, 23, 30)));
    Recording("/DataFiles/Beta.rec", 1000, testdisk::Stamp(2026, 11, 21, 20, 0));
    Recording("/DataFiles/Movies/One.rec", 1000, testdisk::Stamp(2026, 10, 1, 20, 0));
    Recording("/DataFiles/Movies/Two.rec", 1000, testdisk::Stamp(2026, 10, 2, 20, 0));
    ASSERT_TRUE(disk->Folder("/DataFiles/Movies/Extras"));
  }

  void ExpectFrame(const char* reference) {
    std::string message;
    EXPECT_TRUE(snapshot::MatchesReference(reference, &message)) << message;
  }
  // Whether the value at row `y` of the window reads `text`: the row drawn
  // again with that text leaves the frame as it was.
  bool ValueReads(int y, const char* text, int width = 448) {
    std::vector<uint32_t> before = emu::Frame();
    TAP_Osd_FillBox(rgn, 197, (dword)y, (dword)width, 24, 0xFF1E1E1E);
    PrintLeft(rgn, 197, (dword)y, (dword)(197 + width), text, 0xFFFAFAFA, 0, 16);
    TAP_Osd_Sync();
    return emu::Frame() == before;
  }
  // The pixels of the rectangle at x, y.
  static std::vector<uint32_t> Area(int x, int y, int w, int h) {
    return snapshot::Crop(x, y, w, h);
  }
  void OpenInfo(const char* name) {
    SelectByKeys(name);
    emu::ReleaseKey(RKEY_Info);
    ASSERT_EQ(infoWindowShowing, 1);
    ASSERT_STREQ(currentFile.name, name);
  }
};

TEST_F(InfoTest, RecordingPagesButtonsAndFolder) {
  GMToffsetOption = 60;  // 23:30 becomes 00:30 the next day
  OpenList();
  SelectByKeys("Alpha.rec");
  std::vector<uint32_t> list = emu::Frame();
  OpenInfo("Alpha.rec");
  ExpectFrame("info-recording");
  int firstPageLast = rememberLastExtInfoStr_Start;
  char duration[64];
  FormatInfoDuration(61, duration);
  EXPECT_STREQ(duration, "1 hour 1 minute");
  FormatInfoDuration(120, duration);
  EXPECT_STREQ(duration, "2 hours");
  FormatInfoDuration(1, duration);
  EXPECT_STREQ(duration, "1 minute");
  FormatInfoDuration(0, duration);
  EXPECT_STREQ(duration, "");
  EXPECT_GT(firstPageLast, 0);
  // Twelve-hour times: the hour after midnight is 12 am, the hour after noon
  // 12 pm.
  EXPECT_TRUE(ValueReads(175, "Sat, 21 Nov 2026 12:30am ~ 1:35am"));
  GMToffsetOption = 13 * 60;
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_TRUE(ValueReads(175, "Sat, 21 Nov 2026 12:30pm ~ 1:35pm"));
  EXPECT_FALSE(ValueReads(175, "Sat, 21 Nov 2026 12:30am ~ 1:35pm"));
  GMToffsetOption = 12 * 60;
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_TRUE(ValueReads(175, "Sat, 21 Nov 2026 11:30am ~ 12:35pm"));
  GMToffsetOption = -24 * 60;  // back over midnight
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_TRUE(ValueReads(175, "Thu, 19 Nov 2026 11:30pm ~ 12:35am"));
  GMToffsetOption = 24 * 60;  // the end reaches midnight exactly
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_TRUE(ValueReads(175, "Sat, 21 Nov 2026 11:30pm ~ 12:35am"));
  GMToffsetOption = -60;  // only the end goes back over midnight
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_TRUE(ValueReads(175, "Fri, 20 Nov 2026 10:30pm ~ 11:35pm"));
  // Offsets with minutes carry into the hour, both ways.
  const std::pair<int, const char*> carried[] = {
      {29, "Fri, 20 Nov 2026 11:59pm ~ 1:04am"},   {30, "Sat, 21 Nov 2026 12:00am ~ 1:05am"},
      {-30, "Fri, 20 Nov 2026 11:00pm ~ 12:05am"}, {-31, "Fri, 20 Nov 2026 10:59pm ~ 12:04am"},
      {-35, "Fri, 20 Nov 2026 10:55pm ~ 12:00am"}, {-36, "Fri, 20 Nov 2026 10:54pm ~ 11:59pm"},
      {25, "Fri, 20 Nov 2026 11:55pm ~ 1:00am"},   {24, "Fri, 20 Nov 2026 11:54pm ~ 12:59am"}};
  for (const auto& [offset, shown] : carried) {
    GMToffsetOption = offset;
    emu::HoldKey(RKEY_Prev, 0);
    EXPECT_TRUE(ValueReads(175, shown)) << offset;
  }
  GMToffsetOption = 60;
  emu::HoldKey(RKEY_Prev, 0);
  // The large font draws the event texts otherwise.
  int font = extInfoFontOption;
  extInfoFontOption = 0;
  emu::HoldKey(RKEY_Prev, 0);
  std::vector<uint32_t> small = emu::Frame();
  extInfoFontOption = 1;
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_FALSE(emu::Frame() == small);
  extInfoFontOption = font;
  emu::HoldKey(RKEY_Prev, 0);
  // The last bar style, white, is drawn like the others.
  progressBarOption = 4;
  emu::HoldKey(RKEY_Prev, 0);
  EXPECT_EQ(emu::Frame()[268 * OSD_WIDTH + 560], 0xFF101010u);
  // A style beyond the known ones (a hand-edited settings file) draws no bar.
  for (int style : {-1, 5}) {
    progressBarOption = style;
    emu::HoldKey(RKEY_Prev, 0);
    EXPECT_NE(emu::Frame()[268 * OSD_WIDTH + 560], 0xFF101010u) << style;
  }
  progressBarOption = 0;
  // Each encryption state has its own icon and words; other values none.
  std::vector<uint32_t> states[5];
  for (int state = 4; state >= 0; state--) {
    currentFile.encryption = (byte)state;
    emu::HoldKey(RKEY_Prev, 0);
    states[state] = Area(387, 262, 260, 36);
  }
  EXPECT_TRUE(states[4] == states[0]);
  for (int a = 0; a < 4; a++)
    for (int b = a + 1; b < 4; b++) EXPECT_FALSE(states[a] == states[b]) << a << " " << b;
  currentFile.encryption = 3;
  // The minutes beside the progress bar: small, hidden, larger.
  std::vector<uint32_t> minutes[3];
  int kept = MinsOnProgressBar;
  for (int option = 2; option >= 0; option--) {
    MinsOnProgressBar = option;
    emu::HoldKey(RKEY_Prev, 0);
    minutes[option] = Area(560, 250, 100, 28);
  }
  int drawn[3] = {0, 0, 0}, top[3] = {99, 99, 99};
  for (int option : {0, 2})
    for (size_t i = 0; i < minutes[1].size(); i++)
      if (minutes[option][i] != minutes[1][i]) {
        drawn[option]++;
        top[option] = std::min(top[option], (int)(i / 100));
      }
  EXPECT_GT(drawn[0], 40);
  EXPECT_GT(drawn[2], drawn[0] + drawn[0] / 5);  // the larger font
  EXPECT_LT(top[2], top[0]);                     // set higher
  // A recording without a duration has no minutes to show; one minute has.
  MinsOnProgressBar = 0;
  dword length = currentFile.durationMinutes;
  for (dword shortest : {0u, 1u}) {
    currentFile.durationMinutes = shortest;
    emu::HoldKey(RKEY_Prev, 0);
    EXPECT_EQ(Area(560, 250, 100, 28) == minutes[1], shortest == 0) << shortest;
  }
  currentFile.durationMinutes = length;
  MinsOnProgressBar = kept;
  emu::HoldKey(RKEY_Prev, 0);

  // Next pages repeat the previous page's last line; the last page reaches
  // the text's end. Previous shows the first page again.
  emu::PressKey(RKEY_Next);
  ExpectFrame("info-recording-next");
  EXPECT_GT(rememberLastExtInfoStr_Start, firstPageLast);
  int pages = 2;
  while (LastWrapPutStr_P != 0 && pages < 10) {
    emu::PressKey(RKEY_Next);
    pages++;
  }
  EXPECT_EQ(LastWrapPutStr_P, 0) << "the extended text never ended";
  emu::PressKey(RKEY_Prev);
  ExpectFrame("info-recording");

  // Buttons wrap; Down and Up step through the list under the window.
  for (int i = 0; i < 4; i++) emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(infoCommandOption, 4);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(infoCommandOption, 0);
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(infoCommandOption, 4);
  emu::PressKey(RKEY_ChDown);
  EXPECT_STREQ(currentFile.name, "Beta.rec");
  EXPECT_EQ(listMoved, 1);
  emu::PressKey(RKEY_ChUp);
  EXPECT_STREQ(currentFile.name, "Alpha.rec");
  // Rename opens the keyboard on the name; cancelled, the window stays on
  // its Rename button.
  emu::PressKey(RKEY_VolDown);
  emu::PressKey(RKEY_VolDown);
  ASSERT_EQ(infoCommandOption, 2);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(keyboardWindowShowing, 1);
  EXPECT_STREQ(renameString, "Alpha");
  emu::PressKey(RKEY_Exit);  // the keyboard's cancel
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_EQ(infoWindowShowing, 1);
  EXPECT_EQ(infoCommandOption, 2);

  // Exit gives back the list as it was.
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_EQ(returnFromInfo, 0);
  EXPECT_EQ(listMoved, 0);
  EXPECT_STREQ(SelectedName(), "Alpha.rec");
  EXPECT_TRUE(emu::Frame() == list);

  // A folder offers OK, Delete, Rename and Move; Left from OK goes to Move.
  OpenInfo("Movies");
  ExpectFrame("info-folder");
  std::vector<uint32_t> folderFrame = emu::Frame();
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(infoCommandOption, 3);
  EXPECT_FALSE(emu::Frame() == folderFrame);  // the highlight shows the button chosen
  // In the recycle-bin view a folder offers only OK and Move.
  recycleWindowMode = 1;
  emu::PressKey(RKEY_VolDown);
  EXPECT_EQ(infoCommandOption, 0);
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(infoCommandOption, 3);
  recycleWindowMode = 0;
  emu::PressKey(RKEY_VolUp);
  EXPECT_EQ(infoCommandOption, 0);
  EXPECT_TRUE(emu::Frame() == folderFrame);
  emu::PressKey(RKEY_Exit);

  // Delete hands over to the confirmation; once the file has gone, the
  // window has closed over the list without it.
  OpenInfo("Beta.rec");
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(yesnoWindowShowing, 1);
  YesNoOption = 0;  // Yes
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_EQ(Find("Beta.rec"), 0);
  EXPECT_FALSE(disk->Exists("/DataFiles/Beta.rec"));

  TextLanguage = 1;
  InfoTime24Hour = 1;
  OpenInfo("Alpha.rec");
  ExpectFrame("info-german");
  emu::HoldKey(RKEY_Exit, 0);

  // A file that is playing is not offered for renaming.
  TextLanguage = 0;
  emu::HoldKey(RKEY_Ok, 0);
  ASSERT_TRUE(emu::IsPlaying());
  if (windowShowing == 0) OpenList();
  emu::Idle(2);
  OpenInfo("Alpha.rec");
  emu::HoldKey(RKEY_VolUp, 0);
  emu::HoldKey(RKEY_VolUp, 0);
  ASSERT_EQ(infoCommandOption, 2);
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(keyboardWindowShowing, 0);
  EXPECT_STREQ(lastMessageTitle, "File Rename Not Allowed");
  EXPECT_STREQ(lastMessageLine1, "Renaming of files that are playing");
  EXPECT_TRUE(disk->Exists("/DataFiles/Alpha.rec"));
  emu::HoldKey(RKEY_VolUp, 0);  // nor for moving
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(moveWindowShowing, 0);
  EXPECT_STREQ(lastMessageLine1, "Moving of files that are playing");
  // Another entry may be renamed meanwhile.
  emu::HoldKey(RKEY_Exit, 0);
  OpenInfo("Movies");
  emu::HoldKey(RKEY_VolUp, 0);
  emu::HoldKey(RKEY_VolUp, 0);
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(keyboardWindowShowing, 1);
  emu::HoldKey(RKEY_Exit, 0);  // the keyboard's cancel
  emu::HoldKey(RKEY_Exit, 0);
  // Move from the window moves the entry shown: a multi-selection goes.
  SelectByKeys("Movies");
  emu::HoldKey(RKEY_Ok, 0);
  Mark({"One.rec"});
  ASSERT_EQ(MultiSelectCount(), 1);
  OpenInfo("Two.rec");
  for (int i = 0; i < 3; i++) emu::HoldKey(RKEY_VolUp, 0);
  ASSERT_EQ(infoCommandOption, 3);
  // OK without its release: the move window would take the release for OK.
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(moveWindowShowing, 1);
  EXPECT_EQ(MultiSelectCount(), 0);
  EXPECT_GE(numberOfDestinationFolders, 2);
  std::vector<uint32_t> destinations = emu::Frame();
  emu::PressKey(RKEY_ChDown);
  emu::PressKey(RKEY_ChUp);
  EXPECT_TRUE(emu::Frame() == destinations);  // the folders were listed at once
  emu::PressKey(RKEY_Exit);
  EXPECT_TRUE(disk->Exists("/DataFiles/Movies/Two.rec"));

  // Asked for a folder, Tagsmith opens the own window, here on the parent
  // entry: it has no watched mark to set.
  if (infoWindowShowing) emu::HoldKey(RKEY_Exit, 0);
  SelectByKeys("..");
  emu::PressKey(RKEY_Sat);
  ASSERT_EQ(infoWindowShowing, 1);
  emu::HoldKey(RKEY_VolDown, 0);
  ASSERT_EQ(infoCommandOption, 4);
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(infoCommandOption, 4);
  EXPECT_EQ(Line(chosenLine)->hasHistory, 0);
}

// OK, Delete, Move and Progress from the window, each as it acts on the
// entry shown; the window is drawn afresh after each.
TEST_F(InfoTest, ButtonsActOnTheEntryShown) {
  OpenList();
  SelectByKeys("Beta.rec");
  std::vector<uint32_t> list = emu::Frame();
  OpenInfo("Beta.rec");
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(infoWindowShowing, 0);
  EXPECT_TRUE(emu::Frame() == list);

  // Progress marks an unplayed recording as begun, and again forgets it.
  OpenInfo("Beta.rec");
  for (dword mark : {1u, 0u}) {
    emu::PressKey(RKEY_VolDown);
    ASSERT_EQ(infoCommandOption, 4);
    emu::PressKey(RKEY_Ok);
    EXPECT_EQ(Line(chosenLine)->hasHistory, mark);
    EXPECT_EQ(currentFile.hasHistory, mark);
    EXPECT_EQ(infoCommandOption, 0);
    std::vector<uint32_t> shown = emu::Frame();
    emu::HoldKey(RKEY_Prev, 0);
    EXPECT_TRUE(emu::Frame() == shown) << mark;
  }
  // While a background copy runs, Move is refused with the reason.
  processInBackground = 1;
  for (int i = 0; i < 3; i++) emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  processInBackground = 0;
  EXPECT_EQ(moveWindowShowing, 0);
  EXPECT_STREQ(lastMessageLine1, "A background copy is in progress.");
  emu::PressKey(RKEY_Exit);

  // Delete drops a multi-selection before it asks.
  Mark({"Alpha.rec"});
  OpenInfo("Beta.rec");
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  EXPECT_EQ(yesnoWindowShowing, 1);
  EXPECT_EQ(MultiSelectCount(), 0);
  YesNoOption = 1;  // No
  emu::PressKey(RKEY_Ok);
  ASSERT_EQ(yesnoWindowShowing, 0);
  if (infoWindowShowing) emu::PressKey(RKEY_Exit);

  // In the bin's view Delete removes a recycled recording for good and the
  // last button restores one.
  for (const char* name :
       {"/DataFiles/Aged.rec.del", "/DataFiles/Back.rec.del", "/DataFiles/Cold.rec.del"})
    ASSERT_TRUE(disk->File(name, 1, testdisk::Stamp(2026, 10, 1, 0, 0)));
  emu::PressKey(RKEY_Recall);
  ASSERT_EQ(recycleWindowMode, 1);
  OpenInfo("Aged.rec.del");
  emu::PressKey(RKEY_VolUp);
  emu::PressKey(RKEY_Ok);
  if (yesnoWindowShowing) {
    YesNoOption = 0;  // Yes
    emu::PressKey(RKEY_Ok);
  }
  EXPECT_FALSE(disk->Exists("/DataFiles/Aged.rec.del"));
  EXPECT_TRUE(disk->Exists("/DataFiles/Back.rec.del"));
  EXPECT_EQ(Find("Aged.rec.del"), 0);
  EXPECT_NE(Find("Back.rec.del"), 0) << "another line left the list";
  if (infoWindowShowing) emu::PressKey(RKEY_Exit);
  OpenInfo("Cold.rec.del");
  emu::PressKey(RKEY_VolDown);
  ASSERT_EQ(infoCommandOption, 4);
  emu::PressKey(RKEY_Ok);
  EXPECT_TRUE(disk->Exists("/DataFiles/Cold.rec"));
  EXPECT_FALSE(disk->Exists("/DataFiles/Cold.rec.del"));
  EXPECT_EQ(Find("Cold.rec.del"), 0);
  EXPECT_NE(Find("Back.rec.del"), 0) << "another line left the list";
}

class LogoTest : public InfoTest {
 protected:
  void BuildDisk() override {
    emu::SetChannels({Service("Good", 1, 11), Service("Plain", 2, 12), Service("Not Jpeg", 3, 13),
                      Service("Cut", 4, 14), Service("Huge", 5, 15), Service("Progressive", 6, 16),
                      Service("Cmyk", 7, 17), Service("Das Erste HD", 8, 18),
                      Service("A/B \"Q\" \xCE\xA9", 9, 19)},
                     {});
    const char* names[] = {"Good", "Plain",        "Not Jpeg",
                           "Cut",  "Huge",         "Progressive",
                           "Cmyk", "Das Erste HD", "A/B \"Q\" \xCE\xA9"};
    for (int i = 0; i < 9; i++) Logo(i + 1, names[i]);
    Logo(999, "Gone");  // not in the channel lists

    std::vector<unsigned char> good = Jpeg(60, 39, 0x20A020);
    Write("/ProgramFiles/Settings/Logos/Good.jpg", good);
    Write("/ProgramFiles/Settings/Logos/Not Jpeg.jpg", {'G', 'I', 'F', '8', '9', 'a', 0, 0});
    Write("/PhotoFiles/Logos/Cut.jpg",
          std::vector<unsigned char>(good.begin(), good.begin() + good.size() / 2));
    // A picture that claims 10000 x 10000 pixels in its frame header.
    std::vector<unsigned char> huge = Jpeg(16, 16, 0x808080);
    for (size_t i = 0; i + 8 < huge.size(); i++) {
      if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
        huge[i + 5] = huge[i + 7] = 10000 >> 8;
        huge[i + 6] = huge[i + 8] = 10000 & 0xFF;
        break;
      }
    }
    Write("/PhotoFiles/Logos/Huge.jpg", huge);
    Write("/PhotoFiles/Settings/Logos/progressive.jpg", Jpeg(60, 39, 0x2020A0, true));
    Write("/ProgramFiles/Settings/Logos/Cmyk.jpg", Jpeg(60, 39, 0x2020A0, false, true));
    // The logo cache: records for Good (by name) and Das Erste HD (by its
    // channel number), and one for no channel.
    std::string cache;
    for (const char* name : {"Good", "18", "Nobody"}) {
      std::string record(23 + 4680, '\x5A');
      record.replace(0, 23, std::string(name) + std::string(23 - strlen(name), '\0'));
      cache += record;
    }
    Write("/ProgramFiles/Settings/Logos/logo.dat",
          std::vector<unsigned char>(cache.begin(), cache.end()));
    // Found under the logo name in the last folder.
    Write("/PhotoFiles/Settings/Logos/daserstehd.jpg", Jpeg(60, 39, 0x0030A0));
  }
  void Logo(int svcId, const char* channel) {
    testdisk::Header header;
    header.recordingStart = testdisk::Stamp(2026, 11, svcId % 28 + 1, 20, 0);
    header.durationMinutes = 30;
    header.serviceId = static_cast<uint16_t>(svcId);
    header.serviceName = channel;
    header.eventName = channel;
    char path[64];
    snprintf(path, sizeof path, "/DataFiles/Rec %03d.rec", svcId);
    ASSERT_TRUE(disk->Recording(path, 1000 * kBlock, header, true, header.recordingStart));
  }
  void Write(const std::string& path, const std::vector<unsigned char>& data) {
    ASSERT_TRUE(disk->Folder(path.substr(0, path.rfind('/'))));
    ASSERT_TRUE(testenv::WriteFile(HostPath(path), std::string(data.begin(), data.end())));
  }
  int Reports() {
    std::string log =
        testenv::ReadFile(HostPath("/ProgramFiles/Settings/Pavrolinex/Logs/Pavrolinex.log"));
    int n = 0;
    for (size_t at = log.find("Logo not drawn"); at != std::string::npos;
         at = log.find("Logo not drawn", at + 1)) {
      n++;
    }
    return n;
  }
};

TEST_F(LogoTest, ListShowsLogosOrNamesAndTheDiagnosticWindowTellsWhere) {
  OpenList();
  // Good and Das Erste HD draw; the five damaged files and Plain show the
  // channel's name; Gone (an unknown service) leaves its box empty.
  ExpectFrame("list-logos");
  EXPECT_EQ(maxTvSvc, 8);
  EXPECT_EQ(logoArrayTv[0].loaded + logoArrayTv[7].loaded, 2);
  EXPECT_EQ(logoArrayTv[7].bitmap[4679], 0x5A);
  EXPECT_EQ(logoArrayTv[1].loaded, 0);
  EXPECT_STREQ(logoArrayTv[7].compactName, "DasErsteHD");
  EXPECT_EQ(Reports(), 5);
  RefreshQuembryList(0);
  EXPECT_EQ(Reports(), 5) << "each damaged file is reported once";

  // Awkward channel names give file names without path or quote characters.
  char names[4][64];
  LogoCandidateNames(8, SVC_TYPE_Tv, "A/B \"Q\" \xCE\xA9", names);
  EXPECT_STREQ(names[0], "AB Q .jpg");
  EXPECT_STREQ(names[1], "19.jpg");
  EXPECT_STREQ(names[2], "ffffffff80010009.jpg");
  EXPECT_STREQ(names[3], "abq.jpg");
  LogoCandidateNames(-1, SVC_TYPE_Tv, "../Gone", names);
  EXPECT_STREQ(names[0], "..Gone.jpg");
  EXPECT_STREQ(names[1], "");
  EXPECT_STREQ(names[2], "0000000000000000.jpg");
  EXPECT_STREQ(names[3], "gone.jpg");

  OpenInfo("Rec 008.rec");
  emu::PressKey(RKEY_AudioTrk);
  EXPECT_EQ(infoLogoWindowShowing, 1);
  ExpectFrame("logo-diagnostic");
  emu::PressKey(RKEY_Exit);
  EXPECT_EQ(infoLogoWindowShowing, 0);
  EXPECT_EQ(infoWindowShowing, 1);
  emu::PressKey(RKEY_Exit);
  OpenInfo("Rec 009.rec");  // the channel's name without path, quote or foreign characters
  EXPECT_TRUE(ValueReads(150, "AB Q ", 180));
  emu::HoldKey(RKEY_Exit, 0);
  OpenInfo("Rec 999.rec");
  emu::PressKey(RKEY_AudioTrk);
  ExpectFrame("logo-diagnostic-unknown");
  emu::PressKey(RKEY_AudioTrk);
  EXPECT_EQ(infoLogoWindowShowing, 0);
  emu::HoldKey(RKEY_Exit, 0);

  // The channel's name in lower case comes before the other names.
  Write("/ProgramFiles/Settings/Logos/das erste hd.jpg", Jpeg(60, 39, 0xFF0000));
  DisplayLogo(rgn, 100, 100, 60, 39, 7, SVC_TYPE_Tv, "Das Erste HD");
  TAP_Osd_Sync();
  uint32_t centre = emu::Frame()[119 * 720 + 130];
  EXPECT_GT(centre >> 16 & 0xFF, 0xC0u) << std::hex << centre;  // red, not the blue logo
  EXPECT_LT(centre & 0xFF, 0x40u) << std::hex << centre;
  // A picture padded to the largest size a logo may have is drawn; one byte
  // more and it is not read, but reported.
  std::vector<unsigned char> padded = Jpeg(60, 39, 0x00FF00);
  for (size_t size : {512 * 1024, 512 * 1024 + 1}) {
    padded.resize(size);
    Write("/ProgramFiles/Settings/Logos/Plain.jpg", padded);
    TAP_Osd_FillBox(rgn, 100, 100, 60, 39, 0xFF000000);
    DisplayLogo(rgn, 100, 100, 60, 39, 1, SVC_TYPE_Tv, "Plain");
    TAP_Osd_Sync();
    centre = emu::Frame()[119 * 720 + 130];
    EXPECT_EQ((centre >> 8 & 0xFF) > 0xC0, size == 512 * 1024) << std::hex << centre;  // green
  }
  EXPECT_EQ(Reports(), 6);

  // With no folder on the disk, Move from the window says there is nowhere to go.
  OpenInfo("Rec 001.rec");
  for (int i = 0; i < 3; i++) emu::HoldKey(RKEY_VolUp, 0);
  emu::HoldKey(RKEY_Ok, 0);
  EXPECT_EQ(moveWindowShowing, 0);
  EXPECT_STREQ(lastMessageLine1, "There are no subdirectories");
}

}  // namespace
