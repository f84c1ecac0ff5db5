# murax_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable whose cases CTest discovers individually.
find_package(GTest REQUIRED)
include(GoogleTest)

function(murax_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main murax_warnings)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
