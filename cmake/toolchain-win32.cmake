# The 32-bit reference build. SSE2 arithmetic instead of the x87 unit's extended precision, so
# display texts, audio and state blocks are the same bit for bit as the 64-bit builds'.
# 32-bit Windows keeps stacks only 4-byte aligned (hosts' threads, Windows' own callbacks), so
# every function that spills SSE values realigns its own frame.
set(OMBRIX_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# ctest runs the test programs through 32-bit Wine; where the machine cannot run 32-bit code,
# wine-run reports them skipped.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run --32)
