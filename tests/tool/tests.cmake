# End-to-end tests of the charsetkit tool (the demo run over samples/ is in
# demo_tests.cmake).
if(NOT TARGET charsetkit_tool)
  return()
endif()

set(_charsetkit_samples ${PROJECT_SOURCE_DIR}/samples)

find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  set(_charsetkit_tool_groups SamplesTest ConvertTest BadInputTest OptionsTest LabelsTest
    DecodeCheckTest TreeTest)
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
