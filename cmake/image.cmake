# Images for the recorder (PVR_UCLIBC, cmake/mipsel-uclibc.cmake): linked
# against uClibc-ng alone, with libgcc's helpers inside and no C++ runtime,
# then stripped. Each image is also linked a second time from the same objects
# with --no-undefined against a stub of the firmware API (libtap.so, made from
# tap.h): a call that neither the firmware nor the C library offers is then a
# link error, not a failure on the box. The image itself does not name the
# stub: the firmware's program provides the TAP_ calls.

if(PVR_UCLIBC)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(_stub_dir ${CMAKE_BINARY_DIR}/tapstub)
  add_custom_command(
    OUTPUT ${_stub_dir}/tapstub.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_stub_dir}
    COMMAND ${CMAKE_C_COMPILER} ${PVR_UCLIBC_INCLUDE_FLAGS} -E -P -x c
            -I${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/include/tap.h -o ${_stub_dir}/tap.i
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/image/tap-stubs.py ${_stub_dir}/tap.i
            ${_stub_dir}/tapstub.c
    DEPENDS ${CMAKE_SOURCE_DIR}/include/tap.h ${CMAKE_SOURCE_DIR}/include/tap_keys.h
            ${CMAKE_SOURCE_DIR}/tools/image/tap-stubs.py
    COMMENT "Generating the firmware API stub from tap.h"
    VERBATIM)
  add_library(tap SHARED ${_stub_dir}/tapstub.c)
  target_link_options(tap PRIVATE -nostdlib)
  set_target_properties(tap PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${_stub_dir})
endif()

# pvr_image(TARGET SOURCES... [LIBRARIES libs...]): finishes the loadable
# image TARGET, built from SOURCES and linked with LIBRARIES.
function(pvr_image target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  # The image's calls among its own functions and globals stay inside it,
  # also when the program that loads it has symbols of the same names (a
  # test program linking the application).
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic)
  if(NOT PVR_UCLIBC)
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} ${CMAKE_DL_LIBS})
    return()
  endif()
  # No start files either: the cross compiler's are glibc's, and the image
  # needs none (it has no static constructors; check-image.sh makes sure).
  set(_libs ${ARG_LIBRARIES} c gcc)
  set(_link -nostdlib -L${CMAKE_SYSROOT}/usr/lib -L${CMAKE_SYSROOT}/lib)
  target_link_options(${target} PRIVATE ${_link})
  target_link_libraries(${target} PRIVATE ${_libs})
  add_custom_command(TARGET ${target} POST_BUILD COMMAND ${CMAKE_STRIP} $<TARGET_FILE:${target}>
                     VERBATIM)
  add_library(${target}_linkcheck MODULE ${ARG_SOURCES})
  target_link_options(${target}_linkcheck PRIVATE -Wl,-Bsymbolic ${_link} -Wl,--no-undefined)
  target_link_libraries(${target}_linkcheck PRIVATE ${_libs} tap)
  set_target_properties(${target}_linkcheck PROPERTIES LIBRARY_OUTPUT_DIRECTORY
                        ${CMAKE_BINARY_DIR}/linkcheck)
  add_dependencies(${target} ${target}_linkcheck)
endfunction()

# The image host (tools/image/taphost.c): the program that runs these images
# under qemu-mipsel with uClibc-ng's own loader against the emulated recorder.
# A plain C program on uClibc-ng's start files; it exports the firmware's
# calls and internals to the images it loads.
if(PVR_UCLIBC)
  add_executable(taphost ${CMAKE_SOURCE_DIR}/tools/image/taphost.c)
  target_include_directories(taphost PRIVATE ${CMAKE_SOURCE_DIR}/include
                                             ${CMAKE_SOURCE_DIR}/firmware)
  target_compile_options(taphost PRIVATE -fno-stack-protector -U_FORTIFY_SOURCE)
  target_link_options(taphost PRIVATE -nostdlib -no-pie -Wl,-E
                      -Wl,--dynamic-linker=/lib/ld-uClibc.so.0 ${CMAKE_SYSROOT}/usr/lib/crt1.o
                      ${CMAKE_SYSROOT}/usr/lib/crti.o -L${CMAKE_SYSROOT}/usr/lib
                      -L${CMAKE_SYSROOT}/lib)
  target_link_libraries(taphost PRIVATE c gcc ${CMAKE_SYSROOT}/usr/lib/crtn.o)
  set_target_properties(taphost PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
