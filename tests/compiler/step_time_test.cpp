// Step times as the compiler builds them: the words of a literal program, the program
// words, the timer presets in the EEPROM and the refusals.
#include <map>

#include "compiler/compiler_fixture.h"

namespace {

// Three timers: TE0..TE2 at 144..146, T0..T2 at 152..154, TP0..TP2 at EEPROM 2, 4, 6.
std::string timed_definition() {
  return std::string("@INFOS\nuc_type pic_1\nuc_taille_flash 140\nuc_taille_eeprom 10\n"
                     "adr_start_graphcet 100\nadr_stop_graphcet 140\ntaille_zb 255\n@HEX\n:00000001FF\n") +
         zb_section("zb 80 M0\nzb 144 TE0\nzb 145 TE1\nzb 146 TE2\nzb 152 T0\nzb 153 T1\nzb 154 T2\n") +
         "@CST\neb 0 TRISA\new 2 TP0\new 4 TP1\new 6 TP2\n@END\n";
}

struct step_time_case {
  const char *name;
  std::vector<std::string> rows;
  std::vector<int> words;       // the program words from the area's start, the end included
  std::map<int, int> eeprom;    // the EEPROM bytes written
  const char *report = nullptr;  // the error report, if refused
};

// Orders: l 0, a 2, o 4, = 8; the end 12 0. Rows count from 0.
const step_time_case cases[] = {
    {"TwoSecondsIs200TicksOnTheHighestTimer", {"l 2s/x3 = M0"}, {0, 154, 8, 80, 0, 3, 8, 146, 12, 0}, {{6, 0}, {7, 200}}},
    {"MillisecondsRoundUpToTheTick", {"l 15ms/x3"}, {0, 154, 0, 3, 8, 146, 12, 0}, {{6, 0}, {7, 2}}},
    {"HalfASecond", {"l 500ms/x3"}, {0, 154, 0, 3, 8, 146, 12, 0}, {{6, 0}, {7, 50}}},
    {"AFractionOfASecond", {"l 1.5s/x3"}, {0, 154, 0, 3, 8, 146, 12, 0}, {{6, 0}, {7, 150}}},
    {"AFractionBelowTheTickRoundsUp", {"l 0.001s/x3"}, {0, 154, 0, 3, 8, 146, 12, 0}, {{6, 0}, {7, 1}}},
    {"TheLongestPreset", {"l 655.35s/x3"}, {0, 154, 0, 3, 8, 146, 12, 0}, {{6, 0xFF}, {7, 0xFF}}},
    {"TheSameTimeWrittenTwiceSharesATimer", {"l 2s/x3 o 2000ms/x3"}, {0, 154, 4, 154, 0, 3, 8, 146, 12, 0},
     {{6, 0}, {7, 200}}},
    {"EachStepAndTimeTakesTheNextTimerDown", {"l 2s/x3 a 1s/x4 a 1s/x3"},
     {0, 154, 2, 153, 2, 152, 0, 3, 8, 146, 0, 4, 8, 145, 0, 3, 8, 144, 12, 0},
     {{2, 0}, {3, 100}, {4, 0}, {5, 100}, {6, 0}, {7, 200}}},
    {"ATimerTheProgramNamesIsNotTaken", {"l T2 = TE0", "l 2s/x3"}, {0, 154, 8, 144, 0, 153, 0, 3, 8, 145, 12, 0},
     {{4, 0}, {5, 200}}},
    {"APresetTheProgramSetsIsNotTaken", {"l 1s/x1", "#TP2 7"}, {0, 153, 0, 1, 8, 145, 12, 0},
     {{4, 0}, {5, 100}, {6, 0}, {7, 7}}},
    {"ProgramsWithoutStepTimesAreUnchanged", {"l M0 = TE2"}, {0, 80, 8, 146, 12, 0}, {}},
    {"MoreStepTimesThanTimers", {"l 1s/x1 a 2s/x1 a 3s/x1 a 4s/x1"}, {}, {},
     "\nErrors:\n\nligne   0: NO TIMER FREE FOR: 4s/x1 (3 timers, 3 free for step times)"},
    {"TimersTheProgramNamesAreNotFree", {"l 1s/x1 a 2s/x1 a 3s/x1 = TE0"}, {}, {},
     "\nErrors:\n\nligne   0: NO TIMER FREE FOR: 3s/x1 (3 timers, 2 free for step times)"},
    {"MalformedTimesAndStepsAreRefusedByName",
     {"l 2h/x3", "l s/x3", "l 1.s/x3", "l .5s/x3", "l 2S/x3", "l 2s/M0", "l 2s/x99", "l 655.36s/x3"},
     {},
     {},
     "\nErrors:\n\nligne   0: STEP TIME MALFORMED: 2h/x3\nligne   1: STEP TIME MALFORMED: s/x3"
     "\nligne   2: STEP TIME MALFORMED: 1.s/x3\nligne   3: STEP TIME MALFORMED: .5s/x3"
     "\nligne   4: STEP TIME MALFORMED: 2S/x3\nligne   5: STEP TIME OF NO STEP: 2s/M0"
     "\nligne   6: ZB  UNKNOWN: 2s/x99\nligne   7: STEP TIME TOO LONG: 655.36s/x3"},
};

void PrintTo(const step_time_case &c, std::ostream *out) { *out << c.name; }

class StepTimes : public target_test, public testing::WithParamInterface<step_time_case> {};

TEST_P(StepTimes, CompileToTheirTimers) {
  const step_time_case &c = GetParam();
  ASSERT_EQ(load_definition(timed_definition()), 0);
  std::vector<int32_t> eeprom_before(automaton_definition.eeprom_image, automaton_definition.eeprom_image + 0x10);
  boxes().clear();
  set_literal_rows(c.rows);
  compile_result result = compile_literal_to_image();
  if (c.report) {
    EXPECT_EQ(result, compile_errors);
    EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Error", c.report}}));
    return;
  }
  ASSERT_EQ(result, compile_ok) << testing::PrintToString(boxes());
  std::vector<int> words;
  for (size_t k = 0; k < c.words.size(); k++) words.push_back(automaton_definition.flash_image[0x100 + k] - 0x3400);
  EXPECT_EQ(words, c.words);
  for (int a = 0; a < 0x10; a++) {
    auto written = c.eeprom.find(a);
    EXPECT_EQ(automaton_definition.eeprom_image[a], written == c.eeprom.end() ? eeprom_before[a] : written->second)
        << "EEPROM byte " << a;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StepTimes, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<step_time_case> &info) { return info.param.name; });

}  // namespace
