// The handlers of each page, by edit_mode, as the shell dispatches to them.
#include "editors/pages.h"
#include "kit/kit.h"

#define TABLE_PAGE {table_page_paint, table_page_key_down, table_page_char, table_page_click, nullptr, nullptr, nullptr, nullptr}
const page_handlers pages[] = {
    {grid_page_paint, grid_page_key_down, grid_page_char, grid_page_click, grid_page_right_click, nullptr, nullptr,
     nullptr},
    TABLE_PAGE, TABLE_PAGE, TABLE_PAGE, TABLE_PAGE, TABLE_PAGE,
    {config_page_paint, config_page_key_down, config_page_char, config_page_click, nullptr, nullptr, nullptr, nullptr},
    {literal_page_paint, literal_page_key_down, literal_page_char, literal_page_click, literal_page_right_click,
     nullptr, nullptr, nullptr},
    {sim_page_paint, sim_page_key_down, sim_page_char, sim_page_click, nullptr, sim_page_open, simulation_tick,
     sim_page_release},
    {chrono_page_paint, chrono_page_key_down, chrono_page_char, chrono_page_click, nullptr, nullptr,
     simulation_tick, nullptr},
    {check_page_paint, check_page_key_down, [](int) {}, check_page_click, nullptr, check_page_open, nullptr, nullptr},
    {program_page_paint, [](int) {}, [](int) {}, [] {}, nullptr, program_page_open, program_page_tick, nullptr},
};
#undef TABLE_PAGE
static_assert(sizeof pages / sizeof pages[0] == page_count, "one row per edit_mode");
