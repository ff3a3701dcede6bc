// The grid page: a 15 by 20 window onto plan_xy, the element palette, the scroll
// buttons and the keyboard entry of step, transition and entry numbers.
#include <iterator>

#include "editors/page_state.h"
#include "editors/pages.h"
#include "kit/kit.h"

int scroll_x, scroll_y;
int current_kind;
int transition_counter, step_counter, entry_counter;
int number_entry;
int selected_x, selected_y;
int marked_x = -1, marked_y = -1;

constexpr int last_scroll_x = grid_size - view_columns;             // 25
constexpr int last_scroll_y = grid_size - view_rows;                // 20
constexpr int largest_number = table_rows - 1;                      // 63

constexpr int palette_left = 10, palette_top = 40, palette_square = 20;
constexpr int palette_columns = 2, palette_rows = 10;

constexpr rgb current_kind_red{255, 64, 64};
constexpr rgb scroll_button_green{0, 255, 192};

// The kind that each palette square places, row by row.
constexpr int palette_map[palette_rows][palette_columns] = {
    {cell_initial_step, cell_step},
    {cell_transition, cell_vertical},
    {cell_corner_bottom_right, cell_corner_bottom_left},
    {cell_corner_top_right, cell_corner_top_left},
    {cell_tee_right, cell_tee_left},
    {cell_tee_up, cell_tee_down},
    {cell_cross, cell_horizontal},
    {cell_entry, cell_exit},
    {cell_empty, cell_empty},
    {cell_empty, cell_empty},
};

struct palette_square_at {
  int column, row;
};
// The square where each kind is marked as current (the inverse of palette_map).
constexpr palette_square_at palette_position[] = {
    /* cell_transition */ {0, 1},
    /* cell_initial_step */ {0, 0},
    /* cell_step */ {1, 0},
    /* cell_vertical */ {1, 1},
    /* cell_horizontal */ {1, 6},
    /* cell_corner_bottom_right */ {0, 2},
    /* cell_corner_top_right */ {0, 3},
    /* cell_corner_bottom_left */ {1, 2},
    /* cell_corner_top_left */ {1, 3},
    /* cell_tee_right */ {0, 4},
    /* cell_tee_left */ {1, 4},
    /* cell_tee_up */ {0, 5},
    /* cell_tee_down */ {1, 5},
    /* cell_cross */ {0, 6},
    /* cell_entry */ {0, 7},
    /* cell_exit */ {1, 7},
    /* cell_empty */ {0, 8},
};
static_assert(std::size(palette_position) == cell_kind_count, "one square per cell kind");

// The scroll buttons, 18 by 18 pixels each, by their top-left corners.
constexpr palette_square_at scroll_buttons[] = {{21, 261}, {11, 281}, {31, 281}, {21, 301}};

static void fill(int left, int top, int right, int bottom, rgb colour) {
  for (int y = top; y <= bottom; y++)
    for (int x = left; x <= right; x++) set_pixel(window_dc, x, y, colour);
}

static void fill_palette_square(int column, int row, rgb colour) {
  int x = palette_left + palette_square * column, y = palette_top + palette_square * row;
  fill(x, y, x + palette_square - 2, y + palette_square - 2, colour);
}

static void draw_palette() {
  for (int row = 0; row < palette_rows; row++)
    for (int column = 0; column < palette_columns; column++) fill_palette_square(column, row, colour_grid_background);
  for (int row = 0; row < palette_rows; row++)
    for (int column = 0; column < palette_columns; column++) {
      int x = palette_left + palette_square * column, y = palette_top + palette_square * row;
      fill(x + palette_square - 1, y, x + palette_square - 1, y + palette_square - 1, colour_grid_line);
      fill(x, y + palette_square - 1, x + palette_square - 1, y + palette_square - 1, colour_grid_line);
    }
  palette_square_at current = palette_position[current_kind];
  fill_palette_square(current.column, current.row, current_kind_red);
  // The last two rows hold no kind and stay empty squares.
  for (int row = 0; row < 8; row++)
    for (int column = 0; column < palette_columns; column++)
      draw_glyph(palette_left + palette_square * column, palette_top + palette_square * row,
                 palette_map[row][column], false);
}

