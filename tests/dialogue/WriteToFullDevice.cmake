# The program writing to a device that is always full: it must end with status 1 and say
# why on standard error, whatever it was asked to write. Arguments: PROGRAM, and ARGUMENTS
# (a list, optional).
execute_process(COMMAND "${PROGRAM}" ${ARGUMENTS}
                INPUT_FILE "${CMAKE_CURRENT_LIST_DIR}/../golden/simple.in"
                OUTPUT_FILE /dev/full
                ERROR_VARIABLE message
                RESULT_VARIABLE status)
set(expected "intcalc: cannot write to standard output: No space left on device\n")
if(NOT status STREQUAL "1" OR NOT message STREQUAL expected)
  message(FATAL_ERROR "status '${status}', standard error '${message}'")
endif()
