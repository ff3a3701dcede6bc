#include "window_driver.h"

#include <cstring>

#include "editors/page_state.h"

static void send(message_kind kind, int key = 0, int x = 0, int y = 0) { send_message(kind, key, x, y); }

void EditorWindow::SetUp() {
  WindowTest::SetUp();
  reset_page_state();
  start();
  send_message(message_other);  // the definition load armed by the first paint
  forget_boxes();
}

bool EditorWindow::only_box_is(const char *title, const char *text) {
  std::vector<recorded_box> boxes = shown();
  return boxes.size() == 1 && boxes[0] == recorded_box{title, text};
}

void EditorWindow::show_page(int page) {
  struct menu_place {
    int top, sub;
  };
  // Where each page is chosen in the menu, by edit_mode.
  static const menu_place places[] = {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {0, 4}, {2, 0}};
  choose(places[page].top, places[page].sub);
}

void click(int x, int y) { send(message_left_button_down, 0, x, y); }
void right_click(int x, int y) { send(message_right_button_down, 0, x, y); }
void press(int key) { send(message_key_down, key); }
void paint() { send(message_paint); }

void type(const std::string &characters) {
  for (char c : characters) send(message_char, c);
}

void click_grid_cell(int c, int r) { click(80 + 40 * c, 50 + 20 * r); }
void pick_kind(int j, int i) { click(20 + 20 * j, 50 + 20 * i); }
void click_text_line(int k) { click(300, 80 + 20 * k); }

rgb pixel(int x, int y) { return surface_pixel(x, y); }

bool any_pixel(int left, int top, int right, int bottom, rgb colour) {
  for (int y = top; y <= bottom; y++)
    for (int x = left; x <= right; x++)
      if (pixel(x, y) == colour) return true;
  return false;
}

bool shows_text(int x, int y, const char *text, int right_edge) {
  int left = x - 1, top = y - 1, right = right_edge - 1, bottom = y + font_cell_height;
  rgb background = pixel(left, top);
  std::vector<rgb> shown;
  for (int py = top; py <= bottom; py++)
    for (int px = left; px <= right; px++) shown.push_back(pixel(px, py));
  dc_handle dc = acquire_window_dc();
  for (int py = top; py <= bottom; py++)
    for (int px = left; px <= right; px++) set_pixel(dc, px, py, background);
  select_object(dc, page_font);
  set_transparent_background(dc);
  set_text_colour(dc, white);
  text_out(dc, x, y, text, int(std::strlen(text)));
  release_window_dc(dc);
  size_t i = 0;
  bool same = true;
  for (int py = top; py <= bottom; py++)
    for (int px = left; px <= right; px++) same = same && shown[i++] == pixel(px, py);
  bool drawn = text[0] == 0 || any_pixel(left, top, right, bottom, white);
  return same && drawn;
}

bool text_cell_shows(int k, const char *text, rgb background) {
  return pixel(545, 80 + 20 * k) == background && shows_text(152, 72 + 20 * k, text, 549);
}

bool label_cell_shows(int k, const char *text, rgb background) {
  return pixel(145, 80 + 20 * k) == background && shows_text(52, 72 + 20 * k, text, 149);
}
