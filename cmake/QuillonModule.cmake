# quillon_module(NAME DEPENDENCIES...) builds the folder NAME/ into the static
# library quillon_NAME. Sources are globbed so that adding a class means adding
# its two files and nothing else.
function(quillon_module name)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${name}/*.cpp")
  if(NOT sources)
    # A module whose first class has not been written yet.
    set(sources "${CMAKE_BINARY_DIR}/empty_${name}.cpp")
    file(WRITE "${sources}" "")
  endif()
  add_library(quillon_${name} STATIC ${sources})
  target_include_directories(quillon_${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(quillon_${name} PUBLIC ${ARGN})
endfunction()

# quillon_test_suite(NAME DEPENDENCIES...) builds tests/NAME/*.cpp into the
# test executable NAME_tests and registers every test case with CTest.
function(quillon_test_suite name)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources})
  target_link_libraries(${name}_tests PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name}_tests PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  target_compile_definitions(${name}_tests PRIVATE
    QUILLON_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/${name}/data"
    QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(name STREQUAL "batch")
    # The batch suite also runs the built tool as a process.
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QUILLON_BATCH=$<TARGET_FILE:quillon-batch>")
  else()
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
