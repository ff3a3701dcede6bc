// Where the programs find the bundled definitions and the manual: beside an
// installed copy (laid out on disk here as an install lays it out), else in the
// source tree the build came from.
#include "support/test_support.h"

#include <cstdlib>

#include "platform/own_location.h"
#include "startup/bundled_files.h"

namespace fs = std::filesystem;

namespace {

class BundledFiles : public ProjectTest {
 protected:
  fs::path source_tree() {
    const char *source = std::getenv("TALVEN_SOURCE_DIR");
    if (!source) ADD_FAILURE() << "run through ctest";
    return source ? source : "";
  }
  // An install under folder/prefix as cmake --install makes it on Linux.
  fs::path install(bool with_manual) {
    fs::path prefix = folder / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/talven/targets");
    write_file(prefix / "share/talven/targets/pic16f628a.def", "@END\r\n");
    if (with_manual) {
      fs::create_directories(prefix / "share/doc/talven");
      write_file(prefix / "share/doc/talven/manual.html", "<html></html>\n");
    }
    return prefix;
  }
};

TEST_F(BundledFiles, AnInstalledProgramFindsThemUnderItsPrefix) {
  fs::path prefix = install(true);
  std::string bin = (prefix / "bin").string();
  EXPECT_EQ(bundled_targets_folder_for(bin), (prefix / "share/talven/targets").string());
  EXPECT_EQ(manual_address_for(bin), "file://" + (prefix / "share/doc/talven/manual.html").string());
}

TEST_F(BundledFiles, WhatTheInstallLacksComesFromTheSourceTree) {
  fs::path prefix = install(false);
  std::string bin = (prefix / "bin").string();
  EXPECT_EQ(bundled_targets_folder_for(bin), (prefix / "share/talven/targets").string());
  EXPECT_EQ(manual_address_for(bin), "file://" + (source_tree() / "docs/manual.html").string());
  // A program whose folder is unknown or holds no install uses the source tree.
  for (std::string program_folder : {std::string(""), folder.string()}) {
    EXPECT_EQ(bundled_targets_folder_for(program_folder), (source_tree() / "targets").string());
    EXPECT_EQ(manual_address_for(program_folder), "file://" + (source_tree() / "docs/manual.html").string());
  }
}

TEST_F(BundledFiles, ATestProgramInTheBuildFolderKnowsItsFolderAndUsesTheSourceTree) {
  // ctest starts the test programs in the build folder that holds them.
  EXPECT_EQ(fs::path(executable_folder()), previous_folder);
  EXPECT_EQ(bundled_targets_folder(), (source_tree() / "targets").string());
  EXPECT_TRUE(fs::exists(fs::path(bundled_targets_folder()) / "pic16f628a.def"));
  EXPECT_EQ(std::string(manual_address()), "file://" + (source_tree() / "docs/manual.html").string());
}

}  // namespace
