# Installs the build into a fresh PREFIX, as `cmake --install` does for a user, and checks that
# the installed ombrix-render, run from elsewhere, takes the installed plug-in.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE install_exit OUTPUT_QUIET)
if(NOT install_exit EQUAL 0)
  message(FATAL_ERROR "cmake --install failed with ${install_exit}")
endif()
foreach(installed bin/ombrix-render lib/vst/Ombrix.so lib/lv2/Ombrix.lv2/manifest.ttl)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "the install lacks ${installed}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/ombrix-render" --list
  WORKING_DIRECTORY "${PREFIX}"
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT exit_code EQUAL 0)
  message(FATAL_ERROR "the installed ombrix-render ended with ${exit_code}")
endif()
if(NOT out MATCHES "file: ${PREFIX}/lib/vst/Ombrix.so\n")
  message(FATAL_ERROR "the installed ombrix-render did not take the installed plug-in")
endif()
