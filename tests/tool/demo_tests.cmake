# The demo: the tool detects, verifies and converts the bundled samples, and
# every answer is checked against samples/MANIFEST.tsv. Included from the top
# level so that it needs nothing beyond CMake and the tool.
foreach(step detect verify convert)
  add_test(NAME tool_demo_${step}
    COMMAND ${CMAKE_COMMAND}
      -DTOOL=$<TARGET_FILE:charsetkit_tool>
      -DSAMPLES=${PROJECT_SOURCE_DIR}/samples
      -DWORK=${PROJECT_BINARY_DIR}/tests/tool/tool-demo-${step}
      -DSTEP=${step}
      -P ${PROJECT_SOURCE_DIR}/tests/tool/demo.cmake)
  set_tests_properties(tool_demo_${step} PROPERTIES LABELS "demo;tool")
endforeach()