void draw_plan_view() {
  select_object(window_dc, page_pen);
  select_object(window_dc, grid_brush);
  draw_rectangle(window_dc, grid_left, grid_top, grid_right, grid_bottom);
  select_object(window_dc, grid_pen);
  for (int i = 0; i < view_rows; i++) {
    move_to(window_dc, grid_left, grid_top + cell_height * (i + 1) - 1);
    line_to(window_dc, grid_right, grid_top + cell_height * (i + 1) - 1);
  }
  for (int i = 0; i < view_columns; i++) {
    move_to(window_dc, grid_left + cell_width * (i + 1) - 1, grid_top);
    line_to(window_dc, grid_left + cell_width * (i + 1) - 1, grid_bottom);
  }
  for (int r = 0; r < view_rows; r++)
    for (int c = 0; c < view_columns; c++) {
      const cell &shown = plan_xy[scroll_x + c][scroll_y + r];
      draw_cell(c, r, shown.kind, shown.number, false);
    }
}

void draw_scroll_buttons() {
  for (const palette_square_at &button : scroll_buttons)
    fill(button.column, button.row, button.column + 17, button.row + 17, scroll_button_green);
}

// A red frame two pixels wide inside the cell a finding points at.
static void draw_mark() {
  int c = marked_x - scroll_x, r = marked_y - scroll_y;
  if (marked_x < 0 || c < 0 || c >= view_columns || r < 0 || r >= view_rows) return;
  int x = grid_left + cell_width * c, y = grid_top + cell_height * r;
  constexpr rgb mark_red{255, 0, 0};
  fill(x, y, x + cell_width - 2, y + 1, mark_red);
  fill(x, y + cell_height - 3, x + cell_width - 2, y + cell_height - 2, mark_red);
  fill(x, y, x + 1, y + cell_height - 2, mark_red);
  fill(x + cell_width - 3, y, x + cell_width - 2, y + cell_height - 2, mark_red);
}

void grid_page_paint() {
  draw_plan_view();
  draw_mark();
  draw_scroll_buttons();
  draw_palette();
}

// The three numbering families: steps and initial steps share one numbering.
enum number_family { family_none, family_transitions, family_steps, family_entries };

static number_family family_of(int kind) {
  if (kind == cell_transition) return family_transitions;
  if (kind == cell_initial_step || kind == cell_step) return family_steps;
  if (kind == cell_entry) return family_entries;
  return family_none;
}

static bool number_in_use(number_family family, int number) {
  for (auto &column : plan_xy)
    for (const cell &c : column)
      if (family_of(c.kind) == family && c.number == number) return true;
  return false;
}

// The smallest number at or above start that no cell of the family carries.
static int first_free_number(number_family family, int start) {
  int number = start;
  while (number_in_use(family, number)) number++;
  return number;
}

// The number a newly placed cell of the current kind takes, moving its counter.
static int number_for_new_cell() {
  switch (current_kind) {
    case cell_transition: {
      int number = first_free_number(family_transitions, transition_counter);
      transition_counter = number + 1;
      return number;
    }
    case cell_initial_step:
    case cell_step: {
      int number = first_free_number(family_steps, step_counter);
      step_counter = number + 1;
      return number;
    }
    case cell_entry:
      // The latest entry's number is also the one that the next exit takes.
      entry_counter = first_free_number(family_entries, entry_counter);
      return entry_counter;
    case cell_exit: return entry_counter;
    default: return 0;
  }
}

static bool in_palette() {
  return click_x >= palette_left && click_x < palette_left + palette_columns * palette_square &&
         click_y >= palette_top && click_y < palette_top + palette_rows * palette_square;
}

static bool in_grid() {
  return click_x >= grid_left && click_x < grid_right && click_y >= grid_top && click_y < grid_bottom;
}

