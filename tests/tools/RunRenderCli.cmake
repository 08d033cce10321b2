# Runs ombrix-render (through the emulator for Windows builds) with ARGUMENTS in a fresh FOLDER
# and checks its exit status and that EXPECTED_TEXT (a regular expression) appears in its
# output. SETUP, when given, is run first and must succeed.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
if(SETUP)
  execute_process(COMMAND ${EMULATOR} "${TOOL}" ${SETUP}
    WORKING_DIRECTORY "${FOLDER}" RESULT_VARIABLE setup_exit)
  if(NOT setup_exit EQUAL 0)
    message(FATAL_ERROR "set-up run failed with ${setup_exit}")
  endif()
endif()
execute_process(COMMAND ${EMULATOR} "${TOOL}" ${ARGUMENTS}
  WORKING_DIRECTORY "${FOLDER}"
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT exit_code STREQUAL "${EXPECTED_EXIT}")
  message(FATAL_ERROR "exit status ${exit_code}, expected ${EXPECTED_EXIT}")
endif()
if(NOT "${out}${err}" MATCHES "${EXPECTED_TEXT}")
  message(FATAL_ERROR "output lacks \"${EXPECTED_TEXT}\"")
endif()
