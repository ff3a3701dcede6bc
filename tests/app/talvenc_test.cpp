// The talvenc command, run as built on files in the test's own folder.
#include <cstdlib>

#include "app/graphic_file.h"
#include "app/talvenc_runner.h"
#include "compiler/compiler_fixture.h"

namespace {

// A target with x0..x63 at 0..63, inputs i0 and i1, the output LED and one
// EEPROM constant; its program area is 0x100 up to 0x200.
const char *const definition =
    "@INFOS\r\nuc_type pic_1\r\nuc_taille_flash 120\r\nuc_taille_eeprom 20\r\n"
    "adr_start_graphcet 100\r\nadr_stop_graphcet 200\r\ntaille_zb 128\r\n"
    "@HEX\r\n:020000000528D1\r\n:02400E00FF3F72\r\n:00000001FF\r\n";
std::string definition_file() {
  return definition + zb_section("zb 100 i0\r\nzb 101 i1\r\nzb 102 LED\r\n") + "@CST\r\neb 10 tempo\r\n@END\r\n";
}

// Two steps in a cycle: the initial step 0 at (2, 1), transition 0 reading i0,
// step 1 setting LED, transition 1 reading i1, and the link back up column 1.
chart two_step_cycle() {
  chart c;
  c.cells = {{{2, 0}, {7, 0}}, {{2, 1}, {1, 0}}, {{2, 2}, {0, 0}}, {{2, 3}, {2, 1}}, {{2, 4}, {0, 1}},
             {{2, 5}, {8, 0}}, {{1, 5}, {6, 0}}, {{1, 4}, {3, 0}}, {{1, 3}, {3, 0}}, {{1, 2}, {3, 0}},
             {{1, 1}, {3, 0}}, {{1, 0}, {5, 0}}};
  c.conditions = {{0, "l i0"}, {1, "l i1"}};
  c.outputs = {{1, "LED"}};
  c.constant_values = {{0, "25"}};
  return c;
}

const char *const usage =
    "usage: talvenc [--definition DEF] (--graphic GRA | --literal LIT) [--graphic-out GRA2] "
    "[--literal-out LIT2] [--hex HEX [--flash [--programmer NAME]]]\n"
    "               [--simulate SCENARIO [--until TIME] [--vcd FILE.vcd] [--chronogram FILE.svg|FILE.png|FILE.pdf]]\n"
    "               --target NAME in place of --definition DEF: a bundled target\n"
    "               neither: the target that config.txt in the current folder names\n"
    "       talvenc [--definition DEF | --target NAME] (--graphic GRA | --literal LIT) --check [--check-out DIR]\n"
    "       talvenc [--definition DEF | --target NAME] --graphic GRA --export FILE.svg|FILE.pdf\n"
    "       talvenc --grade EXERCISE STUDENT_FOLDER... [--csv FILE] [--report FILE.html] [--on-chip]\n"
    "       talvenc --list-targets\n"
    "       talvenc --list-programmers\n";
const char *const loaded = "Def File: Fichier de definition charge avec succes\n";

using Talvenc = ProjectTest;

TEST_F(Talvenc, GraphicFileBecomesTheHexOfItsProgram) {
  write_file("def.txt", definition_file());
  write_file("chart.gra", graphic_file(two_step_cycle()));
  run_result run = talvenc("--definition def.txt --graphic chart.gra --hex out.hex");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, loaded);
  EXPECT_EQ(run.out,
            "OK: Aucune erreur\n\nFichier a programmer : out.hex\nLignes utilisees: 9   (7/100)\n"
            "Lignes restantes: 119\n");
  // *x0, l i0, >x1, -x1, l i1, >x0, l x1, =LED, then the end of program.
  expected_image image{0x120, 0x20,
                       {{0, 0x2805}, {0x100, 0x3409}, {0x101, 0x3400}, {0x102, 0x3400}, {0x103, 0x3464},
                        {0x104, 0x340B}, {0x105, 0x3401}, {0x106, 0x340A}, {0x107, 0x3401}, {0x108, 0x3400},
                        {0x109, 0x3465}, {0x10A, 0x340B}, {0x10B, 0x3400}, {0x10C, 0x3400}, {0x10D, 0x3401},
                        {0x10E, 0x3408}, {0x10F, 0x3466}, {0x110, 0x340C}, {0x111, 0x3400}},
                       {{0x10, 25}},
                       {{7, 0x3FFF}}};
  std::string hex = read_file("out.hex");
  EXPECT_EQ(hex, expected_hex(image)) << first_difference(expected_hex(image), hex);
  for (const std::string &record : crlf_lines(hex)) EXPECT_TRUE(record_checks(record)) << record;
}

