# ombrix-render (TOOL) with a plug-in (PROBE) that misbehaves at 22050 Hz: a crash, a hang and
# samples that are not numbers each end that render with one clear line and leave no output and
# no unfinished file; in a folder render, where each file renders in a process of its own, the
# other file still renders. Runs in a fresh FOLDER.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}/in")

function(run expected_exit expected_text)
  execute_process(COMMAND ${EMULATOR} "${TOOL}" --plugin "${PROBE}" ${ARGN}
    WORKING_DIRECTORY "${FOLDER}" RESULT_VARIABLE exit_code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  if(NOT exit_code STREQUAL "${expected_exit}")
    message(FATAL_ERROR "exit status ${exit_code}, expected ${expected_exit}")
  endif()
  if(NOT "${out}${err}" MATCHES "${expected_text}")
    message(FATAL_ERROR "output lacks \"${expected_text}\"")
  endif()
endfunction()

function(expect_only expected)
  file(GLOB_RECURSE present RELATIVE "${FOLDER}" "${FOLDER}/*")
  list(SORT present)
  if(NOT "${present}" STREQUAL "${expected}")
    message(FATAL_ERROR "files: ${present}, expected ${expected}")
  endif()
endfunction()

foreach(rate 22050 44100)
  execute_process(COMMAND ${EMULATOR} "${TOOL}" --generate chord --seconds 0.5 --rate ${rate}
    in/${rate}.wav WORKING_DIRECTORY "${FOLDER}" RESULT_VARIABLE setup_exit)
  if(NOT setup_exit EQUAL 0)
    message(FATAL_ERROR "generating the ${rate} Hz file failed")
  endif()
endforeach()

run(1 "Misbehaving crashed \\((segmentation fault|access violation)\\) while rendering in/22050.wav; nothing was written"
  --param-norm Misbehave=0.6 in/22050.wav out.wav)
run(1 "Misbehaving stopped responding \\(no block finished in 1 s\\) while rendering"
  --param-norm Misbehave=0.9 --hang-seconds 1 in/22050.wav out.wav)
run(1 "Misbehaving wrote samples that are not numbers"
  --param-norm Misbehave=0.3 in/22050.wav out.wav)
expect_only("in/22050.wav;in/44100.wav")
run(1 "total: 1 of 2 files rendered, 1 failed"
  --param-norm Misbehave=0.3 -O wet in/22050.wav in/44100.wav)
expect_only("in/22050.wav;in/44100.wav;wet/44100.wav")
file(REMOVE_RECURSE "${FOLDER}/wet")
# The report comes first, the errors after it.
run(1 "total: 1 of 2 files rendered, 1 failed.*crashed \\((segmentation fault|access violation)\\) while rendering in/22050.wav"
  --param-norm Misbehave=0.6 -O wet in/22050.wav in/44100.wav)
expect_only("in/22050.wav;in/44100.wav;wet/44100.wav")
