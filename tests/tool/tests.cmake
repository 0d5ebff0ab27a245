# End-to-end tests of the charsetkit tool (the demo run over samples/ is in
# demo_tests.cmake).
if(NOT TARGET charsetkit_tool)
  return()
endif()

# Unit tests of the tool's units, with small piece sizes so that the paths
# of large inputs run on small ones.
file(GLOB _charsetkit_tool_unit_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(charsetkit_tool_tests ${_charsetkit_tool_unit_tests})
target_include_directories(charsetkit_tool_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(charsetkit_tool_tests PRIVATE charsetkit_tool_units charsetkit_warnings
  GTest::gtest GTest::gtest_main)
target_compile_definitions(charsetkit_tool_tests PRIVATE
  CHARSETKIT_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  CHARSETKIT_PAGES_DIR="${CHARSETKIT_PAGES_DIR}")
gtest_discover_tests(charsetkit_tool_tests DISCOVERY_TIMEOUT 60)

set(_charsetkit_samples ${PROJECT_SOURCE_DIR}/samples)

find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  set(_charsetkit_tool_groups SamplesTest ConvertTest BadInputTest OptionsTest LabelsTest
    DecodeCheckTest TreeTest SniffTest)
  # Memory use is measured on plain builds only: sanitizers multiply it.
  if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    list(APPEND _charsetkit_tool_groups LargeInputTest)
  endif()
  foreach(group IN LISTS _charsetkit_tool_groups)
    add_test(NAME tool_${group}
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/tool_tests.py
        --tool $<TARGET_FILE:charsetkit_tool> --samples ${_charsetkit_samples} ${group})
    set_tests_properties(tool_${group} PROPERTIES LABELS "tool" TIMEOUT 600)
  endforeach()
else()
  message(STATUS "Python 3 not found: the tool's end-to-end tests are not registered")
endif()
