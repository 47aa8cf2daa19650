# zk_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [OWN_HEADERS])
# One GoogleTest executable, registered with CTest as a whole. GUI tests run on
# Qt's offscreen platform and audio on SDL's dummy driver, so no display or
# sound card is needed; ZK_SAMPLES_DIR points at the shared sample archives.
# ZK_BIN_DIR is the folder whose libunrar.so a test binds (bin/ unless the
# folder sets ZK_TEST_BIN_DIR); ZK_OWN_UNRAR and ZK_PUBLIC_UNRAR name the two
# RAR libraries (the public one empty when it is not unpacked). Tests include
# their own support headers as "tests/..." through zk_tests_root; what they
# test they see by linking it.
include(GoogleTest)
add_library(zk_tests_root INTERFACE)
zk_expose(zk_tests_root INTERFACE tests)
set(ZK_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
# Test code is compiled far more often than it runs long: it is built without
# optimisation (the code under test keeps the build type's), and the test
# framework's headers are parsed once for all tests, in zk_test_headers. A
# test built with feature macros of its own (SDL's) parses them itself:
# OWN_HEADERS.
file(WRITE ${CMAKE_BINARY_DIR}/zk_test_headers.cpp "")
add_library(zk_test_headers OBJECT ${CMAKE_BINARY_DIR}/zk_test_headers.cpp)
target_link_libraries(zk_test_headers PRIVATE GTest::gtest GTest::gmock)
# Compiled as every test is, or the tests could not use its headers: Qt asks
# for position-independent code, so all tests take it.
target_compile_options(zk_test_headers PRIVATE -O0 -fPIC)
target_precompile_headers(zk_test_headers PRIVATE <gtest/gtest.h> <gmock/gmock.h>)

function(zk_build_test_code_quickly target own_headers)
  target_compile_options(${target} PRIVATE -O0 -fPIC)
  if(NOT own_headers)
    target_precompile_headers(${target} REUSE_FROM zk_test_headers)
  endif()
endfunction()

function(zk_add_test)
  cmake_parse_arguments(ARG "OWN_HEADERS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} zk_tests_root GTest::gtest GTest::gtest_main GTest::gmock)
  zk_build_test_code_quickly(${ARG_NAME} ${ARG_OWN_HEADERS})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
  set_tests_properties(${ARG_NAME} PROPERTIES
    TIMEOUT 600
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;ZK_SAMPLES_DIR=${ZK_SAMPLES_DIR};ZK_BIN_DIR=${ZK_TEST_BIN_DIR};ZK_OWN_UNRAR=${ZK_OWN_UNRAR_DIR}/libunrar.so;ZK_PUBLIC_UNRAR=${ZK_PUBLIC_UNRAR}")
endfunction()

# zk_add_fuzz_test(SOURCES <files...> [LIBS <targets...>] [DEPENDS <targets...>]
#                  [MAX_LEN <bytes>] [EXTRA_SEEDS <files...>] [OPTIONS <flags...>]
#                  [ENVIRONMENT <VAR=value...>])
# One libFuzzer target, called from the fuzz/ folder beside the tests of what
# it fuzzes and named after that folder: tests/archive/detection/fuzz gives
# archive_detection_fuzz. CTest runs it for a short fixed time on a fresh copy
# of fuzz/seeds/ and EXTRA_SEEDS, so a run's findings stay out of the source
# tree; OPTIONS go to libFuzzer as they are.
function(zk_add_fuzz_test)
  cmake_parse_arguments(ARG "" "MAX_LEN" "SOURCES;LIBS;DEPENDS;EXTRA_SEEDS;OPTIONS;ENVIRONMENT" ${ARGN})
  cmake_path(RELATIVE_PATH CMAKE_CURRENT_SOURCE_DIR BASE_DIRECTORY ${CMAKE_SOURCE_DIR}/tests
    OUTPUT_VARIABLE tested)
  cmake_path(GET tested PARENT_PATH tested)
  string(REPLACE "/" "_" name "${tested}_fuzz")
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()

  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus)
  set(seeds "'${CMAKE_CURRENT_SOURCE_DIR}'/seeds/*")
  foreach(extra IN LISTS ARG_EXTRA_SEEDS)
    string(APPEND seeds " '${extra}'")
  endforeach()
  set(flags -max_total_time=20 -rss_limit_mb=2048 ${ARG_OPTIONS})
  if(ARG_MAX_LEN)
    list(APPEND flags -max_len=${ARG_MAX_LEN})
  endif()
  list(JOIN flags " " flags)
  add_test(NAME ${name}
    COMMAND sh -c "rm -rf '${corpus}' && mkdir -p '${corpus}' && cp ${seeds} '${corpus}'/ && chmod u+w '${corpus}'/* && exec \"$0\" ${flags} '${corpus}'"
            $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS slow)
  if(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
