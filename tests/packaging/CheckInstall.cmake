# Installs the build into a fresh prefix and checks the layout: bin/intcalc, and the man
# page in share/man/man1. Arguments: BUILD_DIR, PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/intcalc share/man/man1/intcalc.1)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/intcalc" --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^intcalc [0-9]+\\.[0-9]+\\.[0-9]+\r?\n$")
  message(FATAL_ERROR "the installed program answers --version with '${version}' (${status})")
endif()
