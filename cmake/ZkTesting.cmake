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
