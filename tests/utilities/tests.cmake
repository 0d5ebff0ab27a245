# The library must run no code at load time: no static object needs a
# constructor, so no global initialiser functions may appear in its objects.
find_program(CHARSETKIT_NM NAMES nm llvm-nm)
if(CHARSETKIT_NM)
  add_test(NAME NoGlobalConstructors
    COMMAND ${CMAKE_COMMAND}
      -DNM=${CHARSETKIT_NM}
      -DLIBRARY=$<TARGET_FILE:charsetkit>
      -P ${CMAKE_CURRENT_LIST_DIR}/CheckNoGlobalConstructors.cmake)
endif()

# Includes must follow the folder layers: nothing low includes a higher
# folder except the documented exceptions listed in the script.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME IncludeLayers
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_include_layers.py
      ${PROJECT_SOURCE_DIR})
else()
  message(STATUS "Python 3 not found: the include layer check is skipped")
endif()
