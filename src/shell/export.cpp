// "Expt" under "Lit": the chart as drawn, as chart.svg and chart.pdf beside the
// project files, each written whole or not at all.
#include <cstdio>
#include <filesystem>
#include <string>

#include "model/model.h"
#include "picture/picture.h"
#include "platform/message_box.h"
#include "shell/shell.h"

// The build without cairo (Windows) draws no PDF: it writes the SVG alone and says so.
static const char *const export_names[] = {"chart.svg", "chart.pdf"};

void export_chart_operation() {
  std::filesystem::path folder = std::filesystem::path(app_config(config_graphic)).parent_path();
  std::string written;
  for (const char *name : export_names) {
    std::string path = (folder / name).string();
    if (path.ends_with(".pdf") && !pictures_in_pdf_and_png()) {
      written += "\n(this build writes no PDF)";
      continue;
    }
    char error[4200], text[8600];
    if (!export_chart(path.c_str(), error, sizeof error)) {
      std::snprintf(text, sizeof text,
                    "The chart could not be exported: %s.\n\nThe folder may be missing or read-only. "
                    "The chart is unchanged, and so is any %s written before.",
                    error, name);
      show_message_box(box_error, "Export", text);
      return;
    }
    std::error_code ignored;
    written += "\n" + std::filesystem::absolute(path, ignored).string();
  }
  show_message_box(box_report, "Export", ("The chart is exported to" + written).c_str());
}
