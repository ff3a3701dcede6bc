// The files drawn through cairo: the chart's PDF on A4 pages, the chronogram's PNG
// and PDF. cairo is included here alone; the Windows build has no cairo and writes SVG only.
#include "picture/pages.h"

#ifdef TALVEN_HAS_CAIRO
#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "files/text_io.h"
#include "picture/drawings.h"
#include "simulate/simulate.h"

bool pictures_in_pdf_and_png() { return true; }

// ---- The pen on a cairo context ---------------------------------------------

static cairo_t *context_of(void *out) { return static_cast<cairo_t *>(out); }

static void set_colour(cairo_t *cr, rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

static void cairo_line(void *out, double x0, double y0, double x1, double y1, rgb c, double width, const char *) {
  cairo_t *cr = context_of(out);
  set_colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

static void cairo_fill_box(void *out, double x, double y, double width, double height, rgb c, const char *) {
  cairo_t *cr = context_of(out);
  set_colour(cr, c);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
}

static void cairo_frame(void *out, double x, double y, double width, double height, rgb c, double line_width) {
  cairo_t *cr = context_of(out);
  set_colour(cr, c);
  cairo_set_line_width(cr, line_width);
  cairo_rectangle(cr, x, y, width, height);
  cairo_stroke(cr);
}

static void cairo_triangle(void *out, const double (&p)[6], rgb c) {
  cairo_t *cr = context_of(out);
  set_colour(cr, c);
  cairo_move_to(cr, p[0], p[1]);
  cairo_line_to(cr, p[2], p[3]);
  cairo_line_to(cr, p[4], p[5]);
  cairo_close_path(cr);
  cairo_fill(cr);
}

static void cairo_text(void *out, double x, double y, const char *text, double size, rgb c, text_anchor anchor) {
  cairo_t *cr = context_of(out);
  set_colour(cr, c);
  cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  static const double shift[] = {0, 0.5, 1};  // by anchor: start, middle, end
  cairo_move_to(cr, x - extents.x_advance * shift[anchor], y);
  cairo_show_text(cr, text);
}

static pen cairo_pen(cairo_t *cr) { return {cr, cairo_line, cairo_fill_box, cairo_frame, cairo_triangle, cairo_text}; }

// cairo writes its files through the safe writer.
static cairo_status_t put_to_file(void *closure, const unsigned char *data, unsigned int length) {
  pending_file &file = *static_cast<pending_file *>(closure);
  put_bytes(file, reinterpret_cast<const char *>(data), length);
  return file.failed ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

static bool finish_surface(cairo_surface_t *surface, pending_file &file) {
  cairo_surface_finish(surface);
  bool drawn = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!drawn) file.failed = true;
  return finish_file(file);
}

// ---- The chronogram ---------------------------------------------------------

bool write_chronogram_page(const char *path, int64_t end_cycle, page_kind kind) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  double width = chronogram_width(), height = chronogram_height();
  cairo_surface_t *surface =
      kind == page_pdf ? cairo_pdf_surface_create_for_stream(put_to_file, &file, width, height)
                       : cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(std::ceil(width)), int(std::ceil(height)));
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  draw_chronogram(cairo_pen(cr), 0, end_cycle, nullptr, 0);
  cairo_show_page(cr);
  cairo_destroy(cr);
  if (kind == page_png && cairo_surface_write_to_png_stream(surface, put_to_file, &file) != CAIRO_STATUS_SUCCESS)
    file.failed = true;
  return finish_surface(surface, file);
}

// ---- The chart on A4 pages --------------------------------------------------

constexpr double a4_short = 595.28, a4_long = 841.89, page_margin = 36, title_height = 36, title_gap = 10;
constexpr double table_line = 12, table_font = 9;

// The whole page's room for the chart, and its cuts along each axis: each part ends on a
// column or row edge when one lies inside the page, so no step is cut in two.
struct page_plan {
  double page_width, page_height, room_width, room_height;
  double x_cuts[grid_size + 2], y_cuts[grid_size + 2];  // part k spans cut k to cut k + 1
  int columns, rows;
};

static int cut(const double *edges, double total, double room, double *cuts) {
  int count = 0;
  cuts[count++] = 0;
  while (cuts[count - 1] < total - 0.5) {
    double start = cuts[count - 1], end = std::min(total, start + room);
    if (end < total)
      for (int k = grid_size; k >= 0; k--)
        if (edges[k] > start + 1 && edges[k] <= end) {
          end = edges[k];
          break;
        }
    cuts[count++] = end;
  }
  return count - 1;
}

