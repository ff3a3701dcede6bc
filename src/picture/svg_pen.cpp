// The SVG renderer: each mark one element, texts as text elements so that a reader
// (or a search) finds every step, transition and word.
#include <cstdarg>
#include <cstdio>

#include "picture/pen.h"

static void append(std::string &document, const char *format, ...) __attribute__((format(printf, 2, 3)));
static void append(std::string &document, const char *format, ...) {
  char element[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(element, sizeof element, format, arguments);
  va_end(arguments);
  document += element;
}

static std::string &document_of(void *out) { return *static_cast<std::string *>(out); }

// The five characters XML reserves, as entities.
static std::string escaped(const char *text) {
  static const struct {
    char c;
    const char *entity;
  } entities[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};
  std::string out;
  for (const char *c = text; *c; c++) {
    const char *entity = nullptr;
    for (const auto &e : entities)
      if (e.c == *c) entity = e.entity;
    if (entity) out += entity;
    else out += *c;
  }
  return out;
}

static std::string role_attribute(const char *role) { return role ? std::string(" class=\"") + role + "\"" : ""; }

static void svg_line(void *out, double x0, double y0, double x1, double y1, rgb c, double width, const char *role) {
  append(document_of(out),
         "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#%02x%02x%02x\" stroke-width=\"%.1f\"%s/>\n", x0,
         y0, x1, y1, c.r, c.g, c.b, width, role_attribute(role).c_str());
}

static void svg_fill(void *out, double x, double y, double width, double height, rgb c, const char *role) {
  append(document_of(out), "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#%02x%02x%02x\"%s/>\n", x, y,
         width, height, c.r, c.g, c.b, role_attribute(role).c_str());
}

static void svg_frame(void *out, double x, double y, double width, double height, rgb c, double line_width) {
  append(document_of(out),
         "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"#%02x%02x%02x\" "
         "stroke-width=\"%.1f\"/>\n",
         x, y, width, height, c.r, c.g, c.b, line_width);
}

static void svg_triangle(void *out, const double (&p)[6], rgb c) {
  append(document_of(out), "<polygon points=\"%.1f,%.1f %.1f,%.1f %.1f,%.1f\" fill=\"#%02x%02x%02x\"/>\n", p[0], p[1],
         p[2], p[3], p[4], p[5], c.r, c.g, c.b);
}

static const char *const anchor_names[] = {"start", "middle", "end"};

static void svg_text(void *out, double x, double y, const char *text, double size, rgb c, text_anchor anchor) {
  std::string &document = document_of(out);
  append(document, "<text x=\"%.1f\" y=\"%.1f\" font-size=\"%.1f\" fill=\"#%02x%02x%02x\"", x, y, size, c.r, c.g, c.b);
  if (anchor != anchor_start) append(document, " text-anchor=\"%s\"", anchor_names[anchor]);
  document += ">" + escaped(text) + "</text>\n";
}

void begin_svg(std::string &document, double width, double height) {
  document.clear();
  append(document,
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" "
         "font-family=\"monospace\">\n",
         width, height, width, height);
  append(document, "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n");
}

void end_svg(std::string &document) { document += "</svg>\n"; }

pen svg_pen(std::string &document) { return {&document, svg_line, svg_fill, svg_frame, svg_triangle, svg_text}; }
