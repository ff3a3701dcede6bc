// The target side: the literal language, the automaton definition and the compiler.
#pragma once

// Loads the definition named by app_config's Automate entry. 0 on success, 1 on failure.
int load_automaton_definition();
// Copies the used constant names of the loaded definition into the constants name column.
void copy_constant_names();

enum compile_result { compile_ok = 0, compile_errors = 1, compile_file_failed = 2 };
// Compiles literal_buffer into the definition's images and writes the hex file.
compile_result compile_literal_to_hex();
// The translation, then the compiler when the translation succeeded.
compile_result compile_graphic_to_hex();