static page_plan plan_pages(const chart_layout &layout, bool landscape) {
  page_plan plan{};
  plan.page_width = landscape ? a4_long : a4_short;
  plan.page_height = landscape ? a4_short : a4_long;
  plan.room_width = plan.page_width - 2 * page_margin;
  plan.room_height = plan.page_height - 2 * page_margin - title_height - title_gap;
  plan.columns = cut(layout.left, layout.width, plan.room_width, plan.x_cuts);
  plan.rows = cut(layout.top, layout.height, plan.room_height, plan.y_cuts);
  return plan;
}

// Portrait or landscape, whichever needs fewer pages; a tie goes by the chart's shape.
static page_plan best_plan(const chart_layout &layout) {
  page_plan portrait = plan_pages(layout, false), landscape = plan_pages(layout, true);
  int portrait_pages = portrait.columns * portrait.rows, landscape_pages = landscape.columns * landscape.rows;
  if (portrait_pages != landscape_pages) return portrait_pages < landscape_pages ? portrait : landscape;
  return layout.width > layout.height ? landscape : portrait;
}

struct sheet_facts {
  char project[text_size + 16], target[text_size + 16], date[16];
  int page, pages;
};

// The title block across the foot of every page: project file, target, date, page.
static void draw_title_block(const pen &p, const sheet_facts &facts, double page_width, double page_height,
                             const char *part) {
  double top = page_height - page_margin - title_height, width = page_width - 2 * page_margin;
  p.frame(p.out, page_margin, top, width, title_height, ink, 1);
  const double splits[] = {0.4, 0.7};
  for (double split : splits)
    p.line(p.out, page_margin + width * split, top, page_margin + width * split, top + title_height, ink, 0.5, nullptr);
  char page[64];
  std::snprintf(page, sizeof page, "page %d of %d", facts.page, facts.pages);
  const struct {
    double at;
    const char *heading, *text;
  } fields[] = {{0, facts.project, part}, {0.4, facts.target, ""}, {0.7, facts.date, page}};
  for (const auto &field : fields) {
    p.text(p.out, page_margin + width * field.at + 6, top + 14, field.heading, 10, ink, anchor_start);
    p.text(p.out, page_margin + width * field.at + 6, top + 28, field.text, 8, ink, anchor_start);
  }
}

static void draw_chart_part(cairo_t *cr, const chart_layout &layout, const page_plan &plan, int column, int row,
                            const sheet_facts &facts) {
  cairo_pdf_surface_set_size(cairo_get_target(cr), plan.page_width, plan.page_height);
  pen p = cairo_pen(cr);
  double x0 = plan.x_cuts[column], y0 = plan.y_cuts[row];
  double width = plan.x_cuts[column + 1] - x0, height = plan.y_cuts[row + 1] - y0;
  cairo_save(cr);
  cairo_rectangle(cr, page_margin, page_margin, width, height);
  cairo_clip(cr);
  cairo_translate(cr, page_margin - x0, page_margin - y0);
  draw_chart(p, layout);
  cairo_restore(cr);
  // Where this part lies, and the page each neighbour part is on.
  char part[96] = "";
  if (plan.columns * plan.rows > 1) {
    std::snprintf(part, sizeof part, "part: column %d of %d, row %d of %d", column + 1, plan.columns, row + 1, plan.rows);
    auto page_of = [&](int c, int r) { return r * plan.columns + c + 1; };
    char mark[32];
    const struct {
      bool there;
      int c, r;
      double x, y;
      const char *format;
      text_anchor anchor;
    } neighbours[] = {
        {column + 1 < plan.columns, column + 1, row, page_margin + width, page_margin + height / 2, "page %d >", anchor_end},
        {column > 0, column - 1, row, page_margin, page_margin + height / 2, "< page %d", anchor_start},
        {row + 1 < plan.rows, column, row + 1, page_margin + width / 2, page_margin + height + 8, "v page %d", anchor_middle},
        {row > 0, column, row - 1, page_margin + width / 2, page_margin - 4, "^ page %d", anchor_middle},
    };
    for (const auto &n : neighbours)
      if (n.there) {
        std::snprintf(mark, sizeof mark, n.format, page_of(n.c, n.r));
        p.text(p.out, n.x, n.y, mark, 8, {128, 128, 128}, n.anchor);
      }
  }
  draw_title_block(p, facts, plan.page_width, plan.page_height, part);
  cairo_show_page(cr);
}

