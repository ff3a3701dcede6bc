// What the translation tests share: a fresh project, recorded message boxes, a way
// to draw cells and a whole-buffer comparison that names the first differing row.
#pragma once
#include <string>
#include <vector>

#include "drawn_charts.h"
#include "support/test_support.h"
#include "translate/translate.h"

inline const recorded_box notice{"Processing", "Converting Graphic --> Literal ?"};

// A fresh project with message boxes recorded; the translation touches no file.
class Translation : public ::testing::Test {
 protected:
  std::vector<recorded_box> &boxes = recorded_boxes();
  void SetUp() override {
    init_project();
    boxes.clear();
    set_message_box_handler(record_message_box);
  }
  void TearDown() override { set_message_box_handler(nullptr); }
};

inline void set_text(char *field, const char *text) { copy_field(field, text_size, text); }

// The buffer holds exactly these rows, then empty rows to the end.
inline void expect_buffer(const std::vector<std::string> &rows) {
  for (int k = 0; k < literal_lines; k++) {
    std::string expected = k < int(rows.size()) ? rows[k] : "";
    if (std::string(literal_buffer[k]) != expected) {
      ADD_FAILURE() << "row " << k << " is \"" << literal_buffer[k] << "\", expected \"" << expected << "\"";
      return;
    }
  }
}

// The buffer of a project with nothing but a chart: these rows in the "@  TRAITEMENT"
// section and every other section empty.
inline void expect_chart_rows(const std::vector<std::string> &rows) {
  std::vector<std::string> buffer = {"@  PRETRAITEMENT", "", "@  TRAITEMENT"};
  buffer.insert(buffer.end(), rows.begin(), rows.end());
  buffer.insert(buffer.end(), {"", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
  expect_buffer(buffer);
}
