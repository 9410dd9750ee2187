# SPDX-License-Identifier: MIT
# Installed documentation and metadata, and the Debian packages made by `cpack -G DEB`:
# velmar2tmx-cli (component cli: the command line) and velmar2tmx (component desktop:
# the Qt tool). Dependencies come from dpkg-shlibdeps. scripts/package.sh builds both.
include(${PROJECT_SOURCE_DIR}/cmake/ManPages.cmake)

# The licence (Debian's name for it: copyright) and the changelog in each package's doc folder.
find_program(VELMAR_GZIP gzip)
set(VELMAR_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${VELMAR_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND sh -c "${VELMAR_GZIP} -9n < '${PROJECT_SOURCE_DIR}/CHANGELOG.md' > '${VELMAR_CHANGELOG_GZ}'"
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  VERBATIM)
add_custom_target(velmar-changelog ALL DEPENDS ${VELMAR_CHANGELOG_GZ})

set(VELMAR_PACKAGE_COMPONENTS cli)
if(VELMAR_BUILD_UI)
  list(APPEND VELMAR_PACKAGE_COMPONENTS desktop)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/com.norvane.velmar2tmx.metainfo.xml
                 ${PROJECT_BINARY_DIR}/com.norvane.velmar2tmx.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/com.norvane.velmar2tmx.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
endif()
foreach(component ${VELMAR_PACKAGE_COMPONENTS})
  if(component STREQUAL "cli")
    set(package velmar2tmx-cli)
  else()
    set(package velmar2tmx)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          RENAME copyright COMPONENT ${component})
  install(FILES ${VELMAR_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmar2tmx)
set(CPACK_PACKAGE_VENDOR "Norvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Norvane <velmar2tmx@norvane.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.norvane.example/velmar2tmx/")
# Each package's description below starts with its own summary line.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL ${VELMAR_PACKAGE_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Norvane <velmar2tmx@norvane.example>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPACK_PACKAGE_HOMEPAGE_URL})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME velmar2tmx-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION text)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "Velmar Vovuzaduz TXT to TMX 1.4 converter (command line)
velmar2tmx-cli converts a translation memory exported as a Velmar Vovuzaduz
TXT file into a TMX 1.4 document, the open exchange format that translation
tools read. Fields become properties, dates and users attributes, and RTF
formatting becomes TMX inline elements keeping the original code. The output
is UTF-8 or UTF-16 and valid against the TMX 1.4 DTD.")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME velmar2tmx)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION text)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "Velmar Vovuzaduz TXT to TMX 1.4 converter (desktop tool)
velmar2tmx is a Qt dialog that converts a translation memory exported as a
Velmar Vovuzaduz TXT file into a TMX 1.4 document: choose or drop the file,
pick the source and target language from those the file holds, and write
the TMX file. The command-line converter is in the package velmar2tmx-cli.")

include(CPack)
