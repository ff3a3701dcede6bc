# The interpreter for each chip: its file and the shared core assembled with gpasm
# at build time and turned into the definition file by make_definition. Without
# gputils the committed targets/*.def are the ones users get, and the firmware
# checks are left out.
find_program(GPASM gpasm)
find_program(GPSIM gpsim)

add_executable(make_definition firmware/make_definition.cpp)
target_include_directories(make_definition PRIVATE src)
# The order codes both cores dispatch on, written from the compiler's order table.
add_executable(make_order_codes firmware/make_order_codes.cpp)
target_include_directories(make_order_codes PRIVATE src)
# Each chip's processor, configuration word and equates, written from the chip table.
add_executable(make_chip_include firmware/make_chip_include.cpp)
target_include_directories(make_chip_include PRIVATE src)

if(NOT GPASM)
  message(STATUS "gpasm not found: the interpreter firmware is not assembled")
  return()
endif()

set(firmware_dir ${CMAKE_BINARY_DIR}/firmware)
# The rows of src/model/chips.h: make_chip_include refuses a chip the table lacks, and
# BundledDefinition a row without its targets/CHIP.def.
set(firmware_chips pic16f628a pic16f88 pic16f877a pic16f887 pic16f84a)
set(firmware_core ${CMAKE_SOURCE_DIR}/firmware/interpreter.inc ${CMAKE_SOURCE_DIR}/firmware/ccp_tick.inc
  ${CMAKE_SOURCE_DIR}/firmware/chip_common.inc ${CMAKE_SOURCE_DIR}/firmware/fast_core.inc
  ${CMAKE_SOURCE_DIR}/firmware/compact_core.inc ${CMAKE_SOURCE_DIR}/firmware/tmr0_tick.inc
  ${CMAKE_SOURCE_DIR}/firmware/eeprom_high_banks.inc)
set(order_codes ${firmware_dir}/order_codes.inc)
add_custom_command(OUTPUT ${order_codes}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${firmware_dir}
  COMMAND make_order_codes ${order_codes}
  DEPENDS make_order_codes
  COMMENT "Writing the firmware's order codes")
set(built_definitions)
foreach(chip IN LISTS firmware_chips)
  set(chip_hex ${firmware_dir}/${chip}.hex)
  set(chip_definition ${firmware_dir}/${chip}.def)
  set(chip_include ${firmware_dir}/${chip}_chip.inc)
  add_custom_command(OUTPUT ${chip_include}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${firmware_dir}
    COMMAND make_chip_include ${chip} ${chip_include}
    DEPENDS make_chip_include
    COMMENT "Writing the ${chip}'s facts for the assembler")
  add_custom_command(OUTPUT ${chip_hex} ${firmware_dir}/${chip}.lst
    COMMAND ${CMAKE_COMMAND} -E make_directory ${firmware_dir}
    COMMAND ${GPASM} -a inhx8m -I ${CMAKE_SOURCE_DIR}/firmware -I ${firmware_dir} -o ${chip_hex}
      ${CMAKE_SOURCE_DIR}/firmware/${chip}.asm
    DEPENDS ${CMAKE_SOURCE_DIR}/firmware/${chip}.asm ${firmware_core} ${order_codes} ${chip_include}
    COMMENT "Assembling the ${chip} interpreter")
  add_custom_command(OUTPUT ${chip_definition}
    COMMAND make_definition ${chip} ${chip_hex} ${chip_definition}
    DEPENDS make_definition ${chip_hex}
    COMMENT "Generating ${chip}.def")
  list(APPEND built_definitions ${chip_definition})
  # The committed definition must be the one the build makes; copy the built file over it when this fails.
  add_test(NAME FirmwareDefinition.CommittedFileMatchesTheBuild.${chip}
    COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_SOURCE_DIR}/targets/${chip}.def ${chip_definition})
endforeach()
add_custom_target(firmware ALL DEPENDS ${built_definitions})
set(firmware_list ${firmware_dir}/pic16f628a.lst)

# A firmware hex with a bad checksum gives no definition.
add_test(NAME FirmwareDefinition.DamagedFirmwareHexIsRefused
  COMMAND make_definition pic16f628a ${CMAKE_SOURCE_DIR}/tests/firmware/damaged.hex ${firmware_dir}/damaged.def)
set_tests_properties(FirmwareDefinition.DamagedFirmwareHexIsRefused PROPERTIES WILL_FAIL TRUE)

# The definition read by TALVEN's loader, and charts compiled by talvenc run in gpsim.
set(firmware_tests tests/firmware/definition_test.cpp)
if(GPSIM)
  file(GLOB firmware_tests CONFIGURE_DEPENDS tests/firmware/*.cpp)
else()
  message(STATUS "gpsim not found: the simulator tests are left out")
endif()
add_executable(test_firmware ${firmware_tests})
target_include_directories(test_firmware PRIVATE tests)
target_link_libraries(test_firmware PRIVATE talven_core GTest::gtest GTest::gtest_main)
target_compile_definitions(test_firmware PRIVATE
  TALVENC_PATH="$<TARGET_FILE:talvenc>"
  GPSIM_PATH="${GPSIM}"
  GPASM_PATH="${GPASM}"
  FIRMWARE_LIST="${firmware_list}"
  FIRMWARE_DIR="${firmware_dir}"
  SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(test_firmware firmware talvenc)
gtest_discover_tests(test_firmware WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 30)
