# What `cmake --install BUILD --prefix PREFIX` puts where, in three components
# that the packages follow:
#   runtime  the core shared library (the DLL on Windows), the README and the licence
#   extended the extended shared library (libmovlex)
#   dev      the headers, the link-time library (.so link, import library,
#            static library), the CMake package and the pkg-config file
#   tool     the movlex program, its manual page and the bundled sample
# The tool installs itself (tools/CMakeLists.txt).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(MOVLEX_DESCRIPTION "technical-analysis indicators with a plain C ABI, bit-exact on every machine")

# The libraries programs link; each is the imported target movlex::<EXPORT_NAME>
# of the CMake package. The core library is the runtime component, the
# extended library (libmovlex) a component of its own (its own Debian package).
set(movlex_core_libraries movlex-ta-dll)
if(MOVLEX_BUILD_STATIC)
  list(APPEND movlex_core_libraries movlex-ta-dll-static)
endif()
foreach(component IN ITEMS runtime extended)
  if(component STREQUAL runtime)
    set(libraries ${movlex_core_libraries})
  else()
    set(libraries movlex_extended)
  endif()
  install(TARGETS ${libraries} EXPORT movlex-targets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${component} NAMELINK_COMPONENT dev
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endforeach()

# The CMake package: find_package(movlex 1.0 CONFIG REQUIRED), any 1.x.
set(MOVLEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/movlex)
install(EXPORT movlex-targets NAMESPACE movlex:: DESTINATION ${MOVLEX_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(cmake/movlex-config.cmake.in ${PROJECT_BINARY_DIR}/movlex-config.cmake
  INSTALL_DESTINATION ${MOVLEX_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/movlex-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/movlex-config.cmake ${PROJECT_BINARY_DIR}/movlex-config-version.cmake
  DESTINATION ${MOVLEX_CMAKE_DIR} COMPONENT dev)

# pkg-config files name the prefix installed into (given at install time:
# cmake --install --prefix, or /usr in the Debian packages); under a scratch
# root, PKG_CONFIG_SYSROOT_DIR points pkg-config into it. On Windows, where
# a zip is unpacked anywhere, the prefix is found from the file's own place.
function(movlex_install_pkg_config name)
  set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  if(WIN32)
    file(RELATIVE_PATH MOVLEX_PC_PREFIX /prefix/${pc_dir} /prefix)
    string(REGEX REPLACE "/$" "" MOVLEX_PC_PREFIX "\${pcfiledir}/${MOVLEX_PC_PREFIX}")
  else()
    set(MOVLEX_PC_PREFIX "@CMAKE_INSTALL_PREFIX@")  # left for the install step
  endif()
  configure_file(cmake/${name}.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc.in @ONLY)
  install(CODE "configure_file(\"${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc.in\"
                               \"${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc\" @ONLY)" COMPONENT dev)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${pc_dir} COMPONENT dev)
endfunction()
movlex_install_pkg_config(movlex-ta-dll)
movlex_install_pkg_config(movlex)

install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
