# Runs one libFuzzer target over its corpus without mutating (-runs=0) and
# checks that the run sees the library: the edges covered inside the
# library's own sources (src/) must reach a minimum. A library built without
# coverage instrumentation shows none there, however much the harness covers.
# Usage: cmake -DTARGET=<program> -DCORPUS=<dir> -DSOURCE_DIR=<project>
#              -DMIN_LIBRARY_EDGES=<n> [-DSYMBOLIZER=<llvm-symbolizer>]
#              -P coverage-check.cmake
# The file of each covered function comes from the symbolizer.
if(SYMBOLIZER)
  set(ENV{ASAN_OPTIONS} "external_symbolizer_path=${SYMBOLIZER}")
endif()
set(arguments -runs=0 -print_coverage=1)
if(EXISTS "${CORPUS}")
  list(APPEND arguments "${CORPUS}")
endif()
execute_process(COMMAND "${TARGET}" ${arguments}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(log "${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TARGET} failed over its corpus (status ${status}):\n${log}")
endif()
if(NOT log MATCHES "INITED cov: ([0-9]+) ft: ([0-9]+)")
  message(FATAL_ERROR "no coverage figure reported:\n${log}")
endif()
set(edges ${CMAKE_MATCH_1})
set(features ${CMAKE_MATCH_2})

# "COVERED_FUNC: hits: H edges: C/T <function> <file>:<line>" per function;
# reduced to "EDGES C <file>" so that no function name reaches a CMake list.
string(REGEX REPLACE "COVERED_FUNC: hits: [0-9]+ edges: ([0-9]+)/[0-9]+ [^\n]* ([^ \n]+):[0-9]+"
  "EDGES \\1 \\2" reduced "${log}")
string(REGEX MATCHALL "EDGES [0-9]+ ${SOURCE_DIR}/src/[^\n]*" library "${reduced}")
set(libraryEdges 0)
foreach(entry IN LISTS library)
  string(REGEX MATCH "^EDGES ([0-9]+)" ignored "${entry}")
  math(EXPR libraryEdges "${libraryEdges} + ${CMAKE_MATCH_1}")
endforeach()

message(STATUS "covered edges ${edges} (ft ${features}), ${libraryEdges} of them in the library")
if(libraryEdges LESS MIN_LIBRARY_EDGES)
  message(FATAL_ERROR "the corpus covers only ${libraryEdges} edges of the library (at least "
    "${MIN_LIBRARY_EDGES} expected): is the library built with -fsanitize=fuzzer-no-link?")
endif()
