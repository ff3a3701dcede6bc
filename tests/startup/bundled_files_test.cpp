// Where the programs find the bundled definitions and the manual: beside an
// installed copy (laid out on disk here as an install lays it out), else in the
// source tree the build came from.
#include "support/test_support.h"

#include <cstdlib>

#include "platform/own_location.h"
#include "startup/bundled_files.h"

namespace fs = std::filesystem;

namespace {

// Where an install puts the files, relative to its top folder.
#ifdef _WIN32
// The Windows zip keeps everything beside the two programs.
const char *const bin_dir = ".", *const targets_dir = "targets", *const manual_file = "manual.html";
#else
const char *const bin_dir = "bin", *const targets_dir = "share/talven/targets",
                  *const manual_file = "share/doc/talven/manual.html";
#endif

// file:///C:/... on Windows, file:///usr/... elsewhere.
std::string address_of(const fs::path &file) {
  std::string path = file.lexically_normal().generic_string();
  return (path.starts_with('/') ? "file://" : "file:///") + path;
}

// Paths compared by their parts, whichever separators they were written with.
fs::path normal(const std::string &path) { return fs::path(path).lexically_normal(); }

class BundledFiles : public ProjectTest {
 protected:
  fs::path source_tree() {
    const char *source = std::getenv("TALVEN_SOURCE_DIR");
    if (!source) ADD_FAILURE() << "run through ctest";
    return source ? source : "";
  }
  // An install under folder/prefix as cmake --install makes it.
  fs::path install(bool with_manual) {
    fs::path prefix = folder / "prefix";
    fs::create_directories(prefix / bin_dir);
    fs::create_directories(prefix / targets_dir);
    write_file(prefix / targets_dir / "pic16f628a.def", "@END\r\n");
    if (with_manual) {
      fs::create_directories((prefix / manual_file).parent_path());
      write_file(prefix / manual_file, "<html></html>\n");
    }
    return prefix;
  }
};

TEST_F(BundledFiles, AnInstalledProgramFindsThemUnderItsPrefix) {
  fs::path prefix = install(true);
  std::string bin = (prefix / bin_dir).string();
  EXPECT_EQ(normal(bundled_targets_folder_for(bin)), normal((prefix / targets_dir).string()));
  EXPECT_EQ(manual_address_for(bin), address_of(prefix / manual_file));
}

TEST_F(BundledFiles, WhatTheInstallLacksComesFromTheSourceTree) {
  fs::path prefix = install(false);
  std::string bin = (prefix / bin_dir).string();
  EXPECT_EQ(normal(bundled_targets_folder_for(bin)), normal((prefix / targets_dir).string()));
  EXPECT_EQ(manual_address_for(bin), address_of(source_tree() / "docs/manual.html"));
  // A program whose folder is unknown or holds no install uses the source tree.
  for (std::string program_folder : {std::string(""), (folder / "elsewhere").string()}) {
    EXPECT_EQ(normal(bundled_targets_folder_for(program_folder)), normal((source_tree() / "targets").string()));
    EXPECT_EQ(manual_address_for(program_folder), address_of(source_tree() / "docs/manual.html"));
  }
}

TEST_F(BundledFiles, ATestProgramInTheBuildFolderKnowsItsFolderAndFindsTheTargets) {
  // ctest starts the test programs in the build folder that holds them.
  EXPECT_EQ(fs::path(executable_folder()), previous_folder);
#ifdef _WIN32
  // The cross build copies the targets beside its programs, as the zip has them: the source
  // tree's Linux path would lie on another drive than a test's folder under Wine.
  EXPECT_EQ(normal(bundled_targets_folder()), normal((previous_folder / "targets").string()));
#else
  EXPECT_EQ(normal(bundled_targets_folder()), normal((source_tree() / "targets").string()));
#endif
  EXPECT_TRUE(fs::exists(fs::path(bundled_targets_folder()) / "pic16f628a.def"));
  EXPECT_EQ(std::string(manual_address()), address_of(source_tree() / "docs/manual.html"));
}

}  // namespace
