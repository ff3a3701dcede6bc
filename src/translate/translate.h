// Turns the drawn chart and its text tables into the literal program.
#pragma once

// Rebuilds literal_buffer from plan_xy and the text tables. Reports a failure in
// a box titled "Processing" and returns false; true when the program is complete.
bool graphic_to_literal();
