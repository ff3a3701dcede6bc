// A TALVEN window in memory, in a folder of its own: tests send it messages as
// the window system would and look at its pixels and its message boxes.
#pragma once
#include "platform/backends/headless.h"
#include "shell/shell.h"
#include "support/test_support.h"

constexpr rgb black{0, 0, 0};
constexpr rgb white{255, 255, 255};
constexpr rgb grey{128, 128, 128};
constexpr rgb light_grey{192, 192, 192};
constexpr rgb olive{128, 128, 0};
constexpr rgb teal{0, 128, 128};
constexpr rgb red{255, 0, 0};
constexpr rgb grid_blue{0, 128, 255};
constexpr rgb grid_line_blue{0, 64, 255};

inline std::ostream &operator<<(std::ostream &out, rgb c) {
  return out << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

class WindowTest : public ProjectTest {
 protected:
  // Creates the window in the test's folder (config.txt is read there) and paints it once.
  static void start() {
    headless_create_window();
    send_message(message_paint);
  }
  static rgb pixel(int x, int y) { return surface_pixel(x, y); }
  // The message boxes shown since the window was created, in order.
  static std::vector<recorded_box> shown() {
    std::vector<recorded_box> list;
    for (int i = 0; i < shown_box_count && i < box_record_capacity; i++)
      list.push_back({shown_boxes[i].title, shown_boxes[i].text});
    return list;
  }
  // Menu items by position: top item k, sub-item k of the selected top item.
  static void click_top_item(int k) { click_at(80 + 40 * k, 20); }
  static void click_sub_item(int k) { click_at(320 + 40 * k, 20); }
  static void choose(int top, int sub) {
    click_top_item(top);
    click_sub_item(sub);
  }
  // A point inside each menu ellipse that no label covers.
  static rgb top_item_colour(int k) { return pixel(80 + 40 * k, 8); }
  static rgb sub_item_colour(int k) { return pixel(320 + 40 * k, 8); }
};
