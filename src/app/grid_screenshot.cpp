// Draws the picture of the grid page shown in the README: a chart drawn with the
// same clicks a user makes, on the headless window, saved as a PNG picture.
//   talven_grid_screenshot docs/screenshot-grid.png
#include <cstdio>

#include "files/files.h"
#include "platform/backends/headless.h"

// One click on a palette square (column, row), then one on a grid cell (x, y).
struct placing {
  int palette_column, palette_row, x, y;
};

// An initial step, a choice between two branches of one step each, the branches
// joined again and a link back up to the initial step.
constexpr placing chart[] = {
    {0, 0, 3, 1},                                              // initial step 0
    {0, 5, 3, 2},                                              // tee up: the choice
    {0, 2, 2, 2}, {1, 2, 4, 2},                                // corners down to the branches
    {0, 1, 2, 3}, {0, 1, 4, 3},                                // transitions 0 and 1
    {1, 0, 2, 4}, {1, 0, 4, 4},                                // steps 1 and 2
    {0, 1, 2, 5}, {0, 1, 4, 5},                                // transitions 2 and 3
    {0, 3, 2, 6}, {1, 5, 3, 6}, {1, 3, 4, 6},                  // the branches joined
    {1, 3, 3, 7}, {1, 6, 2, 7}, {0, 3, 1, 7},                  // down and to the left
    {1, 1, 1, 6}, {1, 1, 1, 5}, {1, 1, 1, 4}, {1, 1, 1, 3}, {1, 1, 1, 2}, {1, 1, 1, 1},
    {0, 2, 1, 0}, {1, 6, 2, 0}, {1, 2, 3, 0},                  // back into the initial step
};

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: talven_grid_screenshot file.png\n");
    return 2;
  }
  headless_create_window();
  send_message(message_paint);
  send_message(message_other);
  click_at(120, 20);  // "Gra"
  click_at(320, 20);  // "Gril"
  for (const placing &p : chart) {
    click_at(20 + 20 * p.palette_column, 50 + 20 * p.palette_row);
    click_at(80 + 40 * p.x, 50 + 20 * p.y);
  }
  click_at(20, 50);  // the initial step is marked in the palette again
  if (!write_png_file(argv[1], surface_rows(), client_width, client_height, surface_width)) {
    std::fprintf(stderr, "talven_grid_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
