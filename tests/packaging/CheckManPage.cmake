# Renders the man page as man -l does, with every warning on; any warning fails.
# Arguments: MAN, PAGE, VERSION (which the page's header must name).
execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 "${MAN}" --warnings -l "${PAGE}"
                OUTPUT_VARIABLE text ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l: status ${status}\n${warnings}")
endif()
foreach(section NAME SYNOPSIS DESCRIPTION "LINE EDITING" OPTIONS TRACING "EXIT STATUS" CAVEATS
        EXAMPLES)
  string(FIND "${text}" "${section}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the rendered page has no ${section} section")
  endif()
endforeach()

file(STRINGS "${PAGE}" header REGEX "^\\.TH ")
if(NOT header MATCHES "\"intcalc ${VERSION}\"")
  message(FATAL_ERROR "the page's header names another version than ${VERSION}: ${header}")
endif()
