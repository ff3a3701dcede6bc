// What the translation tests share: a fresh project, recorded message boxes, a way
// to draw cells and a whole-buffer comparison that names the first differing row.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model.h"
#include "platform/message_box.h"
#include "translate/translate.h"

struct recorded_box {
  std::string title, text;
  bool operator==(const recorded_box &) const = default;
};
inline std::vector<recorded_box> boxes;
inline void record_box(const char *title, const char *text) { boxes.push_back({title, text}); }
inline const recorded_box notice{"Processing", "Converting Graphic --> Literal ?"};

class Translation : public ::testing::Test {
 protected:
  void SetUp() override {
    init_project();
    boxes.clear();
    set_message_box_handler(record_box);
  }
  void TearDown() override { set_message_box_handler(nullptr); }
};

inline void put(int x, int y, cell_kind kind, int number = 0) { plan_xy[x][y] = {kind, number}; }
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
