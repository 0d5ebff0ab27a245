include(CMakePackageConfigHelpers)

set(CHARSETKIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/charsetkit)

install(TARGETS charsetkit EXPORT charsetkit-targets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/charsetkit
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/charsetkit/charsetkit_export.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/charsetkit)
install(EXPORT charsetkit-targets
  NAMESPACE charsetkit::
  FILE charsetkit-targets.cmake
  DESTINATION ${CHARSETKIT_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/charsetkit-config.cmake.in
  ${PROJECT_BINARY_DIR}/charsetkit-config.cmake
  INSTALL_DESTINATION ${CHARSETKIT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/charsetkit-config-version.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/charsetkit-config.cmake
  ${PROJECT_BINARY_DIR}/charsetkit-config-version.cmake
  DESTINATION ${CHARSETKIT_CMAKE_DIR})

if(BUILD_SHARED_LIBS)
  set(CHARSETKIT_PC_CFLAGS "")
  set(CHARSETKIT_PC_LIBS_PRIVATE "")
else()
  set(CHARSETKIT_PC_CFLAGS "-DCHARSETKIT_STATIC_DEFINE")
  set(CHARSETKIT_PC_LIBS_PRIVATE "-lstdc++")
endif()
# The .pc file finds the prefix from its own location, so that the package
# works wherever it is installed (cmake --install --prefix DIR included).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(CHARSETKIT_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(CHARSETKIT_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  set(CHARSETKIT_PC_PREFIX "\${pcfiledir}")
  string(REPLACE "/" ";" _charsetkit_pc_parts "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
  foreach(_part IN LISTS _charsetkit_pc_parts)
    if(NOT _part STREQUAL "" AND NOT _part STREQUAL ".")
      string(APPEND CHARSETKIT_PC_PREFIX "/..")
    endif()
  endforeach()
  set(CHARSETKIT_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(CHARSETKIT_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(CHARSETKIT_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/charsetkit.pc.in
  ${PROJECT_BINARY_DIR}/charsetkit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/charsetkit.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
