include(GoogleTest)

# Warnings for our own targets. g++ keeps a few diagnostics known for false
# positives in inlined library code as warnings; clang does not know them all.
function(hv_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE
      -Wno-error=stringop-overflow -Wno-error=array-bounds -Wno-error=maybe-uninitialized)
  endif()
endfunction()

# add_subdirectory for every direct child folder of `root` that has a CMakeLists.txt.
function(hv_add_subdirectories root)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${root}
       CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${root}/*)
  list(SORT children)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${root}/${child}/CMakeLists.txt)
      add_subdirectory(${root}/${child})
    endif()
  endforeach()
endfunction()

# One static library from every .cpp below the current folder.
# hv_add_library(name [EXCLUDE file...]) ; the repository root is the include root.
function(hv_add_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(NOT sources)
    # A folder with no sources yet still gives a library others can link.
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  hv_target_warnings(${name})
  # The fuzz build steers its inputs by the coverage of the code under test,
  # so every library a fuzz target links is instrumented, not just the harness.
  # Plain test programs link these too: the sanitizer runtime answers the hooks.
  if(HV_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# add_engine_tests(name LABEL unit|platform SOURCES ... [LIBS ...] [SERIAL])
# `unit` executables open no SDL video or audio; `platform` ones may.
# SERIAL: the tests measure real time, so nothing else runs beside them.
function(add_engine_tests name)
  cmake_parse_arguments(ARG "SERIAL" "LABEL" "SOURCES;LIBS" ${ARGN})
  set(serial "")
  if(ARG_SERIAL)
    set(serial RUN_SERIAL TRUE)
  endif()
  if(NOT ARG_LABEL MATCHES "^(unit|platform)$")
    message(FATAL_ERROR "add_engine_tests(${name}): LABEL must be unit or platform")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} hv_test_support GTest::gmock GTest::gtest_main)
  hv_target_warnings(${name})
  # The headless environment comes through `env` as the test launcher: gtest's
  # PROPERTIES are flattened into name/value pairs, so a list-valued
  # ENVIRONMENT would not survive discovery.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;LIBGL_ALWAYS_SOFTWARE=1;HV_PRESENT_UNPACED=1")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${name}."
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 120 ${serial}
    DISCOVERY_TIMEOUT 60)
endfunction()

# add_engine_benchmark(name SOURCES ... [LIBS ...]): built by the `benchmarks` target only.
if(NOT TARGET benchmarks)
  add_custom_target(benchmarks)
endif()
function(add_engine_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  hv_target_warnings(${name})
  add_dependencies(benchmarks ${name})
endfunction()

# add_fuzz_target(name SOURCES ... [LIBS ...] [CI_SECONDS n] [CORPUS dir]): a
# libFuzzer program (asan preset only) and the ctest fuzz.<name> that replays
# its seed corpus, tests/fuzz/<name>/corpus unless CORPUS names a folder the
# build writes. CI_SECONDS (10 when absent) is the target's share of the fuzz
# phase of .ci/run, which runs the targets one after another in about four minutes.
set_property(GLOBAL PROPERTY HV_FUZZ_TARGETS "")
function(add_fuzz_target name)
  cmake_parse_arguments(ARG "" "CI_SECONDS;CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT HV_FUZZ)
    return()
  endif()
  if(NOT ARG_CI_SECONDS)
    set(ARG_CI_SECONDS 10)
  endif()
  set(target fuzz_${name})
  add_executable(${target} ${ARG_SOURCES})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  # The support library brings the stand-in application factory the engine links against.
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} hv_test_support)
  hv_target_warnings(${target})
  set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/${name}/corpus)
  if(ARG_CORPUS)
    set(corpus ${ARG_CORPUS})
  endif()
  add_test(NAME fuzz.${name} COMMAND ${target} -runs=0 ${corpus})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
  set_property(GLOBAL APPEND PROPERTY HV_FUZZ_TARGETS "${name}:${ARG_CI_SECONDS}:${corpus}")
endfunction()
