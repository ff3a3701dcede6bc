// GRAFCET's rules (IEC 60848) as TALVEN keeps them, one case a row: a chart, the inputs
// it is given and what it must show. Every bundled target runs every case on the host
// simulator; with gpsim, every chip runs them too.
#pragma once
#include <string>
#include <vector>

#include "conformance/conformance.h"

// x0 -(RA0)-> x1 and x2 together; x1 -(RA1)-> x3, x2 -(RA2)-> x4; x3 and x4 join
// -(RA3)-> x5 -(not RA3)-> x0. Step n lights RBn.
inline const std::string parallel_join = R"(
┌  ─   ┐
│  .   [[0]]
│  .   T0
│  ┌   ┴    ┐
│  [1] .    [2]
│  T1  .    T2
│  [3] .    [4]
│  └   ┬    ┘
│  .   T3
│  .   [5]
│  .   T4
└  ─   ┘

t0 l RA0
t1 l RA1
t2 l RA2
t3 l RA3
t4 ln RA3
x0 RB0
x1 RB1
x2 RB2
x3 RB3
x4 RB4
x5 RB5
)";

// x0 -(RA0)-> x1 or -(RA1)-> x2; x1 -(RA2)-> x0, x2 -(RA3)-> x0.
inline const std::string choice = R"(
┌  ─    ┐
│  .    [[0]]
│  ┌    ┴     ┐
│  T0   .     T1
│  [1]  .     [2]
│  T2   .     T3
│  └    ┬     ┘
└  ─    ┘

t0 l RA0
t1 l RA1
t2 l RA2
t3 l RA3
x0 RB0
x1 RB1
x2 RB2
)";

// x0 -(RA0)-> x1, timed by timer 0 (TP0 = 20 ticks of 10 ms), -(T0)-> x2; a side way
// from x1 to x3 and back, taken on `leave` and left on `back`. M0 is RA1's rising edge.
inline std::string timed_step(const std::string &leave, const std::string &back) {
  return "l RA1 an M1 = M0\nl RA1 = M1\n*  x0\nl RA0 > x1\n-  x1\nl T0 > x2\n" + leave + " > x3\n-  x2\n-  x3\n" +
         back + " > x1\nl x1 = TE0\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2\nl x3 = RB3\n#TP0 20";
}

// timed_step with the step time 200ms/x1 in place of timer 0: the same traces hold.
inline std::string step_time_step(const std::string &leave, const std::string &back) {
  return "l RA1 an M1 = M0\nl RA1 = M1\n*  x0\nl RA0 > x1\n-  x1\nl 200ms/x1 > x2\n" + leave + " > x3\n-  x2\n-  x3\n" +
         back + " > x1\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2\nl x3 = RB3";
}

// x0 -(RA0)-> x1 -()-> x2 -(RA1)-> x0: x1 is passed through. x1 stores RB1 := 1 and lights
// RB2, x0 stores RB1 := 0; x0 lights RB0 and x2 RB4.
inline const std::string stored_on_a_transient_step = R"(
┌  ─   ┐
│  .   [[0]]
│  .   T0
│  .   [1]
│  .   T1
│  .   [2]
│  .   T2
└  ─   ┘

t0 l RA0
t2 l RA1
x0 RB0 RB1:=0
x1 RB1:=1 RB2
x2 RB4
)";

// The parallel chart with RB6 set by x1 and reset by x3, the next step of its branch.
inline std::string stored_in_a_branch() {
  std::string chart = parallel_join;
  chart.replace(chart.find("x1 RB1\n"), 7, "x1 RB1 RB6:=1\n");
  chart.replace(chart.find("x3 RB3\n"), 7, "x3 RB3 RB6:=0\n");
  return chart;
}

// 19 transitions without conditions from x0 to x19, more than the 16 passes of a scan.
inline std::string long_chain() {
  std::string literal = "*  x0\n";
  for (int step = 1; step <= 19; step++) literal += " > x" + std::to_string(step) + "\n-  x" + std::to_string(step) + "\n";
  return literal + "l x15 = RB0\nl x16 = RB1\nl x19 = RB2\nl UNSTABLE = RB7";
}

