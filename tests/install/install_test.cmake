# Installs charsetkit into a scratch prefix and builds the consumer in
# examples/consumer against it, through find_package and through pkg-config,
# then runs the consumer and the installed tool.
#
#   cmake -DSOURCE_DIR=... -DWORK=... -DVARIANT=static|shared
#         [-DBUILD_DIR=build tree to install, for static] -DCXX=... -DGENERATOR=...
#         -P install_test.cmake

foreach(var SOURCE_DIR WORK VARIANT CXX GENERATOR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "install_test.cmake needs -D${var}=...")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(JOIN " " shown ${ARGN})
    message(FATAL_ERROR "failed (${rc}): ${shown}\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(prefix ${WORK}/prefix)

if(VARIANT STREQUAL "static")
  if(NOT DEFINED BUILD_DIR)
    message(FATAL_ERROR "the static variant installs -DBUILD_DIR")
  endif()
  set(build ${BUILD_DIR})
else()
  # A shared build of the library and the tool alone.
  set(build ${WORK}/build)
  run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G ${GENERATOR}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
      -DCHARSETKIT_TESTS=OFF -DCHARSETKIT_WERROR=ON -DCHARSETKIT_INSTALL=ON -DCHARSETKIT_TOOL=ON)
  run(${CMAKE_COMMAND} --build ${build} --parallel 2)
endif()
run(${CMAKE_COMMAND} --install ${build} --prefix ${prefix})

file(GLOB_RECURSE pc_files ${prefix}/*/charsetkit.pc)
file(GLOB_RECURSE config_files ${prefix}/*/charsetkit-config.cmake)
if(NOT pc_files OR NOT config_files OR NOT EXISTS ${prefix}/include/charsetkit/charsetkit.h
   OR NOT EXISTS ${prefix}/include/charsetkit/charsetkit_export.h OR NOT EXISTS ${prefix}/bin/charsetkit)
  message(FATAL_ERROR "the installed tree lacks the headers, the tool or the package files")
endif()
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
get_filename_component(libdir ${pc_dir} DIRECTORY)

if(VARIANT STREQUAL "shared")
  file(GLOB libraries ${libdir}/libcharsetkit.so.*.*.*)
  if(NOT libraries)
    message(FATAL_ERROR "no versioned libcharsetkit.so in ${libdir}")
  endif()
  # The library carries a versioned SONAME and exports only the public classes.
  find_program(READELF readelf)
  find_program(NM nm)
  if(READELF)
    run(${READELF} -d ${libdir}/libcharsetkit.so)
    if(NOT OUT MATCHES "SONAME[^\n]*\\[libcharsetkit\\.so\\.[0-9]+\\]")
      message(FATAL_ERROR "libcharsetkit.so has no versioned SONAME:\n${OUT}")
    endif()
  endif()
  if(NM)
    file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR}/include ${SOURCE_DIR}/include/charsetkit/*/*.h)
    set(public "")
    foreach(header IN LISTS headers)
      get_filename_component(class ${header} NAME_WE)
      list(APPEND public ${class})
    endforeach()
    string(JOIN "|" public_pattern ${public})
    run(${NM} -D -C --defined-only ${libdir}/libcharsetkit.so)
    string(REPLACE "\n" ";" symbols "${OUT}")
    set(hidden_leaks "")
    foreach(symbol IN LISTS symbols)
      if(symbol MATCHES "charsetkit::" AND NOT symbol MATCHES "charsetkit::(${public_pattern})(::|[^A-Za-z0-9_]|$)")
        string(APPEND hidden_leaks "  ${symbol}\n")
      endif()
    endforeach()
    if(hidden_leaks)
      message(FATAL_ERROR "libcharsetkit.so exports internal symbols:\n${hidden_leaks}")
    endif()
  endif()
  set(run_env ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir})
else()
  set(run_env "")
endif()

set(expected "shift_jis: <p>表示</p>")

# find_package(charsetkit CONFIG REQUIRED) and charsetkit::charsetkit.
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/consumer -B ${WORK}/consumer -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK}/consumer)
run(${WORK}/consumer/consumer)
string(STRIP "${OUT}" OUT)
if(NOT OUT STREQUAL expected)
  message(FATAL_ERROR "the CMake consumer printed '${OUT}', expected '${expected}'")
endif()
message(STATUS "find_package consumer: ${OUT}")

# pkg-config.
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} ${PKG_CONFIG} --cflags --libs charsetkit)
  string(STRIP "${OUT}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${CXX} -std=c++17 ${SOURCE_DIR}/examples/consumer/main.cpp ${flags}
      -o ${WORK}/consumer-pkg-config)
  run(${run_env} ${WORK}/consumer-pkg-config)
  string(STRIP "${OUT}" OUT)
  if(NOT OUT STREQUAL expected)
    message(FATAL_ERROR "the pkg-config consumer printed '${OUT}', expected '${expected}'")
  endif()
  message(STATUS "pkg-config consumer: ${OUT}")
else()
  message(STATUS "pkg-config not found: that consumer was not built")
endif()

# The installed tool runs from its prefix (for the shared variant, it finds
# the library through its relative run path).
run(${prefix}/bin/charsetkit detect ${SOURCE_DIR}/samples/ja-page.euc-jp.html)
if(NOT OUT MATCHES ": euc-jp\n$")
  message(FATAL_ERROR "the installed tool printed '${OUT}'")
endif()
message(STATUS "installed tool: ${OUT}")
