// Drives the window as a user would: the messages the shell receives from the
// backend (clicks at pixel positions, key-downs, characters), the pixels left on
// the headless surface and the message boxes shown.
#pragma once
#include <string>

#include "kit/page_kit.h"
#include "shell/window_fixture.h"

constexpr rgb palette_red{255, 64, 64};
constexpr rgb button_green{0, 255, 192};

// A freshly started window in a folder of its own, its first paint done and the
// definition load that follows it spent, with no box recorded yet.
class EditorWindow : public WindowTest {
 protected:
  void SetUp() override;
  // Whether exactly one box was shown, with this title and text.
  static bool only_box_is(const char *title, const char *text);
  static void forget_boxes() { forget_shown_boxes(); }
  static void show_page(int page);  // through the menu, as a user switches pages
};

void click(int x, int y);
void right_click(int x, int y);
void press(int key);
void type(const std::string &characters);
void paint();
// Screen cell (c, r) of the grid page and the palette square in column j, row i.
void click_grid_cell(int c, int r);
void pick_kind(int j, int i);
// The text cell of data line k (0 to 13) of a text page.
void click_text_line(int k);

rgb pixel(int x, int y);
// Whether any pixel of the box (inclusive) has the colour.
bool any_pixel(int left, int top, int right, int bottom, rgb colour);
// Whether the text is drawn in white at (x, y) on the cell's plain background and
// nothing else lies left of the cell's outline at right_edge; the check redraws
// the expected text in place.
bool shows_text(int x, int y, const char *text, int right_edge);
// Whether the page's data line k shows the text in its text cell, on that colour.
bool text_cell_shows(int k, const char *text, rgb background);
bool label_cell_shows(int k, const char *text, rgb background);
