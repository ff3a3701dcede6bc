// Shared by the target tests and the talvenc tests: definitions written in the
// test, literal rows, and an Intel HEX checker and builder that know nothing of
// the program's writer.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/model.h"
#include "support/test_support.h"
#include "compiler/compiler.h"

inline bool file_exists(const std::string &path) { return std::filesystem::exists(path); }

// Splits a file's text at CR LF; a bare LF stays inside a line, so it is seen.
inline std::vector<std::string> crlf_lines(const std::string &bytes) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = bytes.find("\r\n", start)) != std::string::npos) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  lines.push_back(bytes.substr(start));
  return lines;
}

// Checks one Intel HEX record by its own arithmetic: the bytes from the count
// to the checksum add up to 0 modulo 256, and the count matches the length.
inline bool record_checks(const std::string &record) {
  if (record.size() < 11 || record[0] != ':' || record.size() % 2 == 0) return false;
  int sum = 0;
  for (size_t i = 1; i < record.size(); i += 2) sum += std::stoi(record.substr(i, 2), nullptr, 16);
  int count = std::stoi(record.substr(1, 2), nullptr, 16);
  return sum % 256 == 0 && record.size() == size_t(11 + 2 * count);
}

// Builds the expected hex of an image held as word address -> value, by hand:
// unset program words "ff3f", unset EEPROM bytes "ff00".
struct expected_image {
  int flash_words_covered = 0, eeprom_bytes_covered = 0;
  std::map<int, int> flash, eeprom, config;
};

inline std::string expected_record(int byte_address, const std::vector<int> &bytes) {
  char text[16];
  std::string record = ":10";
  std::snprintf(text, sizeof text, "%04x00", byte_address);
  record += text;
  int sum = 16 + (byte_address >> 8) + (byte_address & 255);
  for (int byte : bytes) {
    std::snprintf(text, sizeof text, "%02x", byte);
    record += text;
    sum += byte;
  }
  std::snprintf(text, sizeof text, "%02x", (256 - sum % 256) % 256);
  return record + text;
}

inline std::vector<int> expected_words(const std::map<int, int> &words, int first, bool eeprom) {
  std::vector<int> bytes;
  for (int a = first; a < first + 8; a++) {
    auto found = words.find(a);
    if (found == words.end()) {
      bytes.push_back(0xff);
      bytes.push_back(eeprom ? 0x00 : 0x3f);
    } else {
      bytes.push_back(found->second & 0xff);
      bytes.push_back(eeprom ? 0 : found->second >> 8);
    }
  }
  return bytes;
}

inline std::string expected_hex(const expected_image &image) {
  std::vector<std::string> records;
  for (int w = 0; w < image.flash_words_covered; w += 8)
    records.push_back(expected_record(2 * w, expected_words(image.flash, w, false)));
  for (int a = 0; a < image.eeprom_bytes_covered; a += 8)
    records.push_back(expected_record(2 * (0x2100 + a), expected_words(image.eeprom, a, true)));
  records.push_back(expected_record(0x4000, expected_words(image.config, 0, false)));
  records.push_back(":00000001FF");
  std::string hex;
  for (const std::string &record : records) hex += (hex.empty() ? "" : "\r\n") + record;
  return hex;
}

// The first line where two texts split at CR LF differ, for readable failures.
inline std::string first_difference(const std::string &expected, const std::string &actual) {
  auto a = crlf_lines(expected), b = crlf_lines(actual);
  for (size_t i = 0; i < a.size() || i < b.size(); i++) {
    std::string x = i < a.size() ? a[i] : "<none>", y = i < b.size() ? b[i] : "<none>";
    if (x != y) return "line " + std::to_string(i + 1) + ": expected " + x + " got " + y;
  }
  return "";
}

// Definition text with ZB x0..x63 at addresses 0..63, the given other bit variables after them.
inline std::string zb_section(const std::string &others) {
  std::string text = "@ZB\n";
  for (int n = 0; n < 64; n++) text += "zb " + std::to_string(n) + " x" + std::to_string(n) + "\n";
  return text + others;
}

inline void set_literal_rows(const std::vector<std::string> &rows) {
  for (int n = 0; n < literal_lines; n++) literal_buffer[n][0] = 0;
  for (size_t n = 0; n < rows.size(); n++) copy_field(literal_buffer[n], text_size, rows[n].c_str());
}

// Each test runs in its own folder with a fresh project and definition and its
// message boxes recorded; file names are relative to that folder.
class target_test : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    init_automaton_definition();
  }
  static std::string path(const char *name) { return name; }

  // Writes a definition file and loads it; returns the loader's result.
  static int load_definition(const std::string &text) {
    write_file("def.txt", text);
    set_config(config_automate, "def.txt");
    return load_automaton_definition();
  }
  static void set_hex_name(const char *name) { set_config(config_hex, name); }
};
