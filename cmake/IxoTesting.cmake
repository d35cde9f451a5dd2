# ixo_add_test(<name> LABEL <area> SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest program and registers its cases with CTest under the
# given label (engine, analysis, platform, ui, cli), so `ctest -L engine` runs one area.
#
# GoogleTest's headers are parsed once, into a precompiled header that every
# test program outside the windows reuses: on two cores that saves a good part
# of a CI build. The window tests are built position-independent for Qt, which
# a header precompiled without it cannot serve.
function(ixo_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT TARGET GTest::gtest_main)
    find_package(GTest REQUIRED)
  endif()
  if(NOT TARGET ixo_test_pch)
    file(WRITE ${CMAKE_BINARY_DIR}/ixo_test_pch.cpp "// holds the tests' precompiled header\n")
    add_library(ixo_test_pch OBJECT ${CMAKE_BINARY_DIR}/ixo_test_pch.cpp)
    target_link_libraries(ixo_test_pch PRIVATE GTest::gtest GTest::gmock)
    target_precompile_headers(ixo_test_pch PRIVATE
      <gtest/gtest.h> <gmock/gmock.h> <string> <vector> <filesystem> <fstream> <sstream>)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  if(NOT ARG_LABEL STREQUAL "ui")
    target_precompile_headers(${name} REUSE_FROM ixo_test_pch)
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()
