# Runs one golden transcript: the program reads INPUT through a pipe and writes through a
# pipe; its output must equal EXPECTED byte for byte and its exit status must be 0.
# Arguments: PROGRAM, INPUT, EXPECTED, ACTUAL, and optionally EMULATOR (a list),
# ARGUMENTS (a list, for the program), EXPECTED_ERRORS (what standard error must be, byte
# for byte), and CRLF_LINES and CRLF_ERRORS (ON where the program's own line end is CR LF
# and EXPECTED or EXPECTED_ERRORS, written with LF, is to be read so).
foreach(argument PROGRAM INPUT EXPECTED ACTUAL)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "RunGolden.cmake needs -D${argument}=...")
  endif()
endforeach()

execute_process(
  COMMAND cat "${INPUT}"
  COMMAND ${EMULATOR} "${PROGRAM}" ${ARGUMENTS}
  COMMAND cat
  OUTPUT_FILE "${ACTUAL}"
  ERROR_FILE "${ACTUAL}.errors"
  RESULTS_VARIABLE statuses)

list(GET statuses 1 programStatus)
if(NOT programStatus STREQUAL "0")
  message(FATAL_ERROR "${PROGRAM} exited with '${programStatus}' on ${INPUT}")
endif()

# ReadAsPlatform: FILE's text with CR LF for each LF, in a file beside ACTUAL; its name
# into the variable RESULT.
function(read_as_platform file result)
  file(READ "${file}" text)
  string(REPLACE "\n" "\r\n" text "${text}")
  get_filename_component(name "${file}" NAME)
  set(converted "${ACTUAL}.${name}")
  file(WRITE "${converted}" "${text}")
  set(${result} "${converted}" PARENT_SCOPE)
endfunction()

# Compare: fails unless the two files are equal byte for byte.
function(compare actual expected)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${actual}" "${expected}"
    RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "Output differs from ${expected}\n"
                        "Compare: cmp ${actual} ${expected}")
  endif()
endfunction()

if(CRLF_LINES)
  read_as_platform("${EXPECTED}" EXPECTED)
endif()
compare("${ACTUAL}" "${EXPECTED}")

if(DEFINED EXPECTED_ERRORS AND NOT EXPECTED_ERRORS STREQUAL "")
  if(CRLF_ERRORS)
    read_as_platform("${EXPECTED_ERRORS}" EXPECTED_ERRORS)
  endif()
  compare("${ACTUAL}.errors" "${EXPECTED_ERRORS}")
endif()
