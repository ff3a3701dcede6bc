# Fuzz targets: one fuzz/<name>_fuzz.cpp per reader and the paths it feeds.
# Every build replays the stored inputs (fuzz/corpus/<name>, fuzz/regressions/<name>)
# through a plain driver; with TALVEN_FUZZ=ON and clang, the libFuzzer programs are
# built too (scripts/fuzz does that in build-fuzz).
option(TALVEN_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(WIN32)
  return()  # the targets work in POSIX temporary folders
endif()

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_fuzz.cpp)
set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
# The window's messages need the shell, the pages and the headless surface too.
set(window_fuzz ${fuzz_dir}/window_messages_fuzz.cpp)
list(REMOVE_ITEM fuzz_sources ${window_fuzz})

foreach(source ${fuzz_sources} ${window_fuzz})
  get_filename_component(name ${source} NAME_WE)
  add_executable(replay_${name} ${source} ${fuzz_dir}/replay_main.cpp)
  target_include_directories(replay_${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(replay_${name} PRIVATE $<IF:$<STREQUAL:${name},window_messages_fuzz>,talven_headless,talven_core>)
  target_compile_definitions(replay_${name} PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME FuzzReplay.${name}
    COMMAND replay_${name} ${fuzz_dir}/corpus/${name} ${fuzz_dir}/regressions/${name})
endforeach()

if(TALVEN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TALVEN_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(fuzz_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  # The core again, instrumented for coverage; the plain talven_core stays as it is.
  add_library(talven_core_fuzz STATIC ${core_sources})
  target_include_directories(talven_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(talven_core_fuzz PUBLIC ZLIB::ZLIB PkgConfig::CAIRO)
  target_compile_options(talven_core_fuzz PRIVATE ${fuzz_flags} -fsanitize=fuzzer-no-link)
  # The surface as it is: tracing and checking each pixel of every repaint would make
    # a run take seconds (its own tests run under the sanitizers).
  add_library(talven_surface_fuzz STATIC ${CMAKE_SOURCE_DIR}/src/platform/software_surface.cpp)
  target_include_directories(talven_surface_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(talven_surface_fuzz PUBLIC PkgConfig::FREETYPE)
  add_library(talven_window_fuzz STATIC ${ui_sources} ${CMAKE_SOURCE_DIR}/src/platform/backends/headless.cpp)
  target_compile_options(talven_window_fuzz PRIVATE ${fuzz_flags} -fsanitize=fuzzer-no-link)
  target_link_libraries(talven_window_fuzz PUBLIC talven_core_fuzz talven_surface_fuzz)
  list(APPEND fuzz_sources ${window_fuzz})
  add_custom_target(fuzz_targets)
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${fuzz_flags} -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE $<IF:$<STREQUAL:${name},window_messages_fuzz>,talven_window_fuzz,talven_core_fuzz>)
    target_compile_definitions(${name} PRIVATE TALVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_dependencies(fuzz_targets ${name})
  endforeach()
endif()
