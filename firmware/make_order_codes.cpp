// Writes the order codes of model/orders.h as gpasm equates, so that both firmware
// cores dispatch on the codes the compiler writes:  make_order_codes order_codes.inc
#include <cstdio>

#include "model/orders.h"

static void write_codes(FILE *file) {
  std::fprintf(file, "; The order codes, written by make_order_codes from src/model/orders.h.\n");
  for (const order_entry &order : order_table)
    std::fprintf(file, "%-24s equ %d%s%s%s\n", order.symbol, order.code, order.word ? " ; \"" : "",
                 order.word ? order.word : "", order.word ? "\"" : "");
  std::fprintf(file, "%-24s equ %d ; the block orders, from here to the end\n", "first_block_order",
               first_block_order);
  std::fprintf(file, "%-24s equ %d ; codes above it stop the chip\n", "last_order", order_count - 1);
}

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_order_codes order_codes.inc\n");
    return 2;
  }
  FILE *file = std::fopen(argv[1], "w");
  if (!file) {
    std::fprintf(stderr, "make_order_codes: cannot write %s\n", argv[1]);
    return 1;
  }
  write_codes(file);
  return std::fclose(file) == 0 ? 0 : 1;
}
