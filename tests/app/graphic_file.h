// A graphic file written out in the test by the file's layout, for the talvenc tests.
#pragma once
#include <cstdio>
#include <map>
#include <string>

// A graphic file written out by the file's layout: grid rows, then the five tables.
struct chart {
  std::map<std::pair<int, int>, std::pair<int, int>> cells;  // (x, y) -> (kind, number)
  std::map<int, std::string> outputs, conditions, pre, post, constant_values;
};

inline std::string graphic_file(const chart &c) {
  std::string text = "**_SAUVEGARDE_GRAPHIQUE_**\r\n\r\n**_PLAN_XY";
  char entry[32];
  for (int y = 0; y < 40; y++) {
    text += "\r\n";
    for (int x = 0; x < 40; x++) {
      auto found = c.cells.find({x, y});
      auto [kind, number] = found == c.cells.end() ? std::pair{16, 0} : found->second;
      std::snprintf(entry, sizeof entry, "%2d %3d  ", kind, number);
      text += entry;
    }
  }
  auto table = [&](const char *title, const std::map<int, std::string> &rows, bool constants) {
    text += std::string("\r\n") + title;
    for (int n = 0; n < 64; n++) {
      auto found = rows.find(n);
      std::snprintf(entry, sizeof entry, constants ? "%2d--(Not_Init): " : "%2d: ", n);
      text += "\r\n" + std::string(entry) + (found == rows.end() ? "" : found->second);
    }
  };
  table("**_SORTIES_PAR_ETAPE", c.outputs, false);
  table("**_TRANSITIONS", c.conditions, false);
  table("**_PRE_TRAITEMENTS", c.pre, false);
  table("**_POST_TRAITEMENTS", c.post, false);
  table("**_CONSTANTES", c.constant_values, true);
  return text + "\r\n\r\n**_SAUVEGARDE_GRAPHIQUE_FIN**";
}