TEST_F(Talvenc, SavedFilesCarryTheTranslationAndTheDefinitionsConstantNames) {
  write_file("def.txt", definition_file());
  write_file("chart.gra", graphic_file(two_step_cycle()));
  run_result run = talvenc("--definition def.txt --graphic chart.gra --graphic-out copy.gra --literal-out prog.lit");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(file_exists("out.hex"));
  auto literal = crlf_lines(read_file("prog.lit"));
  ASSERT_EQ(literal.size(), 251u);  // 250 lines, each ended
  std::vector<std::string> program(literal.begin(), literal.begin() + 16);
  EXPECT_EQ(program, (std::vector<std::string>{"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0", "l i0 > x1",
                                               "-  x1", "l i1 > x0", "", "@  POSTTRAITEMENT1", "l x1 = LED", "",
                                               "@  POSTTRAITEMENT2", "", "@  CONSTANTES", "#tempo 25", ""}));
  auto graphic = crlf_lines(read_file("copy.gra"));
  ASSERT_EQ(graphic.size(), 370u);
  EXPECT_EQ(graphic[304], " 0--(tempo): 25");
  EXPECT_EQ(graphic[305], " 1--(Not_Init): ");
}

TEST_F(Talvenc, LiteralFileCompilesWithoutTranslation) {
  write_file("def.txt", definition_file());
  write_file("prog.lit", "*  x5\r\n#tempo 300\r\n");
  run_result run = talvenc("--literal prog.lit --definition def.txt --hex out.hex");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, loaded);
  expected_image image{0x120, 0x20, {{0, 0x2805}, {0x100, 0x3409}, {0x101, 0x3405}, {0x102, 0x340C}, {0x103, 0x3400}},
                       {{0x10, 300 & 0xFF}}, {{7, 0x3FFF}}};
  EXPECT_EQ(read_file("out.hex"), expected_hex(image));
}

TEST_F(Talvenc, CompileErrorsArePrintedAndNoHexIsWritten) {
  write_file("def.txt", definition_file());
  write_file("prog.lit", "l i0\r\n= lamp\r\n");
  write_file("out.hex", "previous");
  run_result run = talvenc("--definition def.txt --literal prog.lit --hex out.hex");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, std::string(loaded) + "Error: \nErrors:\n\nligne   1: ZB  UNKNOWN: lamp\n");
  EXPECT_EQ(read_file("out.hex"), "previous");
}

TEST_F(Talvenc, DefinitionThatFailsStopsEverything) {
  write_file("prog.lit", "*  x5\r\n");
  run_result missing = talvenc("--definition absent.txt --literal prog.lit --literal-out copy.lit --hex out.hex");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "Files: Impossible d'ouvrir le fichier de definition de l'automate\n");
  write_file("def.txt", "@INFOS uc_type pic_2 @END");
  run_result bad = talvenc("--definition def.txt --literal prog.lit --literal-out copy.lit --hex out.hex");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "Def File: Bad uc type\n");
  EXPECT_FALSE(file_exists("copy.lit"));
  EXPECT_FALSE(file_exists("out.hex"));
}

TEST_F(Talvenc, InputThatCannotBeOpenedExitsWithTwo) {
  run_result graphic = talvenc("--graphic absent.gra --hex out.hex");
  EXPECT_EQ(graphic.status, 2);
  EXPECT_EQ(graphic.err, "Files: Impossible d'ouvrir le fichier graphique\n");
  run_result literal = talvenc("--literal absent.lit --hex out.hex");
  EXPECT_EQ(literal.status, 2);
  EXPECT_EQ(literal.err, "Files: Impossible d'ouvrir le fichier litteral\n");
  EXPECT_FALSE(file_exists("out.hex"));
}

