# Installs the package into a scratch prefix and builds a consumer against it,
# with find_package and with pkg-config: once from this build tree (static by
# default), once from a shared build with a versioned SONAME.
if(NOT CHARSETKIT_INSTALL OR NOT TARGET charsetkit_tool)
  return()
endif()

foreach(variant static shared)
  add_test(NAME install_${variant}
    COMMAND ${CMAKE_COMMAND}
      -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
      -DBUILD_DIR=${PROJECT_BINARY_DIR}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/install-${variant}
      -DVARIANT=${variant}
      -DCXX=${CMAKE_CXX_COMPILER}
      -DGENERATOR=${CMAKE_GENERATOR}
      -P ${CMAKE_CURRENT_LIST_DIR}/install_test.cmake)
  set_tests_properties(install_${variant} PROPERTIES LABELS "install" TIMEOUT 900)
endforeach()
# The static variant installs this build tree; a shared library built into
# the same tree would be installed instead, so it is only run for static trees.
if(BUILD_SHARED_LIBS)
  set_tests_properties(install_static PROPERTIES DISABLED TRUE)
endif()
