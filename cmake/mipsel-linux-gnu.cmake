# Cross build for the recorder's CPU: MIPS32, little-endian, Linux.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR mips)
set(CMAKE_C_COMPILER mipsel-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER mipsel-linux-gnu-g++)
set(CMAKE_C_FLAGS_INIT "-march=mips32 -EL")
set(CMAKE_CXX_FLAGS_INIT "-march=mips32 -EL")
# PVR_MIPS_SYSROOT holds target builds of libraries the toolchain lacks
# (libpng, libjpeg-turbo, zlib), unpacked from Debian's mipsel packages.
set(CMAKE_FIND_ROOT_PATH /usr/mipsel-linux-gnu ${PVR_MIPS_SYSROOT})
if(PVR_MIPS_SYSROOT)
  set(CMAKE_LIBRARY_PATH ${PVR_MIPS_SYSROOT}/usr/lib/mipsel-linux-gnu)
  set(CMAKE_INCLUDE_PATH ${PVR_MIPS_SYSROOT}/usr/include ${PVR_MIPS_SYSROOT}/usr/include/mipsel-linux-gnu)
  # Shared libraries of the sysroot find each other (libpng needs zlib) at link
  # time and, under qemu-mipsel, at run time.
  set(_pvr_libdirs ${PVR_MIPS_SYSROOT}/usr/lib/mipsel-linux-gnu ${PVR_MIPS_SYSROOT}/lib/mipsel-linux-gnu)
  foreach(_d ${_pvr_libdirs})
    string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--disable-new-dtags -Wl,-rpath-link,${_d} -Wl,-rpath,${_d}")
    string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,--disable-new-dtags -Wl,-rpath-link,${_d} -Wl,-rpath,${_d}")
    string(APPEND CMAKE_MODULE_LINKER_FLAGS_INIT " -Wl,-rpath-link,${_d}")
  endforeach()
  # jconfig.h and friends sit in the multiarch folder.
  set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${PVR_MIPS_SYSROOT}/usr/include/mipsel-linux-gnu)
  set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${PVR_MIPS_SYSROOT}/usr/include/mipsel-linux-gnu)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run under user-mode emulation with the cross toolchain's libraries.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-mipsel -L /usr/mipsel-linux-gnu)
