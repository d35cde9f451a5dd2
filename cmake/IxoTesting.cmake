# ixo_add_test(<name> LABEL <area> SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest program and registers its cases with CTest under the
# given label (engine, analysis, platform, ui), so `ctest -L engine` runs one area.
function(ixo_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT TARGET GTest::gtest_main)
    find_package(GTest REQUIRED)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()
