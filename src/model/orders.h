// The orders of the literal language, once: the compiler's words and codes, the
// translation's words, the simulator's and the check's decoding, and the firmware's
// order_codes.inc (written by make_order_codes) all read this table.
#pragma once
#include <cstdint>
#include <iterator>

// The code is the program word the interpreter dispatches on; end closes the program.
enum order_code : uint8_t {
  order_load, order_load_not, order_and, order_and_not, order_or, order_or_not, order_xor, order_xor_not,
  order_assign, order_initial_step, order_step, order_transition, order_end, order_set, order_reset,
};
constexpr int order_count = order_reset + 1;

// What the operand's bit is to the order.
enum order_operand : uint8_t {
  operand_read,     // its value goes into the result
  operand_written,  // the result goes into it
  operand_opened,   // the step whose block begins; its value says whether the step is active
  operand_reached,  // the step a firing transition activates
  operand_none,     // the end's operand is 0
};

// Where in a pass the order acts: the orders from first_block_order up to the end open
// a step's block or close a condition, and the action part follows the last of them.
enum order_part : uint8_t { part_condition, part_action, part_block, part_end };

struct order_entry {
  order_code code;
  const char *word, *capital_word;  // only these exact words are the order; "Ln" is not
  order_operand operand;
  order_part part;
  const char *symbol;  // its name in the firmware's order_codes.inc
};

constexpr order_entry order_table[] = {
    {order_load, "l", "L", operand_read, part_condition, "order_load"},
    {order_load_not, "ln", "LN", operand_read, part_condition, "order_load_not"},
    {order_and, "a", "A", operand_read, part_condition, "order_and"},
    {order_and_not, "an", "AN", operand_read, part_condition, "order_and_not"},
    {order_or, "o", "O", operand_read, part_condition, "order_or"},
    {order_or_not, "on", "ON", operand_read, part_condition, "order_or_not"},
    {order_xor, "x", "X", operand_read, part_condition, "order_xor"},
    {order_xor_not, "xn", "XN", operand_read, part_condition, "order_xor_not"},
    {order_assign, "=", "=", operand_written, part_action, "order_assign"},
    {order_initial_step, "*", "*", operand_opened, part_block, "order_initial_step"},
    {order_step, "-", "-", operand_opened, part_block, "order_step"},
    {order_transition, ">", ">", operand_reached, part_block, "order_transition"},
    {order_end, nullptr, nullptr, operand_none, part_end, "order_end"},
    // Past the end, so that the codes of older programs keep their meaning.
    {order_set, "s", "S", operand_written, part_action, "order_set"},
    {order_reset, "r", "R", operand_written, part_action, "order_reset"},
};
static_assert(std::size(order_table) == order_count, "a row for every order code");

constexpr bool rows_in_code_order() {
  for (int code = 0; code < order_count; code++)
    if (order_table[code].code != code) return false;
  return true;
}
static_assert(rows_in_code_order(), "the table is indexed by the code");

// The firmware tells block orders from the others by one comparison of the code.
constexpr int first_block_order = order_initial_step;
constexpr bool block_orders_together() {
  for (int code = 0; code < order_count; code++)
    if ((order_table[code].part == part_block) != (code >= first_block_order && code < order_end)) return false;
  return true;
}
static_assert(block_orders_together(), "the block orders are the codes from first_block_order to the end");
// The fast core's dispatch rows hold 16 codes.
static_assert(order_count <= 16, "an order code fits in four bits");

// The word the translation writes for an order.
constexpr const char *order_word(order_code code) { return order_table[code].word; }

// Whether the order reads its operand's value, or names a step.
constexpr bool order_reads_operand(int code) {
  return order_table[code].operand == operand_read || order_table[code].operand == operand_opened;
}
constexpr bool order_names_step(int code) {
  return order_table[code].operand == operand_opened || order_table[code].operand == operand_reached;
}