// The text tables after the chart, each with a heading, only the rows with a text.
static const struct {
  int table;
  const char *heading;
} table_headings[] = {
    {table_step_outputs, "Outputs of the steps"},
    {table_transitions, "Conditions of the transitions"},
    {table_pre, "Pre-treatments"},
    {table_post, "Post-treatments"},
    {table_constants, "Constants"},
};
static_assert(sizeof table_headings / sizeof table_headings[0] == text_table_count, "a heading per text table");

static int filled_rows(int table) {
  int count = 0;
  for (int row = 0; row < table_rows; row++) count += table_text(table, row)[0] != 0;
  return count;
}

// The lines the tables take: a heading and a blank after each table that has rows.
static int table_lines() {
  int lines = 0;
  for (const auto &t : table_headings) lines += filled_rows(t.table) ? filled_rows(t.table) + 2 : 0;
  return lines;
}

static int lines_per_page() { return int((a4_long - 2 * page_margin - title_height - title_gap) / table_line); }

static void draw_table_pages(cairo_t *cr, sheet_facts &facts) {
  pen p = cairo_pen(cr);
  int line = 0;
  auto put_line = [&](const char *name, const char *text, bool heading) {
    if (line == lines_per_page()) {
      draw_title_block(p, facts, a4_short, a4_long, "text tables");
      cairo_show_page(cr);
      facts.page++;
      line = 0;
    }
    if (line == 0) cairo_pdf_surface_set_size(cairo_get_target(cr), a4_short, a4_long);
    double y = page_margin + table_line * (line + 1);
    if (heading) p.text(p.out, page_margin, y, name, table_font + 2, ink, anchor_start);
    else if (name) {
      p.text(p.out, page_margin + 12, y, name, table_font, ink, anchor_start);
      p.text(p.out, page_margin + 120, y, text, table_font, ink, anchor_start);
    }
    line++;
  };
  for (const auto &t : table_headings) {
    if (!filled_rows(t.table)) continue;
    put_line(t.heading, "", true);
    for (int row = 0; row < table_rows; row++)
      if (table_text(t.table, row)[0]) put_line(table_name(t.table, row), table_text(t.table, row), false);
    put_line(nullptr, "", false);
  }
  if (line == 0) return;
  draw_title_block(p, facts, a4_short, a4_long, "text tables");
  cairo_show_page(cr);
}

static void fill_sheet_facts(sheet_facts &facts, int pages) {
  std::snprintf(facts.project, sizeof facts.project, "%s", app_config(config_graphic)[0] ? app_config(config_graphic) : "(chart not saved)");
  std::string target = std::filesystem::path(app_config(config_automate)).filename().string();
  std::snprintf(facts.target, sizeof facts.target, "target: %s", target.empty() ? "none" : target.c_str());
  std::time_t now = std::time(nullptr);
  std::strftime(facts.date, sizeof facts.date, "%Y-%m-%d", std::localtime(&now));
  facts.page = 1;
  facts.pages = pages;
}

bool write_chart_pdf(const char *path) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  chart_layout layout = lay_out_chart();
  page_plan plan = best_plan(layout);
  int tables = table_lines(), table_pages = (tables + lines_per_page() - 1) / lines_per_page();
  sheet_facts facts;
  fill_sheet_facts(facts, plan.columns * plan.rows + table_pages);
  cairo_surface_t *surface = cairo_pdf_surface_create_for_stream(put_to_file, &file, plan.page_width, plan.page_height);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, facts.project);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "TALVEN");
  cairo_t *cr = cairo_create(surface);
  for (int row = 0; row < plan.rows; row++)
    for (int column = 0; column < plan.columns; column++, facts.page++)
      draw_chart_part(cr, layout, plan, column, row, facts);
  draw_table_pages(cr, facts);
  cairo_destroy(cr);
  return finish_surface(surface, file);
}

#else
bool pictures_in_pdf_and_png() { return false; }
bool write_chart_pdf(const char *) { return false; }
bool write_chronogram_page(const char *, int64_t, page_kind) { return false; }
#endif
