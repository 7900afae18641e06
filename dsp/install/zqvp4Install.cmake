# Installation of the library for outside callers: the shared library with
# its soname, the public header, a pkg-config file and a CMake package
# (find_package(zqvp4) gives the target zqvp4::zqvp4). Every installed file
# finds the others relative to its own place, so `cmake --install --prefix`
# may put them anywhere.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The version of the library's own version record.
set(ZQVP4_VERSION 3.0.13)
set_target_properties(zqvp4 PROPERTIES VERSION ${ZQVP4_VERSION} SOVERSION 3)
target_include_directories(zqvp4 INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# Paths of the source and build folders must not end up in the installed
# binary (debug information included).
target_compile_options(zqvp4_objects PRIVATE
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
  -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)

install(TARGETS zqvp4 EXPORT zqvp4Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/include/zqvp4.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(ZQVP4_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zqvp4)
install(EXPORT zqvp4Targets NAMESPACE zqvp4:: DESTINATION ${ZQVP4_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_SOURCE_DIR}/install/zqvp4Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/zqvp4Config.cmake INSTALL_DESTINATION ${ZQVP4_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/zqvp4ConfigVersion.cmake
  VERSION ${ZQVP4_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zqvp4Config.cmake ${CMAKE_CURRENT_BINARY_DIR}/zqvp4ConfigVersion.cmake
  DESTINATION ${ZQVP4_CMAKE_DIR})

# pkg-config: the prefix is found from the .pc file's own folder.
file(RELATIVE_PATH ZQVP4_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ZQVP4_PC_TO_PREFIX "${ZQVP4_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/install/zqvp4.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zqvp4.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zqvp4.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
