# Fails unless every code table and bound of JapaneseConversions is defined in
# read-only data (nm type R/r): proof that the tables are constant-initialised
# and that no constructor fills them at load time.
# Usage: cmake -DNM=<nm> -DLIBRARY=<library file> -P CheckTablesReadOnly.cmake
execute_process(COMMAND ${NM} -C ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(found 0)
foreach(line IN LISTS lines)
  if(line MATCHES "JapaneseConversions::ms_[A-Za-z0-9]+(BottomIndex|TopIndex|ConversionTable)$")
    if(line MATCHES "^ +U ")
      continue()
    endif()
    if(NOT line MATCHES "^[0-9a-fA-F]+ [Rr] ")
      message(FATAL_ERROR "table symbol not in read-only data: ${line}")
    endif()
    math(EXPR found "${found} + 1")
  endif()
  if(line MATCHES "_GLOBAL__sub_I_JisTables")
    message(FATAL_ERROR "the JIS tables have a load-time initialiser: ${line}")
  endif()
endforeach()
if(NOT found EQUAL 24)
  message(FATAL_ERROR "expected 24 table symbols, found ${found}")
endif()
