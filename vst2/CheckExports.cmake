# Fails the build when the plug-in module does not export both entry points a host looks for,
# and the editor picture function.
# Run with -DOBJDUMP=<objdump of the toolchain> -DMODULE=<Ombrix.dll>.
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${MODULE}")
endif()
string(FIND "${headers}" "[Ordinal/Name Pointer] Table" tableStart)
if(tableStart EQUAL -1)
  message(FATAL_ERROR "${MODULE} has no export table")
endif()
string(SUBSTRING "${headers}" ${tableStart} -1 exportTable)
foreach(symbol VSTPluginMain main OmbrixEditorSnapshot)
  if(NOT exportTable MATCHES "\\] ${symbol}\n")
    message(FATAL_ERROR "${MODULE} does not export ${symbol}")
  endif()
endforeach()
