// "G->H": the translation, then the compiler. Kept apart from the compiler so that
// programs compiling literal text alone do not pull in the translation.
#include "platform/message_box.h"
#include "compiler/compiler.h"
#include "translate/translate.h"

compile_result compile_graphic_to_hex() {
  show_message_box(box_notice, "Processing", "Converting Graphic --> Hex ?");
  // A hex built from a half-translated chart would be a wrong program on the chip.
  if (!graphic_to_literal()) return compile_errors;
  return compile_literal_to_hex();
}
