// The grading report: one self-contained HTML page, a section per student.
#pragma once
#include <string>
#include <vector>

struct report_section {
  std::string name, verdict;          // "pass (24/24)", "fail (21/24)", "does not compile: ..."
  std::vector<std::string> failures;  // the public scenarios' failed expectations
  int hidden_failures;                // told only as a count
  std::string chart_svg, chronogram_svg;  // empty: not drawn
};

std::string report_document(const std::string &title, const std::vector<report_section> &sections);
