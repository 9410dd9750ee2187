# SPDX-License-Identifier: MIT
# The tests validate every TMX file against the project's copy of the TMX 1.4 DTD. It must be the
# published DTD byte for byte, and identical to the copy beside the checkout where there is one.
#   cmake -DDTD=tests/data/tmx14.dtd -DSHARED=../shared/tmx14.dtd -P tests/dtd_copy_check.cmake
set(expected 08449181cabc3ee37e2ced6958c4a58d3f708d087843e254fc413a2018e2e980)
if(NOT EXISTS "${DTD}")
  message(FATAL_ERROR "the TMX 1.4 DTD is missing: ${DTD}")
endif()
file(SHA256 "${DTD}" actual)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "${DTD} is not the TMX 1.4 DTD (SHA-256 ${actual}, expected ${expected})")
endif()
if(EXISTS "${SHARED}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${DTD}" "${SHARED}" RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${DTD} differs from ${SHARED}")
  endif()
  message(STATUS "${DTD} is identical to ${SHARED}")
else()
  message(STATUS "${DTD} has the SHA-256 of the TMX 1.4 DTD (no ${SHARED} to compare with)")
endif()
