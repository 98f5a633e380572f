# Installs the build into a fresh prefix, as the README says, and checks the layout:
# bin/intcalc, the man page in share/man/man1, the copyright and changelog in
# share/doc/intcalc, the bash completion in share/bash-completion/completions. Arguments: BUILD_DIR, PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" --strip
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/intcalc share/man/man1/intcalc.1.gz share/doc/intcalc/copyright
        share/doc/intcalc/changelog.gz share/bash-completion/completions/intcalc)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/intcalc" --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^intcalc [0-9]+\\.[0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "the installed program answers --version with '${version}' (${status})")
endif()
