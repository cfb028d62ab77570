# Cross build for 64-bit Windows with Debian's clang: the same MinGW-w64
# headers, libraries and libstdc++ (POSIX threads) as the GCC build, linked
# by lld. Resources still go through MinGW-w64's windres.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})

# clang does not look into Debian's versioned GCC folders (12-posix): name the
# newest POSIX-threads one for the C++ library and its support libraries.
file(GLOB VREL_MINGW_GCC_DIRS /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
if(NOT VREL_MINGW_GCC_DIRS)
  message(FATAL_ERROR "No /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix: install g++-mingw-w64-x86-64-posix")
endif()
list(SORT VREL_MINGW_GCC_DIRS COMPARE NATURAL)
list(POP_BACK VREL_MINGW_GCC_DIRS VREL_MINGW_GCC_DIR)
set(VREL_LIBSTDCXX ${VREL_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${VREL_LIBSTDCXX} -isystem ${VREL_LIBSTDCXX}/${TOOLCHAIN_PREFIX} -isystem ${VREL_LIBSTDCXX}/backward")
# The compile-only flags above reach the link line too: no warning for them.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-fuse-ld=lld -L${VREL_MINGW_GCC_DIR} -pthread -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
