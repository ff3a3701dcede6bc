// talvenc: the whole chain from a graphic or literal file to a hex file, without a
// window, for scripts and makefiles. What the window program shows in boxes is
// printed: reports on stderr, the compiler's summary on stdout, notices not at all.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/files.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "compiler/compiler.h"
#include "startup/startup.h"
#include "translate/translate.h"

static const char usage[] =
    "usage: talvenc [--definition DEF] (--graphic GRA | --literal LIT) [--graphic-out GRA2] "
    "[--literal-out LIT2] [--hex HEX]\n";

enum exit_code { exit_done = 0, exit_not_compiled = 1, exit_file_failed = 2 };

// Where each kind of box goes: notices change nothing and are not printed, the
// compiler's summary is the command's output, everything else is a report on stderr.
static FILE *const box_streams[] = {
    /* box_notice */ nullptr,
    /* box_report */ stderr,
    /* box_error */ stderr,
    /* box_summary */ stdout,
    /* box_question */ stderr,
};
static_assert(sizeof box_streams / sizeof box_streams[0] == box_kind_count, "one stream per kind of box");

static void print_box(box_kind kind, const char *title, const char *text) {
  if (box_streams[kind]) std::fprintf(box_streams[kind], "%s: %s\n", title, text);
}

struct command_line {
  const char *definition, *graphic, *literal, *graphic_out, *literal_out, *hex;
};

static const struct {
  const char *option;
  const char *command_line::*file;
} options[] = {
    {"--definition", &command_line::definition}, {"--graphic", &command_line::graphic},
    {"--literal", &command_line::literal},       {"--graphic-out", &command_line::graphic_out},
    {"--literal-out", &command_line::literal_out}, {"--hex", &command_line::hex},
};

// Each option at most once, each with its file name, and exactly one input.
static bool parse_command_line(int argc, char **argv, command_line &command) {
  command = {};
  for (int n = 1; n < argc; n++) {
    const char *command_line::*file = nullptr;
    for (const auto &option : options)
      if (std::strcmp(argv[n], option.option) == 0) file = option.file;
    if (!file || command.*file || n + 1 == argc) return false;
    command.*file = argv[++n];
  }
  return (command.graphic != nullptr) != (command.literal != nullptr);
}

// The operations take their file names from app_config, whose values hold 39
// characters. Each operation uses one file, so a longer name is reached from the
// file's own folder by its last part alone; a cut name would name another file.
static std::filesystem::path start_folder;

static bool file_names_fit(const command_line &command) {
  for (const auto &option : options) {
    const char *name = command.*option.file;
    if (name && std::filesystem::path(name).filename().string().size() >= size_t(text_size)) {
      std::fprintf(stderr, "talvenc: file name longer than %d characters: %s\n", text_size - 1, name);
      return false;
    }
  }
  return true;
}

static bool set_file_name(app_config_row row, const char *name) {
  std::error_code error;
  std::filesystem::current_path(start_folder, error);
  std::filesystem::path path = name;
  if (std::strlen(name) >= size_t(text_size)) {
    std::filesystem::current_path((start_folder / path).parent_path(), error);
    path = path.filename();
  }
  if (error) {
    std::fprintf(stderr, "talvenc: cannot reach the folder of %s\n", name);
    return false;
  }
  copy_field(config_entries[row].value, text_size, path.string().c_str());
  return true;
}

static int run(const command_line &command) {
  if (command.definition) {
    if (!set_file_name(config_automate, command.definition) || !load_definition_and_names())
      return exit_file_failed;
  }
  bool translated = true;
  if (command.graphic) {
    if (!set_file_name(config_graphic, command.graphic) || !load_graphic_file()) return exit_file_failed;
    translated = graphic_to_literal();
  } else {
    // The program is the file alone, not the file over the start-up rows.
    for (char *row : literal_buffer) row[0] = 0;
    if (!set_file_name(config_literal, command.literal) || !load_literal_file()) return exit_file_failed;
  }
  if (command.graphic_out) {
    if (!set_file_name(config_graphic, command.graphic_out) || !save_graphic_file()) return exit_file_failed;
  }
  if (command.literal_out) {
    if (!set_file_name(config_literal, command.literal_out) || !save_literal_file()) return exit_file_failed;
  }
  // A hex built from a half-translated chart would be a wrong program on the chip.
  if (!translated) return exit_not_compiled;
  if (!command.hex) return exit_done;
  if (!set_file_name(config_hex, command.hex)) return exit_file_failed;
  switch (compile_literal_to_hex()) {
    case compile_ok: return exit_done;
    case compile_errors: return exit_not_compiled;
    case compile_file_failed: break;
  }
  return exit_file_failed;
}

int main(int argc, char **argv) {
  for (int n = 1; n < argc; n++)
    if (std::strcmp(argv[n], "--help") == 0) {
      std::fputs(usage, stdout);
      return exit_done;
    }
  command_line command;
  if (!parse_command_line(argc, argv, command)) {
    std::fputs(usage, stderr);
    return exit_file_failed;
  }
  if (!file_names_fit(command)) return exit_file_failed;
  start_folder = std::filesystem::current_path();
  set_message_box_handler(print_box);
  start_project(without_config_file);
  return run(command);
}