TEST_F(Talvenc, FailedTranslationStillSavesButWritesNoHex) {
  // More lines than the literal buffer holds: 64 treatments before, 64 after,
  // 64 constants and 64 distinct outputs.
  chart big;
  for (int n = 0; n < 64; n++) {
    big.pre[n] = big.post[n] = "l x" + std::to_string(n);
    big.constant_values[n] = std::to_string(n);
    big.outputs[n] = "out" + std::to_string(n);
  }
  write_file("def.txt", definition_file());
  write_file("big.gra", graphic_file(big));
  run_result run = talvenc("--definition def.txt --graphic big.gra --literal-out big.lit --hex out.hex");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\nProcessing: "), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(file_exists("big.lit"));
  EXPECT_FALSE(file_exists("out.hex"));
}

TEST_F(Talvenc, SaveThatFailsExitsWithTwo) {
  write_file("prog.lit", "*  x5\r\n");
  run_result literal = talvenc("--literal prog.lit --literal-out none/copy.lit");
  EXPECT_EQ(literal.status, 2);
  EXPECT_EQ(literal.err, "Files: Impossible de creer le fichier literal\n");
  write_file("def.txt", definition_file());
  run_result hex = talvenc("--definition def.txt --literal prog.lit --hex none/out.hex");
  EXPECT_EQ(hex.status, 2);
  EXPECT_EQ(hex.err, std::string(loaded) + "Files: Impossible de creer le fichier hex\n");
}

TEST_F(Talvenc, BadCommandLinesPrintTheUsage) {
  write_file("prog.lit", "*  x5\r\n");
  for (const char *arguments : {"", "--hex out.hex", "--literal prog.lit --graphic a.gra", "--literal",
                                "--literal prog.lit --literal prog.lit", "--literal prog.lit --output x",
                                "prog.lit", "--literal prog.lit --export chart.svg", "--graphic a.gra --export",
                                "--graphic a.gra --check --export chart.svg"}) {
    run_result run = talvenc(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err, usage) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
  }
  run_result help = talvenc("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, usage);
}

// --export draws the chart as loaded, with or without a target; a kind it cannot write is
// refused before anything is read, a file it cannot write is named and nothing is left half-written.
TEST_F(Talvenc, ExportWritesTheChartAsSvgOrPdf) {
  write_file("cycle.gra", graphic_file(two_step_cycle()));
  write_file("def.txt", definition_file());
  const struct {
    const char *arguments;
    int status;
    const char *err, *written;
  } cases[] = {
      {"--graphic cycle.gra --export chart.svg", 0, "", "chart.svg"},
      {"--definition def.txt --graphic cycle.gra --export chart.pdf --hex cycle.hex", 0, loaded, "chart.pdf"},
      {"--graphic cycle.gra --export chart.png", 2, "talvenc: the chart is exported as SVG (.svg) or PDF (.pdf): chart.png\n",
       nullptr},
      {"--graphic cycle.gra --export none/chart.svg", 2, "talvenc: cannot write none/chart.svg\n", nullptr},
  };
  for (const auto &c : cases) {
    run_result run = talvenc(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
    if (c.written) {
      EXPECT_GT(std::filesystem::file_size(c.written), 500u) << c.arguments;
    }
  }
  EXPECT_NE(read_file("chart.svg").find(">l i0<"), std::string::npos);
  EXPECT_NE(read_file("chart.svg").find(">LED<"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists("cycle.hex")) << "the other outputs are still written";
  EXPECT_FALSE(std::filesystem::exists("chart.png"));
  EXPECT_FALSE(std::filesystem::exists("none"));
}

// Each example exports through talvenc as it stands in the source tree.
TEST_F(Talvenc, EachExampleExports) {
  std::filesystem::path examples = std::filesystem::path(std::getenv("TALVEN_SOURCE_DIR")) / "examples";
  for (const char *name : {"blinker", "choice", "traffic_light", "traffic_light_40", "two_hand_press"}) {
    std::string gra = (examples / name / (std::string(name) + ".gra")).string();
    run_result run = talvenc("--target pic16f628a --graphic " + gra + " --export " + name + ".pdf");
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_EQ(read_file(std::string(name) + ".pdf").rfind("%PDF-", 0), 0u) << name;
  }
}

TEST_F(Talvenc, VersionNamesTheProgramAndItsVersion) {
  run_result version = talvenc("--literal prog.lit --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "talvenc (TALVEN) Beta 0.0\n");
  EXPECT_EQ(version.err, "");
}

TEST_F(Talvenc, LongPathsInOtherFoldersAreFollowed) {
  std::filesystem::create_directories("a_folder_whose_name_is_rather_long/target");
  std::filesystem::create_directories("another_folder_with_a_long_name/output");
  std::string target = std::filesystem::absolute("a_folder_whose_name_is_rather_long/target").string();
  std::string output = std::filesystem::absolute("another_folder_with_a_long_name/output").string();
  write_file(target + "/def.txt", definition_file());
  write_file(target + "/prog.lit", "*  x5\r\n");
  run_result run = talvenc("--definition " + target + "/def.txt --literal " + target + "/prog.lit --literal-out " +
                           output + "/copy.lit --hex " + output + "/out.hex");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, loaded);
  EXPECT_EQ(crlf_lines(read_file(output + "/copy.lit"))[0], "*  x5");
  EXPECT_EQ(crlf_lines(read_file(output + "/out.hex")).size(), 36u + 4u + 2u);
  run_result missing =
      talvenc("--definition " + target + "/def.txt --literal " + target + "/prog.lit --hex " + output + "/none/out.hex");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, loaded + std::string("talvenc: cannot reach the folder of ") + output + "/none/out.hex\n");
}

TEST_F(Talvenc, FileNameLongerThanTheConfigurationHoldsIsRefused) {
  std::string name(40, 'p');
  write_file(name, "*  x5\r\n");
  run_result run = talvenc("--literal " + name);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "talvenc: file name longer than 39 characters: " + name + "\n");
}

}  // namespace

