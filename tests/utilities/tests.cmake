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