// x0 -> x1 -> x2 -> x0, each transition on the edge `edge` (/RA0 or \RA0). Step n lights RBn.
inline std::string edge_ring(const std::string &edge) {
  return "*  x0\nl " + edge + " > x1\n-  x1\nl " + edge + " > x2\n-  x2\nl " + edge +
         " > x0\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2";
}

// The same ring drawn, on RA0's falling edge.
inline const std::string falling_ring = R"(
┌  ┐
│  [[0]]
│  T0
│  [1]
│  T1
│  [2]
│  T2
└  ┘

t0 l \RA0
t1 l \RA0
t2 l \RA0
x0 RB0
x1 RB1
x2 RB2
)";

// The scans of these charts take under 2 ms: an input change shows within 5 ms, and a delay
// of 200 ms ends within a tick (10 ms) and two scans of 200 ms after its step's first scan.
// The chip's steps are read at any instant, mid-scan too: a transient step is watched on pins.
inline const std::vector<conformance_case> conformance_cases = {
    {"AJoinWaitsForEveryBranch", parallel_join, "",
     "0ms set RA0=1\n"
     "50ms expect steps=1,2 RB=0x06\n"
     "50ms set RA0=0 RA1=1\n"
     "100ms expect steps=2,3 RB=0x0C\n"
     "100ms set RA3=1\n"
     "150ms expect steps=2,3 RB=0x0C  # the join's condition holds, x4 is not active\n"
     "200ms expect steps=2,3 RB=0x0C\n"
     "200ms set RA2=1\n"
     "250ms expect steps=5 RB=0x20\n"
     "250ms set RA1=0 RA2=0 RA3=0\n"
     "300ms expect steps=0 RB=0x01\n"},
    {"AnAndDivergenceStartsEveryBranchInOnePass", parallel_join, "",
     "0ms set RA0=1\n"
     "scan 1 expect steps=1,2 RB=0x06 UNSTABLE=0\n"
     "scan 2 expect steps=1,2 RB=0x06 UNSTABLE=0\n"},
    {"AnOrDivergenceTakesTheBranchWhoseConditionHolds", choice, "",
     "0ms set RA1=1\n"
     "10ms expect steps=2 RB=0x04\n"
     "10ms set RA1=0 RA3=1\n"
     "20ms expect steps=0 RB=0x01\n"
     "20ms set RA3=0 RA0=1\n"
     "30ms expect steps=1 RB=0x02\n"
     "30ms set RA0=0 RA2=1\n"
     "40ms expect steps=0 RB=0x01\n"},
    {"BothTransitionsOfAnOrDivergenceFireWhenBothHold", "",
     "*  x0\nl RA0 > x1\nl RA1 > x2\n-  x1\n-  x2\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2",
     "0ms set RA0=1 RA1=1\n"
     "10ms expect steps=1,2 RB=0x06\n"},
    // x0 and x1 start active; in the first pass x0 activates x1 while x1 leaves for x2.
    {"AStepDeactivatedAndActivatedInOnePassStaysActive", "",
     "*  x0\n > x1\n*  x1\nl x0 > x2\n-  x2\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2",
     "scan 1 expect steps=1,2 RB=0x06\n"
     "10ms expect steps=1,2 RB=0x06\n"},
    // Both transitions fire together although the first one clears x0 before the second reads it.
    {"ConditionsReadTheSituationAtTheStartOfThePass", "",
     "*  x0\n > x2\n*  x1\nl x0 > x3\n-  x2\n-  x3\nl x2 = RB2\nl x3 = RB3\nl x0 = RB0\nl x1 = RB1",
     "scan 1 expect steps=2,3 RB=0x0C\n"
     "10ms expect steps=2,3 RB=0x0C\n"},
    {"AChainOfTrueTransitionsIsCrossedWithinOneScan", "",
     "*  x0\n > x1\n-  x1\n > x2\n-  x2\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2",
     "scan 1 expect steps=2 RB=0x04 UNSTABLE=0\n"
     "scan 2 expect steps=2 RB=0x04\n"
     "scan 3 expect steps=2 RB=0x04\n"},
    // x1 is only passed through: its action M0 never becomes 1, so x2 stays. RB0 shows the
    // M0 of the pass before its line; it would show x1's action for one scan.
    {"ActionsOfTransientStepsAreNotPerformed", "",
     "*  x0\n > x1\n-  x1\n > x2\n-  x2\nl M0 > x3\n-  x3\nl M0 = RB0\nl x1 = M0\nl x2 = RB2\nl x3 = RB3",
     "scan 1 expect steps=2 RB=0x04\n"
     "scan 2 expect steps=2 RB=0x04\n"
     "scan 3 expect steps=2 RB=0x04\n"
     "scan 4 expect steps=2 RB=0x04\n"},
    // M0 is worked out before the step blocks, so x1's condition reads the situation {x1}.
    {"PreTreatmentsRunInEveryPassForTheConditions", "",
     "l x1 = M0\n*  x0\n > x1\n-  x1\nl M0 > x2\n-  x2\nl x2 = RB2",
     "scan 1 expect steps=2 RB=0x04\n"
     "scan 2 expect steps=2 RB=0x04\n"},
    // Each scan runs 16 passes: x0 -> x1 -> x0 ... ends in x0 with the actions of x0.
    {"ALoopOfAlwaysTrueTransitionsRunsToTheCapAndSetsUnstable", "",
     "*  x0\n > x1\n-  x1\n > x0\nl x0 = RB0\nl x1 = RB1\nl UNSTABLE = RB7",
     "scan 1 expect steps=0 RB=0x81 UNSTABLE=1\n"
     "scan 2 expect steps=0 RB=0x81 UNSTABLE=1\n"
     "scan 3 expect steps=0 RB=0x81 UNSTABLE=1\n"},
    // The first scan stops in x16 after 16 passes, shows x16's action and UNSTABLE; the second reaches x19, stable.
    {"AChainLongerThanTheCapGoesOnInTheNextScanAndUnstableFalls", "", long_chain(),
     "scan 1 expect steps=16 RB=0x82 UNSTABLE=1\n"
     "scan 2 expect steps=19 RB=0x04 UNSTABLE=0\n"
     "scan 3 expect steps=19 RB=0x04 UNSTABLE=0\n"},
    // M0 is the rising edge of RA0, worked out in the pre-treatments: 1 in the first pass
    // of the scan in which RA0 rose, 0 in every later pass.
    {"AnInputEdgeFiresOnlyOneTransitionPerScan", "",
     "l RA0 an M1 = M0\nl RA0 = M1\n*  x0\nl M0 > x1\n-  x1\nl M0 > x2\n-  x2\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2",
     "5ms expect steps=0 RB=0x01\n"
     "5ms set RA0=1\n"
     "10ms expect steps=1 RB=0x02\n"
     "15ms expect steps=1 RB=0x02\n"
     "15ms set RA0=0\n"
     "20ms expect steps=1 RB=0x02\n"
     "20ms set RA0=1\n"
     "25ms expect steps=2 RB=0x04\n"
     "30ms expect steps=2 RB=0x04\n"},
    // /RA0 in the program: the compiler works out the edge before the first step.
    {"ARisingEdgeFiresOneLayerOfTransitions", "", edge_ring("/RA0"),
     "5ms expect steps=0 RB=0x01\n"
     "5ms set RA0=1\n"
     "10ms expect steps=1 RB=0x02\n"
     "15ms expect steps=1 RB=0x02\n"
     "15ms set RA0=0\n"
     "20ms expect steps=1 RB=0x02\n"
     "20ms set RA0=1\n"
     "25ms expect steps=2 RB=0x04\n"
     "25ms set RA0=0\n"
     "30ms set RA0=1\n"
     "35ms expect steps=0 RB=0x01\n"},
    {"AFallingEdgeFiresOneLayerOfTransitions", falling_ring, "",
     "5ms set RA0=1\n"
     "10ms expect steps=0 RB=0x01\n"
     "10ms set RA0=0\n"
     "15ms expect steps=1 RB=0x02\n"
     "20ms expect steps=1 RB=0x02\n"
     "20ms set RA0=1\n"
     "25ms expect steps=1 RB=0x02\n"
     "25ms set RA0=0\n"
     "30ms expect steps=2 RB=0x04\n"},
    // A pin high from power-up rises in the first scan (every bit is 0 at power-up), then
    // stays high over many scans: one step, until it is released and pressed again.
    {"AnEdgeHeldOverManyScansFiresOnce", "", edge_ring("/RA0"),
     "0ms set RA0=1\n"
     "scan 1 expect steps=1 RB=0x02\n"
     "scan 2 expect steps=1 RB=0x02\n"
     "scan 30 expect steps=1 RB=0x02\n"
     "200ms expect steps=1 RB=0x02\n"
     "200ms set RA0=0\n"
     "250ms expect steps=1 RB=0x02\n"
     "250ms set RA0=1\n"
     "300ms expect steps=2 RB=0x04\n"
     "500ms expect steps=2 RB=0x04\n"},
    // The translation's shape for an output shared by steps 1 and 2: both steps, only x2,
    // both again, only x1, neither, both.
    {"AnOutputSetBySeveralStepsIsTheOrOfThem", "",
     "-  x1\nl RA0 > x0\n-  x2\nl RA1 > x0\n*  x0\nln RA0 an RA1 > x1\nln RA0 an RA1 > x2\nl x1 o x2 = RB5",
     "5ms expect steps=1,2 RB=0x20\n"
     "10ms expect steps=1,2 RB=0x20\n"
     "10ms set RA0=1\n"
     "15ms expect steps=0,2 RB=0x20\n"
     "15ms set RA0=0\n"
     "20ms expect steps=1,2 RB=0x20\n"
     "20ms set RA1=1\n"
     "25ms expect steps=0,1 RB=0x20\n"
     "25ms set RA0=1\n"
     "30ms expect steps=0 RB=0x00\n"
     "30ms set RA0=0 RA1=0\n"
     "35ms expect steps=1,2 RB=0x20\n"},
    {"ATimerEndsItsDelayWithinOneTick", "", timed_step("l M9", "l M9"),
     "100ms expect steps=0 RB=0x01\n"
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02 TE0=1 T0=0\n"
     "300ms expect steps=1 RB=0x02 TE0=1 T0=0\n"
     "319ms expect steps=2 RB=0x04 TE0=0\n"},
    // x1 at 100 ms, left for x3 from 250 to 300 ms: the delay starts again at 300 ms.
    {"ATimerRestartsWhenItsStepIsEnteredAgain", "", timed_step("l RA1", "ln RA1"),
     "100ms expect steps=0 RB=0x01\n"
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02\n"
     "250ms expect steps=1 RB=0x02\n"
     "250ms set RA1=1\n"
     "255ms expect steps=3 RB=0x08\n"
     "300ms expect steps=3 RB=0x08\n"
     "300ms set RA1=0\n"
     "305ms expect steps=1 RB=0x02\n"
     "500ms expect steps=1 RB=0x02\n"
     "519ms expect steps=2 RB=0x04\n"},
    // At 250 ms an edge of RA1 takes x1 to x3 and straight back within one scan: x3 is
    // transient, yet x1 was left, so its delay starts again then.
    {"ATimerRestartsWhenItsEnableDropsInATransientPass", "", timed_step("l M0", ""),
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02\n"
     "250ms expect steps=1 RB=0x02\n"
     "250ms set RA1=1\n" +
         every_millisecond(250, 280, "RB3=0 RB1=1") +
         "450ms expect steps=1 RB=0x02\n"
         "467ms expect steps=2 RB=0x04\n"},
    // x0 waits 10 ticks, x1 goes straight back: one round per 11 ticks, counted by the
    // second chart, which toggles x11 whenever it sees x1 in a pass.
    {"ATimedLoopRestartsItsTimerOnEveryRound", "",
     "*  x0\nl T0 > x1\n-  x1\n > x0\n*  x10\nl x1 > x11\n-  x11\nl x1 > x10\nl x0 = TE0\nl x11 = RB1\n#TP0 10",
     toggling("RB1", 115, 110, 9, 4)},
    {"AStepTimeEndsWithinOneTickOfItsTime", "", step_time_step("l M9", "l M9"),
     "100ms expect steps=0 RB=0x01\n"
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02\n"
     "300ms expect steps=1 RB=0x02\n"
     "319ms expect steps=2 RB=0x04\n"},
    {"AStepTimeStartsAgainWhenItsStepIsEnteredAgain", "", step_time_step("l RA1", "ln RA1"),
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02\n"
     "250ms set RA1=1\n"
     "255ms expect steps=3 RB=0x08\n"
     "300ms set RA1=0\n"
     "305ms expect steps=1 RB=0x02\n"
     "500ms expect steps=1 RB=0x02\n"
     "519ms expect steps=2 RB=0x04\n"},
    // x1 left for the transient x3 and entered again within the scan of 250 ms: its time starts again.
    {"AStepTimeStartsAgainWhenItsStepIsLeftForOnePass", "", step_time_step("l M0", ""),
     "100ms set RA0=1\n"
     "105ms expect steps=1 RB=0x02\n"
     "250ms set RA1=1\n" +
         every_millisecond(250, 280, "RB3=0 RB1=1") +
         "450ms expect steps=1 RB=0x02\n"
         "467ms expect steps=2 RB=0x04\n"},
    // 1.5 s is 150 ticks. x3 shows from about 102 ms (the scan that reads RA0) and is left more
    // than 150 ticks after that scan, within the 151st tick and two scans: at about 1614 ms on
    // every chip. A preset of 149 or 151 ticks would show x4 at about 1604 or 1624 ms.
    {"AStepTimeOfOneAndAHalfSecondsToTheTick", "",
     "*  x0\nl RA0 > x3\n-  x3\nl 1.5s/x3 > x4\n-  x4\nl x0 = RB0\nl x3 = RB3\nl x4 = RB4",
     "100ms set RA0=1\n"
     "105ms expect steps=3 RB=0x08\n"
     "1608ms expect steps=3 RB=0x08\n"
     "1618ms expect steps=4 RB=0x10\n"},
    // A stored action acts in the pass that activates its step, even a step passed through,
    // whose continuous action (RB2) never shows; RB1 holds until x0 resets it.
    {"AStoredActionOfATransientStepActsWhereItsContinuousOneDoesNot", stored_on_a_transient_step, "",
     "0ms set RA0=1\n"
     "scan 1 expect steps=2 RB=0x12 UNSTABLE=0\n"
     "scan 2 expect steps=2 RB=0x12\n"
     "20ms expect steps=2 RB=0x12\n"
     "20ms set RA0=0\n"
     "30ms expect steps=2 RB=0x12\n"
     "30ms set RA1=1\n"
     "40ms expect steps=0 RB=0x01\n"},
    {"SetThenResetInTwoStepsOfOneParallelBranch", stored_in_a_branch(), "",
     "0ms set RA0=1\n"
     "50ms expect steps=1,2 RB=0x46\n"
     "50ms set RA0=0 RA1=1\n"
     "100ms expect steps=2,3 RB=0x0C\n"
     "100ms set RA1=0 RA2=1\n"
     "150ms expect steps=3,4 RB=0x18\n"},
    // "*" of a variable that is no step activates nothing.
    {"TheInitialSituationIsTheStepsOpenedWithAStar", "",
     "*  x0\n-  x1\n*  x63\n*  M3\nl x0 = RB0\nl x1 = RB1\nl x63 = RB2\nl M3 = RB3",
     "0ms expect steps=0,63\n"
     "scan 1 expect steps=0,63 RB=0x05\n"
     "scan 2 expect steps=0,63 RB=0x05\n"},
};
