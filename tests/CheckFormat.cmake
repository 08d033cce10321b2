# Fails when any C++ source under SOURCE_DIR's code folders differs from what CLANG_FORMAT
# makes of it with the repository's .clang-format.
set(sources)
foreach(folder platform plugin vst2 effect editor raster resources tools fuzz bench tests)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  list(APPEND sources ${found})
endforeach()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror ${sources}
  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status ERROR_VARIABLE complaints)
list(LENGTH sources count)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${complaints}\nsources that differ from clang-format's layout (of ${count})")
endif()
message("${count} sources follow .clang-format")
