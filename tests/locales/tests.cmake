# The concurrency test is a program of its own, so that the ThreadSanitizer
# preset can build and run it alone (label "concurrency").
find_package(Threads REQUIRED)
add_executable(charsetkit_concurrency_tests ${CMAKE_CURRENT_LIST_DIR}/Concurrency_mt.cpp)
target_include_directories(charsetkit_concurrency_tests PRIVATE
  ${PROJECT_SOURCE_DIR}/src
  ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(charsetkit_concurrency_tests PRIVATE charsetkit::charsetkit
  charsetkit_warnings GTest::gtest GTest::gtest_main Threads::Threads)
gtest_discover_tests(charsetkit_concurrency_tests
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS concurrency)

# The allocation-failure test replaces the global operator new, so it runs in
# a program of its own where that replacement cannot touch any other test.
add_executable(charsetkit_allocation_tests ${CMAKE_CURRENT_LIST_DIR}/AllocationFailure_alloc.cpp)
target_include_directories(charsetkit_allocation_tests PRIVATE
  ${PROJECT_SOURCE_DIR}/src
  ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(charsetkit_allocation_tests PRIVATE charsetkit::charsetkit
  charsetkit_warnings GTest::gtest GTest::gtest_main)
gtest_discover_tests(charsetkit_allocation_tests
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DISCOVERY_TIMEOUT 60)
