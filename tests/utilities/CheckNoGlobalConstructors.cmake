execute_process(COMMAND ${NM} -C ${LIBRARY}
  OUTPUT_VARIABLE symbols
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]*(_GLOBAL__sub_I_|global constructors keyed to)[^\n]*" found "${symbols}")
if(found)
  string(REPLACE ";" "\n" found "${found}")
  message(FATAL_ERROR "global initialisers in ${LIBRARY}:\n${found}")
endif()
message(STATUS "no global initialisers in ${LIBRARY}")