namespace {

// The two-step cycle on a bundled chip, step 1 lit on RB0 and left by the step time 2s/x1:
// the translation copies the condition, the compiler gives it a timer, the run shows it.
TEST_F(Talvenc, AStepTimeInADrawnConditionRunsFromTheChart) {
  chart c = two_step_cycle();
  c.conditions = {{0, "l RA0"}, {1, "l 2s/x1"}};
  c.outputs = {{1, "RB0"}};
  c.constant_values.clear();
  write_file("chart.gra", graphic_file(c));
  write_file("scenario.txt", "10ms set RA0=1\n20ms expect RB0=1 x1=1\n20ms set RA0=0\n"
                             "2000ms expect RB0=1\n2030ms expect RB0=0 x0=1 T7=0\n");
  run_result run = talvenc("--target pic16f628a --graphic chart.gra --literal-out chart.lit --simulate scenario.txt");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "6 expectations, 0 failed\n");
  EXPECT_NE(read_file("chart.lit").find("l 2s/x1 > x0"), std::string::npos) << read_file("chart.lit");
}

// As many step times as the chip has timers compile; one more is refused, named with the count.
TEST_F(Talvenc, StepTimesBeyondTheChipsTimersAreRefused) {
  const struct {
    const char *target;
    int timers;
  } chips[] = {{"pic16f84a", 2}, {"pic16f628a", 8}};
  for (const auto &chip : chips) {
    SCOPED_TRACE(chip.target);
    std::string program = "*  x0\r\nl RB0";
    for (int n = 1; n <= chip.timers; n++) program += "\r\no " + std::to_string(n) + "s/x0";
    write_file("fits.lit", program + "\r\n= RB1\r\n");
    write_file("over.lit", program + "\r\no 99s/x0\r\n= RB1\r\n");
    EXPECT_EQ(talvenc(std::string("--target ") + chip.target + " --literal fits.lit --hex fits.hex").status, 0);
    run_result over = talvenc(std::string("--target ") + chip.target + " --literal over.lit --hex over.hex");
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.err, std::string(loaded) + "Error: \nErrors:\n\nligne " +
                            (chip.timers + 2 < 10 ? "  " : " ") + std::to_string(chip.timers + 2) +
                            ": NO TIMER FREE FOR: 99s/x0 (" + std::to_string(chip.timers) + " timers, " +
                            std::to_string(chip.timers) + " free for step times)\n");
    EXPECT_FALSE(file_exists("over.hex"));
  }
}

}  // namespace