static bool on_scroll_buttons() { return click_x >= 10 && click_x <= 50 && click_y >= 260 && click_y <= 320; }

static void palette_click() {
  if (!in_palette()) return;
  current_kind = palette_map[(click_y - palette_top) / palette_square][(click_x - palette_left) / palette_square];
  draw_palette();
}

static void grid_click() {
  if (!in_grid()) return;
  int c = (click_x - grid_left) / cell_width, r = (click_y - grid_top) / cell_height;
  int number = number_for_new_cell();
  marked_x = marked_y = -1;  // the finding's cell is being mended
  draw_cell(c, r, current_kind, number, true);
  plan_xy[scroll_x + c][scroll_y + r] = {current_kind, number};
}

bool scroll_by_click() {
  if (!on_scroll_buttons()) return false;
  if (click_y <= 280) {
    if (scroll_y > 0) scroll_y--;
  } else if (click_y >= 300) {
    if (scroll_y < last_scroll_y) scroll_y++;
  } else if (click_x <= 30) {
    if (scroll_x > 0) scroll_x--;
  } else if (scroll_x < last_scroll_x) {
    scroll_x++;
  }
  return true;
}

void grid_page_click() {
  palette_click();
  grid_click();
  if (scroll_by_click()) grid_page_paint();
}

void grid_page_right_click() {
  if (!in_grid()) return;
  selected_x = scroll_x + (click_x - grid_left) / cell_width;
  selected_y = scroll_y + (click_y - grid_top) / cell_height;
  number_entry = 0;
}

struct grid_key {
  int key;
  void (*effect)();
};

static const grid_key grid_keys[] = {
    {key_home, [] { scroll_x = scroll_y = 0; }},
    {key_end, [] { scroll_x = last_scroll_x, scroll_y = last_scroll_y; }},
    {key_page_up, [] { if (scroll_y > 0) scroll_y--; }},
    {key_up, [] { if (scroll_y > 0) scroll_y--; }},
    {key_page_down, [] { if (scroll_y < last_scroll_y) scroll_y++; }},
    {key_down, [] { if (scroll_y < last_scroll_y) scroll_y++; }},
    {key_left, [] { if (scroll_x > 0) scroll_x--; }},
    {key_right, [] { if (scroll_x < last_scroll_x) scroll_x++; }},
};

bool scroll_by_key(int key) {
  for (const grid_key &binding : grid_keys)
    if (binding.key == key) {
      binding.effect();
      return true;
    }
  return false;
}

void grid_page_key_down(int key) {
  if (key == key_tab) {
    current_kind = (current_kind + 1) % cell_kind_count;
    draw_palette();
    return;
  }
  if (scroll_by_key(key)) grid_page_paint();
}

// A number already carried by a cell of the family is refused with a message.
static bool refused(number_family family, const char *message) {
  if (!number_in_use(family, number_entry)) return false;
  show_message_box(box_error, "Erreur", message);
  return true;
}

// Stores the typed number in the selected cell unless its family already uses it.
static void confirm_number() {
  cell &selected = plan_xy[selected_x][selected_y];
  switch (selected.kind) {
    case cell_transition:
      transition_counter = number_entry + 1;
      if (refused(family_transitions, "Desole, ce numero de transition est deja utilise")) return;
      break;
    case cell_initial_step:
    case cell_step:
      step_counter = number_entry + 1;
      if (refused(family_steps, "Desole, ce numero d'etape est deja utilise")) return;
      break;
    case cell_entry:
      entry_counter = number_entry;
      if (refused(family_entries, "Desole, ce numero d'entree est deja utilise")) return;
      break;
    case cell_exit: entry_counter = number_entry; break;
    default: return;
  }
  selected.number = number_entry;
  grid_page_paint();
}

void grid_page_char(int ch) {
  if (ch >= '0' && ch <= '9') {
    number_entry = number_entry * 10 + (ch - '0');
    if (number_entry > largest_number) number_entry = largest_number;
  } else if (ch == char_enter) {
    confirm_number();
  }
}
