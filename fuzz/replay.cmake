# Included from the test suite: builds each fuzz target with the replay main
# and runs it over its corpus directory as a ctest case.
file(GLOB CHARSETKIT_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source IN LISTS CHARSETKIT_FUZZ_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  # Targets over the tool's units (Tool*) need the tool in the build.
  if(name MATCHES "^Tool" AND NOT TARGET charsetkit_tool_units)
    continue()
  endif()
  add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
  target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/fuzz
    ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name}_replay PRIVATE charsetkit::charsetkit charsetkit_warnings)
  if(name MATCHES "^Tool")
    target_link_libraries(${name}_replay PRIVATE charsetkit_tool_units)
  endif()
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  if(EXISTS ${corpus})
    add_test(NAME FuzzReplay.${name} COMMAND ${name}_replay ${corpus})
  else()
    add_test(NAME FuzzReplay.${name} COMMAND ${name}_replay)
  endif()
endforeach()
