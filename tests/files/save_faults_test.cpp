// Every file the program writes, saved when saving cannot work: the current folder
// was removed, the old file cannot be replaced, the disk fills up halfway. Each
// time the user sees the file's own message and the previous file stays as it was.
// The faults are made with Linux means (removing the current folder, the immutable
// flag, a small tmpfs), so the Windows build leaves this file out.
#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/files.h"
#include "files/text_io.h"
#include "support/test_support.h"
#include "compiler/compiler.h"

namespace {

namespace fs = std::filesystem;

// The hex file is written by the compiler: an empty program under a small definition.
bool compile_empty_program() {
  for (char *line : literal_buffer) line[0] = 0;
  return compile_literal_to_hex() == compile_ok;
}

struct written_file {
  const char *label;
  const char *name;
  int config_row;  // the app_config entry naming it; -1 for config.txt, whose name is fixed
  bool (*save)();
  recorded_box notice;  // shown before writing, or empty
  recorded_box failure;
};

const written_file written_files[] = {
    {"graphic", "project.gra", config_graphic, save_graphic_file, {"Files", "Saving Graphical File ?"},
     {"Files", "Impossible de creer le fichier graphique"}},
    {"literal", "program.lit", config_literal, save_literal_file, {"Files", "Saving Literal File ?"},
     {"Files", "Impossible de creer le fichier literal"}},
    {"hex", "program.hex", config_hex, compile_empty_program, {"Processing", "Converting Literal --> Hex ?"},
     {"Files", "Impossible de creer le fichier hex"}},
    {"config", "config.txt", -1, write_config_file, {}, {"Files", "Impossible de creer le fichier config.txt"}},
};

void PrintTo(const written_file &file, std::ostream *out) { *out << file.name; }

const char previous_contents[] = "previous contents\r\nkept byte for byte\r\n";

std::vector<std::string> folder_listing(const fs::path &place) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(place)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Marks a file immutable, which even the superuser cannot replace; false where
// the file system does not offer the flag.
bool set_immutable(const fs::path &file, bool immutable) {
  int descriptor = open(file.c_str(), O_RDONLY);
  if (descriptor < 0) return false;
  int flags = 0;
  bool done = ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
  flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
  close(descriptor);
  return done;
}

class SaveFaults : public ProjectTest, public ::testing::WithParamInterface<written_file> {
 protected:
  fs::path work, small_disk, immutable_file;

  void SetUp() override {
    ProjectTest::SetUp();
    init_automaton_definition();
    write_file(folder / "target.def", "@INFOS\nuc_taille_flash 8\nuc_taille_eeprom 0\nadr_start_graphcet 0\n"
                                      "adr_stop_graphcet 8\n@HEX\n:00000001FF\n@END\n");
    set_config(config_automate, "target.def");
    ASSERT_EQ(load_automaton_definition(), 0);
    if (GetParam().config_row >= 0) set_config(GetParam().config_row, GetParam().name);
    work = folder / "work";
    fs::create_directory(work);
    fs::current_path(work);
  }

  void TearDown() override {
    fs::current_path(folder);
    if (!immutable_file.empty()) set_immutable(immutable_file, false);
    if (!small_disk.empty()) umount2(small_disk.c_str(), MNT_DETACH);
    ProjectTest::TearDown();
  }

  bool save() { return GetParam().save(); }

  std::vector<recorded_box> expected_boxes() {
    std::vector<recorded_box> expected;
    if (!GetParam().notice.title.empty()) expected.push_back(GetParam().notice);
    expected.push_back(GetParam().failure);
    return expected;
  }

  // A file system of 64 KiB mounted on the working folder; false where mounting is not allowed.
  bool mount_small_disk() {
    if (mount("tmpfs", work.c_str(), "tmpfs", 0, "size=64k") != 0) return false;
    small_disk = work;
    fs::current_path(folder);  // step back in so that relative names land on the new file system
    fs::current_path(work);
    return true;
  }

  // Fills the file system until writing fails with no space left.
  void fill_disk() {
    FILE *filler = std::fopen("filler", "wb");
    ASSERT_NE(filler, nullptr);
    std::setvbuf(filler, nullptr, _IONBF, 0);
    char block[512] = {};
    while (std::fwrite(block, 1, sizeof block, filler) == sizeof block) {}
    EXPECT_EQ(errno, ENOSPC);
    std::fclose(filler);
  }
};

TEST_P(SaveFaults, SavingIntoAFolderThatNoLongerExistsIsReportedAndCreatesNothing) {
  fs::remove(work);  // the working folder is gone, as when a removable disk is taken out
  EXPECT_FALSE(save());
  EXPECT_EQ(boxes(), expected_boxes());
  EXPECT_EQ(folder_listing(folder), (std::vector<std::string>{"target.def"}));
}

TEST_P(SaveFaults, AFileThatCannotBeReplacedIsReportedAndKeptByteForByte) {
  write_file(GetParam().name, previous_contents);
  if (set_immutable(GetParam().name, true)) {
    immutable_file = work / GetParam().name;
  } else {
    // Without the immutable flag, a folder of the same name stands in the way.
    fs::remove(GetParam().name);
    fs::create_directory(GetParam().name);
    write_file(fs::path(GetParam().name) / "inside", previous_contents);
  }
  EXPECT_FALSE(save());
  EXPECT_EQ(boxes(), expected_boxes());
  fs::path kept = immutable_file.empty() ? fs::path(GetParam().name) / "inside" : fs::path(GetParam().name);
  EXPECT_EQ(read_file(kept), previous_contents);
  EXPECT_EQ(folder_listing(work).size(), 1u) << "temporary file left behind";
}

TEST_P(SaveFaults, AWriteFailingMidwayIsReportedAndKeepsThePreviousFile) {
  write_file(GetParam().name, previous_contents);
  write_failure_after_bytes = 30;
  EXPECT_FALSE(save());
  write_failure_after_bytes = -1;
  EXPECT_EQ(boxes(), expected_boxes());
  EXPECT_EQ(read_file(GetParam().name), previous_contents);
  EXPECT_EQ(folder_listing(work), (std::vector<std::string>{GetParam().name}));
}

TEST_P(SaveFaults, AFullDiskIsReportedAndKeepsThePreviousFile) {
  if (!mount_small_disk()) GTEST_SKIP() << "mounting a small file system is not allowed here";
  write_file(GetParam().name, previous_contents);
  fill_disk();
  EXPECT_FALSE(save());
  EXPECT_EQ(boxes(), expected_boxes());
  EXPECT_EQ(read_file(GetParam().name), previous_contents);
  std::vector<std::string> expected = {"filler", GetParam().name};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(folder_listing(work), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryWrittenFile, SaveFaults, ::testing::ValuesIn(written_files),
                         [](const auto &info) { return std::string(info.param.label); });

}  // namespace
#endif
