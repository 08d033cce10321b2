# 32-bit Wine cannot start on this kernel: this build is compiled and inspected, never run.
set(OMBRIX_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
