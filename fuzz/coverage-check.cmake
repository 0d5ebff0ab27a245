# Runs one libFuzzer target over its corpus without mutating (-runs=0) and
# checks that the run sees the library: the number of instrumented edges
# loaded and the edges covered by the corpus must both reach their minimum.
# Usage: cmake -DTARGET=<program> -DCORPUS=<dir> -DMIN_EDGES=<n>
#              -DMIN_COUNTERS=<n> -P coverage-check.cmake
set(arguments -runs=0)
if(EXISTS "${CORPUS}")
  list(APPEND arguments "${CORPUS}")
endif()
execute_process(COMMAND "${TARGET}" ${arguments}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(log "${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TARGET} failed over its corpus (status ${status}):\n${log}")
endif()
if(NOT log MATCHES "\\(([0-9]+) inline 8-bit counters\\)")
  message(FATAL_ERROR "no instrumented edges reported:\n${log}")
endif()
set(counters ${CMAKE_MATCH_1})
if(NOT log MATCHES "INITED cov: ([0-9]+) ft: ([0-9]+)")
  message(FATAL_ERROR "no coverage figure reported:\n${log}")
endif()
set(edges ${CMAKE_MATCH_1})
message(STATUS "instrumented edges ${counters}, covered ${edges} (ft ${CMAKE_MATCH_2})")
if(counters LESS MIN_COUNTERS)
  message(FATAL_ERROR "only ${counters} instrumented edges (at least ${MIN_COUNTERS} expected): "
    "is the library built with -fsanitize=fuzzer-no-link?")
endif()
if(edges LESS MIN_EDGES)
  message(FATAL_ERROR "the corpus covers only ${edges} edges (at least ${MIN_EDGES} expected)")
endif()
