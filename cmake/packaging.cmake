# Packages made from the installed components, with cpack in the build directory:
#   cpack -G DEB   Debian packages: libmovlex-ta-dll1 (runtime), libmovlex-ta-dll-dev
#                  (dev) and movlex (tool), with dependencies from dpkg-shlibdeps
#   cpack -G ZIP   one zip of everything installed (on Windows: the DLL, the import
#                  library, the headers and the CMake package)
set(CPACK_PACKAGE_NAME movlex)
set(CPACK_PACKAGE_VENDOR "the movlex developers")
set(CPACK_PACKAGE_CONTACT "the movlex developers <movlex@localhost>")
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
  # movlex-1.0.0-amd64-runtime.deb, -dev.deb, -tool.deb: apt install ./movlex*.deb
  set(CPACK_PACKAGE_FILE_NAME movlex-${PROJECT_VERSION}-${movlex_package_arch})
endif()

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
if(TARGET movlex)
  list(APPEND CPACK_COMPONENTS_ALL tool)
endif()
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

# Each package's description: its own synopsis line, then the text they share.
set(movlex_deb_description "movlex computes 45 technical-analysis indicators (moving averages,
oscillators, directional movement, volatility, statistics and volume
indicators) over price series held in the caller's memory, through the
exported MOVLEX_* functions of the shared library libmovlex-ta-dll. Every
indicator does plain double arithmetic in one fixed order of operations, so
the same input gives the same bits on every machine.
")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libmovlex-ta-dll${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-runtime.deb)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "technical-analysis indicators with a plain C ABI (shared library)
${movlex_deb_description}
This package holds the shared library.")

set(movlex_dev_static "")
if(MOVLEX_BUILD_STATIC)
  set(movlex_dev_static ",\nthe static library libmovlex-ta-dll.a")
endif()
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libmovlex-ta-dll-dev)
set(CPACK_DEBIAN_DEV_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-dev.deb)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DESCRIPTION "technical-analysis indicators with a plain C ABI (development files)
${movlex_deb_description}
This package holds what building against the library needs: the C headers,
the link to the shared library${movlex_dev_static}, the CMake package
(find_package(movlex)) and the pkg-config file (movlex-ta-dll).")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME movlex)
set(CPACK_DEBIAN_TOOL_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-tool.deb)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION science)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "technical-analysis indicators over price data in CSV form
${movlex_deb_description}
This package holds the movlex command-line program, which reads OHLCV bars
as CSV and writes them back with one column per indicator output.")

include(CPack)
