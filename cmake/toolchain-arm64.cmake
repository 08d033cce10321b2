# 64-bit ARM Linux (aarch64) with Debian's cross compiler (g++-aarch64-linux-gnu). The C and C++
# libraries come with the compiler in /usr/aarch64-linux-gnu; what the build links besides
# (libpng, zlib, Xlib, XTest, lilv, LV2's headers) is Debian's arm64 packages unpacked by
# scripts/setup into .deps/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(OMBRIX_ARM64_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.deps/aarch64-linux-gnu)
cmake_path(NORMAL_PATH OMBRIX_ARM64_ROOT)
if(NOT EXISTS ${OMBRIX_ARM64_ROOT}/.unpacked)
  message(FATAL_ERROR "The arm64 libraries are missing from ${OMBRIX_ARM64_ROOT}: run scripts/setup (as root) first")
endif()
set(OMBRIX_ARM64_LIBS ${OMBRIX_ARM64_ROOT}/usr/lib/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu ${OMBRIX_ARM64_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config (lilv for the LV2 tests) reads the unpacked packages' files, not the machine's.
set(ENV{PKG_CONFIG_LIBDIR} ${OMBRIX_ARM64_LIBS}/pkgconfig:${OMBRIX_ARM64_ROOT}/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${OMBRIX_ARM64_ROOT})
unset(ENV{PKG_CONFIG_PATH})

# No fused multiply-add: GCC would contract a * b + c into one instruction on arm64 (x86 has
# none in the baseline), and display texts, audio and state blocks would no longer be the x86
# builds' bit for bit.
set(CMAKE_C_FLAGS_INIT "-ffp-contract=off")
set(CMAKE_CXX_FLAGS_INIT "-ffp-contract=off")
# The unpacked libraries need each other (libX11 needs libxcb) when programs are linked.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-Wl,-rpath-link,${OMBRIX_ARM64_LIBS}")
endforeach()

# ctest runs the arm64 test programs, and the build runs the program that writes the LV2 bundle's
# turtle files, under user-mode emulation (Debian qemu-user-static): the C library from the
# cross compiler's folder, the unpacked libraries from the library path.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static -L /usr/aarch64-linux-gnu
    -E LD_LIBRARY_PATH=${OMBRIX_ARM64_LIBS})
