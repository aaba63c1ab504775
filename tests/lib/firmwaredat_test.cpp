// The firmware description file: loading, validation, the lookups by system
// identifier, and the file the generator writes.
#include <cstdlib>
#include <string>

#include "firmware_dat.h"
#include "lib_test.h"

namespace {

const char kSettingsFile[] = "/mnt/hd/ProgramFiles/Settings/FirmwareTMS.dat";
const char kProgramFilesFile[] = "/mnt/hd/ProgramFiles/FirmwareTMS.dat";

class FirmwareDat : public LibTest {};

TEST_F(FirmwareDat, MissingFileAnswersDefaults) {
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(FirmwareDatMJD(), 0);
  EXPECT_EQ(GetSystemType(), ST_UNKNOWN);
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
  FindGlobalRemoteType();
  EXPECT_EQ(GlobalRemoteType, 1u);
  EXPECT_EQ(GetSysID(), config_.systemId);
}

TEST_F(FirmwareDat, ModelOfThisRecorder) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  tFWDATHeader* header;
  tFWDATModel* model;
  byte* firmware;
  ASSERT_TRUE(LoadFirmwareDat(&header, &model, &firmware));
  EXPECT_EQ(header->nModels, dat.models.size());
  EXPECT_EQ(header->nFirmwares, 2u);
  EXPECT_EQ(firmware, (byte*)model + dat.models.size() * FIRMWAREDAT_MODEL_SIZE);
  EXPECT_EQ(FirmwareDatMJD(), TAP_MakeMjd(2012, 6, 1));
  EXPECT_EQ(GetSystemType(), ST_TMSS);
  EXPECT_EQ(HDD_NumberOfRECSlots(), 4);
  FindGlobalRemoteType();
  EXPECT_EQ(GlobalRemoteType, 2u);
  // The same image serves every later call.
  tFWDATHeader* again;
  ASSERT_TRUE(LoadFirmwareDat(&again, nullptr, nullptr));
  EXPECT_EQ(again, header);
}

TEST_F(FirmwareDat, FoundInProgramFiles) {
  testdisk::FirmwareDat older = testdisk::DefaultFirmwareDat(config_.systemId);
  older.year = 2010;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kProgramFilesFile, older));
  EXPECT_EQ(FirmwareDatMJD(), TAP_MakeMjd(2010, 6, 1));
}

TEST_F(FirmwareDat, SettingsFolderWins) {
  testdisk::FirmwareDat older = testdisk::DefaultFirmwareDat(config_.systemId);
  older.year = 2010;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kProgramFilesFile, older));
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, testdisk::DefaultFirmwareDat()));
  EXPECT_EQ(FirmwareDatMJD(), TAP_MakeMjd(2012, 6, 1));
}

TEST_F(FirmwareDat, DamagedFilesAreRejectedAndReadAgain) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  dat.reserved = 7;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  size_t blocks = emu::AllocatedBlocks();
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(FWDATBin, nullptr);
  EXPECT_EQ(emu::AllocatedBlocks(), blocks);  // what was read is given back
  EXPECT_EQ(GetSystemType(), ST_UNKNOWN);
  // Repaired on disk: the next call reads it again.
  dat.reserved = 0;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_TRUE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(GetSystemType(), ST_TMSS);
}

TEST_F(FirmwareDat, WrongMagicShortFilesAndEmptyFiles) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  dat.magic = 0x87654321;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  // More models announced than the file holds.
  dat.magic = 0x12345678;
  dat.truncateTo = 20 + 348 + 100;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
  dat.truncateTo = 10;  // not even a header
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  ASSERT_TRUE(testenv::WriteFile(kSettingsFile, ""));
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  // A sound file grown past 16 MB is not read at all.
  dat.magic = 0x12345678;
  dat.truncateTo = 0;
  std::string grown = testdisk::FirmwareDatImage(dat);
  grown.resize(16 * 1024 * 1024 + 1);
  ASSERT_TRUE(testenv::WriteFile(kSettingsFile, grown));
  EXPECT_FALSE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(FirmwareDatMJD(), 0);
  grown.resize(16 * 1024 * 1024);  // 16 MB exactly is read
  ASSERT_TRUE(testenv::WriteFile(kSettingsFile, grown));
  EXPECT_TRUE(LoadFirmwareDat(nullptr, nullptr, nullptr));
}

TEST_F(FirmwareDat, SystemIdentifierNotInTheFile) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  dat.models.pop_back();  // the emulated recorder's own record
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_TRUE(LoadFirmwareDat(nullptr, nullptr, nullptr));
  EXPECT_EQ(GetSystemType(), ST_UNKNOWN);
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
  FindGlobalRemoteType();
  EXPECT_EQ(GlobalRemoteType, 1u);
}

TEST_F(FirmwareDat, AnImplausibleStreamCountIsNotBelieved) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  dat.models.back().maxRecStreams = 259;  // the emulated recorder's own record
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);  // not 259 cut to a byte
}

class FirmwareDatOtherModel : public LibTest {
  void Configure(emu::Config& config) override { config.systemId = 12406; }
};

TEST_F(FirmwareDatOtherModel, ConfiguredSystemIdentifierSelectsItsRecord) {
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, testdisk::DefaultFirmwareDat(12406)));
  EXPECT_EQ(GetSysID(), 12406);
  EXPECT_EQ(GetSystemType(), ST_T5800);
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
  FindGlobalRemoteType();
  EXPECT_EQ(GlobalRemoteType, 1u);
  tFWDATModel* model;
  ASSERT_TRUE(LoadFirmwareDat(nullptr, &model, nullptr));
  while (model->sysID != 12406) model++;
  EXPECT_NE(model->recSuffixMpg, 0);
  EXPECT_STREQ(model->deviceName, "5800 family");
}

TEST_F(FirmwareDat, StreamCountZeroMeansTwoSlots) {
  testdisk::FirmwareDat dat = testdisk::DefaultFirmwareDat(config_.systemId);
  dat.models.back().maxRecStreams = 0;
  ASSERT_TRUE(testdisk::WriteFirmwareDat(kSettingsFile, dat));
  EXPECT_EQ(HDD_NumberOfRECSlots(), 2);
}

TEST_F(FirmwareDat, GeneratorToolWritesTheDefaultFile) {
  std::string out = testenv::MakeTempDir("pvr-fwdat") + "/FirmwareTMS.dat";
  std::string command =
      std::string(PVR_EXEC_PREFIX PVR_BINARY_DIR) + "/tools/make_firmware_dat '" + out + "' 0x1234";
  ASSERT_EQ(system(command.c_str()), 0) << command;
  EXPECT_EQ(testenv::ReadFile(out),
            testdisk::FirmwareDatImage(testdisk::DefaultFirmwareDat(0x1234)));
  std::string bad =
      std::string(PVR_EXEC_PREFIX PVR_BINARY_DIR) + "/tools/make_firmware_dat '" + out + "' 0";
  EXPECT_NE(system((bad + " 2>/dev/null").c_str()), 0);
}

}  // namespace
