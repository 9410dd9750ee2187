# SPDX-License-Identifier: MIT
# Man pages made at build time by help2man from the programs' --help and --version, with the
# extra sections of packaging/*.h2m, compressed as Debian installs them. Without help2man the
# build goes on without them.
find_program(VELMAR_HELP2MAN help2man)
find_program(VELMAR_GZIP gzip)
if(NOT VELMAR_HELP2MAN OR NOT VELMAR_GZIP)
  message(STATUS "help2man or gzip not found: no man pages")
  return()
endif()

function(velmar_man_page target component)
  set(page ${PROJECT_BINARY_DIR}/man/${target}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${VELMAR_HELP2MAN} --no-info --no-discard-stderr --section=1
            --include=${PROJECT_SOURCE_DIR}/packaging/${target}.h2m --output=${page}
            $<TARGET_FILE:${target}>
    COMMAND ${VELMAR_GZIP} -9nf -k ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/packaging/${target}.h2m
    COMMENT "Man page ${target}.1"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

velmar_man_page(velmar2tmx-cli cli)
if(VELMAR_BUILD_UI)
  velmar_man_page(velmar2tmx desktop)
endif()
