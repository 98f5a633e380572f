# Renders the man page as man -l does, with every warning on; any warning fails. At every
# width from 60 to 100 columns no line may end in a word or an option broken by a hyphen.
# Arguments: MAN, PAGE, VERSION (which the page's header must name).
execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 LC_ALL=C "${MAN}" --warnings -l "${PAGE}"
                OUTPUT_VARIABLE text ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l: status ${status}\n${warnings}")
endif()
foreach(section NAME SYNOPSIS DESCRIPTION INPUT LIMITS "LINE EDITING" OPTIONS TRACE
        "EXIT STATUS" CAVEATS EXAMPLES)
  string(FIND "${text}" "\n${section}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the rendered page has no ${section} section")
  endif()
endforeach()

foreach(width RANGE 60 100)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=${width} LC_ALL=C "${MAN}" -l "${PAGE}"
                  OUTPUT_VARIABLE text)
  string(REGEX MATCH "[A-Za-z]-\n|[^-\n]--\n" broken "${text}")
  if(broken)
    message(FATAL_ERROR "at ${width} columns a line ends in a broken word: '${broken}'")
  endif()
endforeach()

file(STRINGS "${PAGE}" header REGEX "^\\.TH ")
if(NOT header MATCHES "\"intcalc ${VERSION}\"")
  message(FATAL_ERROR "the page's header names another version than ${VERSION}: ${header}")
endif()
