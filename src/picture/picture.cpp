// The documents made from the two drawings: SVG text here, PDF and PNG through cairo.
#include <cstdio>
#include <cstring>

#include "files/text_io.h"
#include "picture/drawings.h"
#include "picture/pages.h"
#include "simulate/simulate.h"

std::string chart_svg_document() {
  chart_layout layout = lay_out_chart();
  std::string document;
  begin_svg(document, layout.width, layout.height);
  draw_chart(svg_pen(document), layout);
  end_svg(document);
  return document;
}

std::string chronogram_svg_document(int64_t from_cycle, int64_t to_cycle, const chronogram_mark *marks,
                                    int mark_count) {
  std::string document;
  begin_svg(document, chronogram_width(), chronogram_height());
  draw_chronogram(svg_pen(document), from_cycle, to_cycle, marks, mark_count);
  end_svg(document);
  return document;
}

static bool has_ending(const char *name, const char *ending) {
  size_t length = std::strlen(name), ending_length = std::strlen(ending);
  return length >= ending_length && std::strcmp(name + length - ending_length, ending) == 0;
}

// Like every text file of the program, with CR LF line ends.
static bool write_text_document(const char *path, const std::string &document) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  size_t start = 0;
  for (size_t end = document.find('\n'); end != std::string::npos; start = end + 1, end = document.find('\n', start)) {
    put_bytes(file, document.data() + start, end - start);
    put_bytes(file, "\r\n", 2);
  }
  put_bytes(file, document.data() + start, document.size() - start);
  return finish_file(file);
}

bool export_chart(const char *path, char *error, int error_size) {
  bool svg = has_ending(path, ".svg"), pdf = has_ending(path, ".pdf");
  if (!svg && !(pdf && pictures_in_pdf_and_png())) {
    std::snprintf(error, size_t(error_size), "the chart is written as %s: %s",
                  pictures_in_pdf_and_png() ? "SVG (.svg) or PDF (.pdf)" : "SVG (.svg)", path);
    return false;
  }
  bool written = svg ? write_text_document(path, chart_svg_document()) : write_chart_pdf(path);
  if (!written) std::snprintf(error, size_t(error_size), "cannot write %s", path);
  return written;
}

bool write_chronogram(const char *path, int64_t end_cycle) {
  if (has_ending(path, ".svg")) return write_text_document(path, chronogram_svg_document(0, end_cycle, nullptr, 0));
  if (has_ending(path, ".png")) return write_chronogram_page(path, end_cycle, page_png);
  if (has_ending(path, ".pdf")) return write_chronogram_page(path, end_cycle, page_pdf);
  return false;
}
