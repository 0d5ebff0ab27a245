# The committed JIS tables must be exactly what the generator makes from
# data/jis/: regenerate into the build tree and compare byte for byte.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  set(CHARSETKIT_JIS_TABLES_REGENERATED ${CMAKE_CURRENT_BINARY_DIR}/japanese/JisTables.cpp)
  add_test(NAME JisTables.Regenerate
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/gen_jis_tables.py
            --output ${CHARSETKIT_JIS_TABLES_REGENERATED})
  add_test(NAME JisTables.MatchesCommittedFile
    COMMAND ${CMAKE_COMMAND} -E compare_files
            ${CHARSETKIT_JIS_TABLES_REGENERATED}
            ${PROJECT_SOURCE_DIR}/src/japanese/JisTables.cpp)
  set_tests_properties(JisTables.Regenerate PROPERTIES FIXTURES_SETUP JisTablesRegenerated)
  set_tests_properties(JisTables.MatchesCommittedFile PROPERTIES
    FIXTURES_REQUIRED JisTablesRegenerated)
else()
  message(STATUS "Python 3 not found: the JIS table regeneration test is skipped")
endif()

# The tables must be constant-initialised read-only data.
if(CMAKE_NM)
  add_test(NAME JisTables.ReadOnlyData
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:charsetkit>
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckTablesReadOnly.cmake)
endif()
