# The release image for the recorder: MIPS32 little-endian against uClibc-ng,
# the recorder's C library, built by tools/image/build-uclibc.sh into
# PVR_UCLIBC_SYSROOT. Only the application image and the peers' images are
# built (PVR_TAP_ONLY).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR mips)
set(CMAKE_C_COMPILER mipsel-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER mipsel-linux-gnu-g++)
if(NOT PVR_UCLIBC_SYSROOT)
  message(FATAL_ERROR "PVR_UCLIBC_SYSROOT: the uClibc-ng build (tools/image/build-uclibc.sh)")
endif()
set(CMAKE_SYSROOT ${PVR_UCLIBC_SYSROOT})
# Debian's cross compiler searches glibc's headers and libraries before any
# sysroot: the compiler's own headers (stddef.h, stdarg.h) and uClibc-ng's
# only, and images link with -nostdlib (cmake/image.cmake).
execute_process(COMMAND mipsel-linux-gnu-gcc -print-file-name=include
                OUTPUT_VARIABLE _pvr_gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE)
set(PVR_UCLIBC_INCLUDE_FLAGS -nostdinc -isystem ${_pvr_gcc_include} -isystem
                             ${PVR_UCLIBC_SYSROOT}/usr/include)
list(JOIN PVR_UCLIBC_INCLUDE_FLAGS " " _pvr_flags)
set(CMAKE_C_FLAGS_INIT "-march=mips32 -EL ${_pvr_flags}")
set(CMAKE_CXX_FLAGS_INIT "-march=mips32 -EL ${_pvr_flags}")
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PVR_UCLIBC_SYSROOT)
# The compilers' checks link nothing: the cross toolchain's C++ runtime is
# built for glibc.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(PVR_UCLIBC ON)
