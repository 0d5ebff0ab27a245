# The committed code page 949 tables must be exactly what the generator makes
# from data/korean/: regenerate into the build tree and compare byte for byte.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  set(CHARSETKIT_CP949_TABLES_REGENERATED ${CMAKE_CURRENT_BINARY_DIR}/korean/Cp949Tables.cpp)
  add_test(NAME Cp949Tables.Regenerate
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/gen_korean_tables.py
            --output ${CHARSETKIT_CP949_TABLES_REGENERATED})
  add_test(NAME Cp949Tables.MatchesCommittedFile
    COMMAND ${CMAKE_COMMAND} -E compare_files
            ${CHARSETKIT_CP949_TABLES_REGENERATED}
            ${PROJECT_SOURCE_DIR}/src/korean/Cp949Tables.cpp)
  set_tests_properties(Cp949Tables.Regenerate PROPERTIES FIXTURES_SETUP Cp949TablesRegenerated)
  set_tests_properties(Cp949Tables.MatchesCommittedFile PROPERTIES
    FIXTURES_REQUIRED Cp949TablesRegenerated)
else()
  message(STATUS "Python 3 not found: the code page 949 table regeneration test is skipped")
endif()
