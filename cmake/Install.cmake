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
configure_file(${PROJECT_SOURCE_DIR}/cmake/charsetkit.pc.in
  ${PROJECT_BINARY_DIR}/charsetkit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/charsetkit.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
