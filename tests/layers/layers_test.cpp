// The include rule of the source tree: every folder includes only the folders
// below it, the backends and the system services see only the platform, the pages
// never see the shell, and no toolkit or operating-system header appears outside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;

// The folders of src/ from the bottom up; a folder may include its own headers
// and those of any folder with a lower rank.
struct layer {
  const char *folder;
  int rank;
};
static const layer layers[] = {
    {"platform", 0}, {"model", 1}, {"files", 2}, {"translate", 3}, {"compiler", 4},          {"simulate", 5},
    {"check", 6},    {"picture", 6}, {"grade", 7},   {"startup", 8}, {"kit", 9}, {"shell", 10}, {"editors", 11}, {"app", 12},
    {"platform/backends", 12}, {"platform/system", 12},
};

// The window backends and the system services: they alone see a toolkit or the
// operating system, and of the source tree only the platform.
static const char *const platform_only[] = {"platform/backends", "platform/system"};

// Includes the rank order allows but the design does not.
struct forbidden {
  const char *from, *to;
};
static const forbidden forbidden_includes[] = {
    {"editors", "shell"},  // pages reach the shell's state through the kit
};

// System headers that belong to a toolkit or an operating system (by prefix).
static const char *const system_headers[] = {"SDL", "windows.h", "io.h", "unistd.h", "fcntl.h", "dirent.h", "sys/", "X11/"};
// Libraries that one file alone uses: FreeType draws the surface's text, zlib packs PNG.
struct library_home {
  const char *header, *file;
};
static const library_home library_homes[] = {
    {"ft2build.h", "platform/software_surface.cpp"},
    {"freetype/", "platform/software_surface.cpp"},
    {"zlib.h", "files/png_file.cpp"},
};

static bool outside_its_home(const std::string &header, const std::string &file) {
  for (const library_home &home : library_homes)
    if (header.rfind(home.header, 0) == 0 && file != home.file) return true;
  return false;
}

template <size_t Count>
static bool starts_with_any(const std::string &name, const char *const (&prefixes)[Count]) {
  for (const char *prefix : prefixes)
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

// The header an #include line names, with its opening bracket; false for other lines.
static bool included_header(const std::string &line, char &bracket, std::string &header) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return false;
  at = line.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || line.compare(at, 7, "include") != 0) return false;
  at = line.find_first_not_of(" \t", at + 7);
  if (at == std::string::npos || (line[at] != '<' && line[at] != '"')) return false;
  bracket = line[at];
  size_t end = line.find(bracket == '<' ? '>' : '"', at + 1);
  if (end == std::string::npos) return false;
  header = line.substr(at + 1, end - at - 1);
  return true;
}

static const layer *layer_of(const std::string &folder) {
  const layer *found = nullptr;
  for (const layer &l : layers)
    if (folder == l.folder || folder.rfind(std::string(l.folder) + "/", 0) == 0)
      if (!found || std::string(l.folder).size() > std::string(found->folder).size()) found = &l;
  return found;
}

static bool sees_only_platform(const layer &l) { return starts_with_any(l.folder, platform_only); }

static bool is_forbidden(const layer &from, const layer &to) {
  if (sees_only_platform(from)) return std::string(to.folder) != "platform";
  for (const forbidden &f : forbidden_includes)
    if (std::string(from.folder) == f.from && std::string(to.folder) == f.to) return true;
  return false;
}

// One line per include that breaks the rule: "file: includes what".
static std::vector<std::string> layer_violations(const fs::path &src) {
  std::vector<std::string> found;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    fs::path relative = fs::relative(entry.path(), src);
    const layer *from = layer_of(relative.parent_path().generic_string());
    if (!from) continue;
    std::ifstream in(entry.path());
    std::string line, target;
    char bracket;
    while (std::getline(in, line)) {
      if (!included_header(line, bracket, target)) continue;
      std::string where = relative.generic_string() + ": includes " + target;
      if (bracket == '<') {
        bool system = starts_with_any(target, system_headers) && !sees_only_platform(*from);
        if (system || outside_its_home(target, relative.generic_string())) found.push_back(where);
        continue;
      }
      const layer *to = layer_of(fs::path(target).parent_path().generic_string());
      if (!to || to == from) continue;
      if (to->rank >= from->rank && !(std::string(from->folder) == "app" && to->rank == from->rank)) {
        found.push_back(where);
      } else if (is_forbidden(*from, *to)) {
        found.push_back(where);
      }
    }
  }
  return found;
}

static fs::path source_src() { return fs::path(std::getenv("TALVEN_SOURCE_DIR")) / "src"; }

static std::string joined(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines) text += line + "\n";
  return text;
}

TEST(Layers, EveryIncludeOfTheSourceTreePointsDown) {
  std::vector<std::string> violations = layer_violations(source_src());
  EXPECT_TRUE(violations.empty()) << joined(violations);
}

TEST(Layers, EveryFolderOfTheSourceTreeHasARank) {
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(source_src()))
    if (entry.is_directory()) {
      std::string folder = fs::relative(entry.path(), source_src()).generic_string();
      EXPECT_NE(layer_of(folder), nullptr) << folder;
    }
}

// A tree made of the faults the rule exists to catch, each in a file of its own.
class LayersOfATree : public ProjectTest {};

TEST_F(LayersOfATree, UpwardIncludesToolkitHeadersAndShellIncludesFromPagesAreFound) {
  fs::path src = folder / "src";
  auto write = [&](const char *file, const char *text) {
    fs::create_directories((src / file).parent_path());
    std::ofstream(src / file) << text;
  };
  write("model/model.cpp", "#include \"model/model.h\"\n#include \"shell/shell.h\"\n");
  write("files/files.cpp", "#include \"model/model.h\"\n#include <unistd.h>\n");
  write("editors/page.cpp", "#include \"kit/kit.h\"\n#include \"shell/shell.h\"\n");
  write("platform/backends/sdl2.cpp", "#include <SDL.h>\n#include \"platform/seam.h\"\n#include \"kit/kit.h\"\n");
  write("shell/window.cpp", "  #  include \"editors/pages.h\"\n#include <zlib.h>\n");
  write("app/tool.cpp", "#include \"platform/backends/headless.h\"\n#include \"shell/shell.h\"\n");
  write("platform/system/replace_file.cpp",
        "#include <unistd.h>\n#include \"platform/replace_file.h\"\n#include \"model/model.h\"\n");
  std::vector<std::string> violations = layer_violations(src);
  std::sort(violations.begin(), violations.end());
  EXPECT_EQ(joined(violations),
            "editors/page.cpp: includes shell/shell.h\n"
            "files/files.cpp: includes unistd.h\n"
            "model/model.cpp: includes shell/shell.h\n"
            "platform/backends/sdl2.cpp: includes kit/kit.h\n"
            "platform/system/replace_file.cpp: includes model/model.h\n"
            "shell/window.cpp: includes editors/pages.h\n"
            "shell/window.cpp: includes zlib.h\n");
}
