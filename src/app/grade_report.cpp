// The report is one file: its style inline, the pictures as inline SVG, no script.
#include "app/grade_report.h"

static std::string escaped(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// An SVG document placed inside the page: its XML declaration dropped.
static std::string inline_svg(const std::string &svg) {
  size_t start = svg.find("<svg");
  return start == std::string::npos ? "" : "<div class=\"picture\">" + svg.substr(start) + "</div>\n";
}

static const char *const style =
    "body{font-family:sans-serif;margin:2em;max-width:70em;color:#222}"
    "h1{font-size:1.6em}h2{font-size:1.25em;margin-top:2em;border-bottom:1px solid #ccc}"
    ".pass{color:#070}.fail{color:#b00}.other{color:#a60}"
    ".picture{overflow-x:auto;margin:1em 0}.picture svg{max-width:100%;height:auto}"
    "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:.2em .6em;text-align:left}";

static const char *verdict_class(const std::string &verdict) {
  if (verdict.rfind("pass", 0) == 0) return "pass";
  return verdict.rfind("fail", 0) == 0 ? "fail" : "other";
}

static std::string section(const report_section &s) {
  std::string html = "<section>\n<h2>" + escaped(s.name) + ": <span class=\"" + verdict_class(s.verdict) + "\">" +
                     escaped(s.verdict) + "</span></h2>\n";
  if (!s.failures.empty()) {
    html += "<p>Failed expectations:</p>\n<ul>\n";
    for (const std::string &failure : s.failures) html += "<li>" + escaped(failure) + "</li>\n";
    html += "</ul>\n";
  }
  if (s.hidden_failures > 0) html += "<p>A hidden check failed.</p>\n";
  if (!s.chart_svg.empty()) html += "<h3>The chart</h3>\n" + inline_svg(s.chart_svg);
  if (!s.chronogram_svg.empty()) html += "<h3>The run around its first failure</h3>\n" + inline_svg(s.chronogram_svg);
  return html + "</section>\n";
}

std::string report_document(const std::string &title, const std::vector<report_section> &sections) {
  int passed = 0;
  std::string rows;
  for (const report_section &s : sections) {
    passed += s.verdict.rfind("pass", 0) == 0;
    rows += "<tr><td>" + escaped(s.name) + "</td><td class=\"" + verdict_class(s.verdict) + "\">" + escaped(s.verdict) +
            "</td></tr>\n";
  }
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + escaped(title) +
                     "</title>\n<style>" + style + "</style>\n</head>\n<body>\n<h1>" + escaped(title) + "</h1>\n<p>" +
                     std::to_string(sections.size()) + " students, " + std::to_string(passed) + " passed</p>\n" +
                     "<table>\n<tr><th>Student</th><th>Verdict</th></tr>\n" + rows + "</table>\n";
  for (const report_section &s : sections) html += section(s);
  return html + "</body>\n</html>\n";
}
