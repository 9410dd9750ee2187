# SPDX-License-Identifier: MIT
# Release builds get the hardening Debian gives its packages by default: fortified libc calls,
# stack protector, and a fully read-only relocation table bound at start-up (PIE comes from the
# compiler's default and is asked for explicitly here as well).
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Sanitizer builds go without: fortified calls would bypass AddressSanitizer's checks.
if(NOT VELMAR_SANITIZE AND NOT WIN32)
  set(VELMAR_HARDEN_CONFIGS "$<OR:$<CONFIG:Release>,$<CONFIG:RelWithDebInfo>,$<CONFIG:MinSizeRel>>")
  add_compile_options("$<${VELMAR_HARDEN_CONFIGS}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
                      "$<${VELMAR_HARDEN_CONFIGS}:-fstack-protector-strong>")
  add_link_options("$<${VELMAR_HARDEN_CONFIGS}:LINKER:-z,relro,-z,now>")
endif()
