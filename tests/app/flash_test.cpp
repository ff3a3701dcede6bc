// talvenc --flash and --list-programmers against fake programmer tools on the PATH.
#include <cstdlib>

#include "app/talvenc_runner.h"

namespace {

std::filesystem::path source_path(const char *name) { return std::filesystem::path(std::getenv("TALVEN_SOURCE_DIR")) / name; }

// One fake tool: its first word says how it behaves, the rest is echoed.
const char *const fake_tool =
    "#!/bin/sh\n"
    "mode=$1; shift\n"
    "case $mode in\n"
    "  ok) echo \"writing $*\"; echo 'Operation Succeeded' ;;\n"
    "  pieces) printf 'Erasing'; sleep 0.2; printf '...\\nWriting'; sleep 0.2; echo ' done'; echo 'Operation Succeeded' ;;\n"
    "  denied) echo 'Error: cannot open /dev/ttyUSB0: Permission denied' >&2; exit 1 ;;\n"
    "  mismatch) echo 'Verify failed at 0x0010'; exit 1 ;;\n"
    "  quiet) echo 'nothing said' ;;\n"
    "  hang) echo 'Waiting for the programmer'; sleep 30 ;;\n"
    "esac\n";

const std::string loaded = "Def File: Fichier de definition charge avec succes\n";

const char *const project_presets =
    "# fakes for the tests\n"
    "[good]\nabout a fake that works\nprogram fake ok -p{chip} {hex}\nverify fake ok verify\nsuccess Operation Succeeded\n"
    "chip pic16f628a PIC16F628A\n"
    "[pieces]\nprogram fake pieces\nsuccess Operation Succeeded\nchip pic16f628a 628A\n"
    "[denied]\nprogram fake denied\nchip pic16f628a 628A\n"
    "[mismatch]\nprogram fake ok {hex}\nverify fake mismatch\nsuccess Operation Succeeded\nchip pic16f628a 628A\n"
    "[quiet]\nprogram fake quiet\nsuccess Operation Succeeded\nchip pic16f628a 628A\n"
    "[hang]\nprogram fake hang\nlimit 1\nchip pic16f628a 628A\n"
    "[absent]\nprogram talven-absent-tool {hex}\ninstall get it from the shop\nchip pic16f628a 628A\n"
    "[other-chips]\nprogram fake ok\nchip pic16f84a 84A\nchip pic16f877a 877A\n";

class Flash : public ProjectTest {
 protected:
  std::string saved_path;
  void SetUp() override {
    ProjectTest::SetUp();
    std::filesystem::create_directory("bin");
    write_file("bin/fake", fake_tool);
    std::filesystem::permissions("bin/fake", std::filesystem::perms::owner_all);
    write_file("programmers.txt", project_presets);
    write_file("blinker.gra", read_file(source_path("examples/blinker/blinker.gra")));
    saved_path = std::getenv("PATH");
    setenv("PATH", ((folder / "bin").string() + ":" + saved_path).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", saved_path.c_str(), 1);
    ProjectTest::TearDown();
  }
};

TEST_F(Flash, EachToolGetsItsVerdictAndTheHexStaysWritten) {
  const std::string compiled = "OK: Aucune erreur\n\nFichier a programmer : blinker.hex\n";
  const std::string hex = (folder / "blinker.hex").string();
  const std::string not_programmed = "talvenc: Not programmed: ";
  const struct {
    const char *programmer;
    int status;
    std::string output, verdict;  // the tool's output on stdout, the verdict on stdout or stderr
  } cases[] = {
      {"good", 0, "writing -pPIC16F628A " + hex + "\nOperation Succeeded\nwriting verify\nOperation Succeeded\n",
       "talvenc: Programmed: PIC16F628A holds blinker.hex (good, verified).\n"},
      {"pieces", 0, "Erasing...\nWriting done\nOperation Succeeded\n",
       "talvenc: Programmed: PIC16F628A holds blinker.hex (pieces).\n"},
      {"denied", 3, "Error: cannot open /dev/ttyUSB0: Permission denied\n",
       not_programmed + "fake was refused /dev/ttyUSB0 (permission denied). The usual cure: add yourself to the "
                        "group that owns the device (ls -l /dev/ttyUSB0 shows it, often plugdev or dialout: sudo "
                        "usermod -aG dialout $USER, then log out and in again), or install the udev rule that comes "
                        "with the tool.\n"},
      {"mismatch", 3, "writing " + hex + "\nOperation Succeeded\nVerify failed at 0x0010\n",
       not_programmed + "the verify found that the chip does not hold blinker.hex (verify mismatch, fake).\n"},
      {"quiet", 3, "nothing said\n", not_programmed + "fake ended without saying \"Operation Succeeded\".\n"},
      {"hang", 3, "Waiting for the programmer\n", not_programmed + "fake did not finish within 1 s and was stopped.\n"},
      {"absent", 3, "",
       not_programmed + "talven-absent-tool is not installed (no talven-absent-tool on the PATH). get it from the shop\n"},
      {"other-chips", 3, "",
       not_programmed + "other-chips does not know PIC16F628A. Of TALVEN's targets it knows: PIC16F877A, PIC16F84A.\n"},
  };
  for (const auto &c : cases) {
    std::filesystem::remove("blinker.hex");
    run_result run = talvenc(std::string("--target pic16f628a --graphic blinker.gra --hex blinker.hex --flash --programmer ") +
                             c.programmer);
    EXPECT_EQ(run.status, c.status) << c.programmer;
    ASSERT_TRUE(run.out.starts_with(compiled)) << run.out;
    std::string tool_output = run.out.substr(run.out.find("Lignes restantes"));
    tool_output = tool_output.substr(tool_output.find('\n') + 1);
    EXPECT_EQ(tool_output, c.output + (c.status == 0 ? c.verdict : "")) << c.programmer;
    EXPECT_EQ(run.err, loaded + (c.status == 0 ? "" : c.verdict)) << c.programmer;
    EXPECT_EQ(read_file("blinker.hex"), read_file(source_path("examples/blinker/blinker.hex"))) << c.programmer;
  }
}

TEST_F(Flash, TheChoiceIsTheProjectsElseTheFirstInstalledAndTheListSaysWhichAreInstalled) {
  run_result list = talvenc("--list-programmers");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(list.out.find("good")),
            "good         installed     a fake that works\n"
            "pieces       installed     \n"
            "denied       installed     \n"
            "mismatch     installed     \n"
            "quiet        installed     \n"
            "hang         installed     \n"
            "absent       not installed \n"
            "other-chips  installed     \n");
  EXPECT_NE(list.out.find("pk2cmd       not installed PICkit 2 and its clones (pk2cmd)\n"), std::string::npos) << list.out;
  const std::string command = "--target pic16f628a --graphic blinker.gra --hex blinker.hex --flash";
  const struct {
    const char *presets_before;
    int status;
    const char *verdict;
  } cases[] = {
      {"", 0, "talvenc: Programmed: PIC16F628A holds blinker.hex (good, verified).\n"},
      {"choose pieces\n", 0, "talvenc: Programmed: PIC16F628A holds blinker.hex (pieces).\n"},
      {"choose nobody\n", 3, "talvenc: No programmer nobody among the presets"},
  };
  for (const auto &c : cases) {
    write_file("programmers.txt", c.presets_before + std::string(project_presets));
    run_result run = talvenc(command);
    EXPECT_EQ(run.status, c.status) << c.presets_before;
    EXPECT_NE((run.out + run.err).find(c.verdict), std::string::npos) << run.out << run.err;
  }
  write_file("programmers.txt", "[broken]\nprogram fake ok\nspeed 9600\n");
  run_result broken = talvenc(command);
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(broken.err, loaded + "talvenc: " + (folder / "programmers.txt").string() +
                            " line 3: unknown key speed (about, program, verify, success, verify-success, install, "
                            "limit, chip, choose)\n");
}

}  // namespace
