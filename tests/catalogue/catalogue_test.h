// Shared fixture of the catalogue tests: a booted recorder, a disk builder on its
// disk, and the catalogue in its start-up state.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "emu.h"
#include "testdisk.h"
#include "testenv.h"

class CatalogueTest : public RecorderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Start-up state: tables empty, folder 0 named "/DataFiles", shown folder the root.
  void ResetCatalogue();
  // The full scan as activation runs it.
  void FullScan(int depth = 99, int headerFolder = 0);
  // Folder index of a firmware path in the catalogue, -1 when absent.
  int FolderOf(const std::string& path) const;
  // Line of `name` in folder `n`, null when absent.
  FileRecord* LineOf(int n, const std::string& name) const;
  std::vector<std::string> Names(int n) const;  // in slot order
  // The invariants every scan leaves behind; returns a description of the first
  // broken one, empty when all hold.
  std::string Invariants() const;
  // The names of a folder on disk that a scan in normal mode lists.
  std::set<std::string> DiskNames(const std::string& path) const;

  testdisk::Disk* disk = nullptr;
};
