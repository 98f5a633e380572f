# Runs one golden transcript: the program reads INPUT through a pipe and writes through a
# pipe; its output must equal EXPECTED byte for byte and its exit status must be 0.
# Arguments: PROGRAM, INPUT, EXPECTED, ACTUAL, and optionally EMULATOR (a list),
# ARGUMENTS (a list, for the program) and CRLF_LINES (ON where the program's own line
# end is CR LF and EXPECTED, written with LF, is to be read so).
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
  RESULTS_VARIABLE statuses)

list(GET statuses 1 programStatus)
if(NOT programStatus STREQUAL "0")
  message(FATAL_ERROR "${PROGRAM} exited with '${programStatus}' on ${INPUT}")
endif()

if(CRLF_LINES)
  file(READ "${EXPECTED}" expectedText)
  string(REPLACE "\n" "\r\n" expectedText "${expectedText}")
  set(EXPECTED "${ACTUAL}.expected")
  file(WRITE "${EXPECTED}" "${expectedText}")
endif()

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E compare_files "${ACTUAL}" "${EXPECTED}"
  RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "Output differs from ${EXPECTED}\n"
                      "Compare: cmp ${ACTUAL} ${EXPECTED}")
endif()
