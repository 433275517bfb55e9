# Packages made from the installed components, with cpack in the build directory:
#   cpack -G DEB   Debian packages, named name_version_arch.deb: libmovlex-ta-dll1
#                  (runtime: the core library), libmovlex1 (extended: the extended
#                  library), libmovlex-ta-dll-dev (dev) and movlex (tool), with
#                  dependencies from dpkg-shlibdeps; lintian finds no error in them
#                  (tests/packaging/check_packaging.sh runs it)
#   cpack -G ZIP   one zip of everything installed (on Windows: the DLL, the import
#                  library, the headers and the CMake package)
set(CPACK_PACKAGE_NAME movlex)
set(CPACK_PACKAGE_VENDOR "the movlex developers")
# The Maintainer field: set it when making packages to publish
# (-DMOVLEX_PACKAGE_MAINTAINER="Name <address>"); by default it is taken from
# DEBFULLNAME and DEBEMAIL, as Debian's own tools do.
set(movlex_maintainer "the movlex developers <developers@movlex.org>")
if(DEFINED ENV{DEBEMAIL} AND DEFINED ENV{DEBFULLNAME})
  set(movlex_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
set(MOVLEX_PACKAGE_MAINTAINER "${movlex_maintainer}" CACHE STRING "Maintainer of the Debian packages: Name <address>")
set(CPACK_PACKAGE_CONTACT "${MOVLEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" movlex_package_arch)
  set(CPACK_PACKAGE_FILE_NAME movlex-${PROJECT_VERSION}-windows-${movlex_package_arch})
  # A zip holds everything; the tool, where built, comes along.
  set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
else()
  find_program(MOVLEX_DPKG dpkg)
  if(MOVLEX_DPKG)
    execute_process(COMMAND ${MOVLEX_DPKG} --print-architecture
      OUTPUT_VARIABLE movlex_package_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
  else()
    string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" movlex_package_arch)
  endif()
  set(CPACK_PACKAGE_FILE_NAME movlex-${PROJECT_VERSION}-${movlex_package_arch})
  # Debian's names: libmovlex-ta-dll1_1.0.0_amd64.deb, ...: apt install ./*.deb
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
endif()

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime extended dev)
if(TARGET movlex)
  list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_COMPONENT_EXTENDED_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DEPENDS runtime extended)
# libmovlex loads the core library, which dpkg-shlibdeps finds in the build
# tree; the dependency on its package is the component dependency above.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The library packages let dpkg run ldconfig once after all packages are in.
file(WRITE ${PROJECT_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/triggers)
set(CPACK_DEBIAN_EXTENDED_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/triggers)

# Each package's description: its own synopsis line, then the text they share.
set(movlex_deb_description "movlex computes 45 technical-analysis indicators (moving averages,
oscillators, directional movement, volatility, statistics and volume
indicators) over price series held in the caller's memory, through the
exported MOVLEX_* functions of the shared library libmovlex-ta-dll. Every
indicator does plain double arithmetic in one fixed order of operations, so
the same input gives the same bits on every machine.
")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libmovlex-ta-dll${PROJECT_VERSION_MAJOR})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "technical-analysis indicators with a plain C ABI (shared library)
${movlex_deb_description}
This package holds the shared library.")

set(CPACK_DEBIAN_EXTENDED_PACKAGE_NAME libmovlex${PROJECT_VERSION_MAJOR})
set(CPACK_COMPONENT_EXTENDED_DESCRIPTION "technical-analysis indicators with a plain C ABI (extended library)
${movlex_deb_description}
This package holds libmovlex, the extended library: the indicators beyond
the 45, candlestick patterns, streams that take one bar at a time and the
engine that computes one indicator over many series at once.")

set(movlex_dev_static "")
if(MOVLEX_BUILD_STATIC)
  set(movlex_dev_static ",\nthe static library libmovlex-ta-dll.a")
endif()
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libmovlex-ta-dll-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DESCRIPTION "technical-analysis indicators with a plain C ABI (development files)
${movlex_deb_description}
This package holds what building against the library needs: the C headers,
the link to the shared library${movlex_dev_static}, the CMake package
(find_package(movlex)) and the pkg-config file (movlex-ta-dll).")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME movlex)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION science)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "technical-analysis indicators over price data in CSV form
${movlex_deb_description}
This package holds the movlex command-line program, which reads OHLCV bars
as CSV and writes them back with one column per indicator output.")

# Each package's copyright and changelog, where Debian's tools look for them.
if(MOVLEX_DPKG)
  set(movlex_changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz)
  execute_process(COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/debian/changelog OUTPUT_FILE ${movlex_changelog})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/debian/changelog)
  foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} upper)
    install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${movlex_changelog}
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME} COMPONENT ${component})
  endforeach()
endif()

include(CPack)
