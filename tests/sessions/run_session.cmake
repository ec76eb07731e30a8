# Runs one play script that is meant to stop, and checks how: the program's exit status, and the
# reason it gives on standard error.
#   cmake -DTAVRIN=path -DSCRIPT=path -DDATA_DIR=path -DEXPECTED_STATUS=N
#         [-DEXPECTED_ERROR=text] -P run_session.cmake
execute_process(
  COMMAND ${TAVRIN} --play ${SCRIPT} --data-dir ${DATA_DIR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE transcript
  ERROR_VARIABLE reason)
if(NOT status STREQUAL EXPECTED_STATUS)
  message(FATAL_ERROR
    "exit status ${status}, expected ${EXPECTED_STATUS}\n"
    "transcript:\n${transcript}\nstandard error:\n${reason}")
endif()
if(DEFINED EXPECTED_ERROR)
  string(FIND "${reason}" "${EXPECTED_ERROR}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR
      "standard error does not say \"${EXPECTED_ERROR}\":\n${reason}\ntranscript:\n${transcript}")
  endif()
endif()
message("${transcript}")
