// Helpers shared by the test programs: recorded message boxes, a private
// working folder per test, and whole-file reads and writes.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/message_box.h"

struct recorded_box {
  std::string title, text;
  bool operator==(const recorded_box &) const = default;
};
inline std::ostream &operator<<(std::ostream &out, const recorded_box &box) {
  return out << "{\"" << box.title << "\", \"" << box.text << "\"}";
}

inline std::vector<recorded_box> &recorded_boxes() {
  static std::vector<recorded_box> boxes;
  return boxes;
}

inline void record_message_box(box_kind, const char *title, const char *text) { recorded_boxes().push_back({title, text}); }

inline std::string read_file(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void write_file(const std::filesystem::path &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// Each test runs in a fresh folder of its own (config.txt lives in the current
// folder), with a fresh project and message boxes recorded.
class ProjectTest : public ::testing::Test {
 protected:
  std::filesystem::path folder, previous_folder;

  void SetUp() override {
    previous_folder = std::filesystem::current_path();
    std::string name = std::string("talven-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                       "-" + std::to_string(std::random_device{}());
    std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests carry a slash
    folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    init_project();
    recorded_boxes().clear();
    set_message_box_handler(record_message_box);
  }

  void TearDown() override {
    set_message_box_handler(nullptr);
    std::filesystem::current_path(previous_folder);
    std::filesystem::remove_all(folder);
  }

  static void set_config(int row, const char *value) { copy_field(config_entries[row].value, text_size, value); }
  static std::vector<recorded_box> &boxes() { return recorded_boxes(); }
};
