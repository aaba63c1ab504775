# Turns files into a C++ source holding them as byte arrays, so that a program
# carries its web page inside (no files to find at run time).
#   cmake -DOUT=file.cpp -DROOT=dir -DFILES="a;b" -P embed-files.cmake
# The generated table is `kWebAssets` (path below ROOT with a leading "/",
# MIME type, bytes, size) of `kWebAssetCount` entries.
set(body "")
set(table "")
set(n 0)
foreach(file ${FILES})
  file(RELATIVE_PATH rel ${ROOT} ${file})
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  set(type "application/octet-stream")
  if(rel MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(rel MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  elseif(rel MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  elseif(rel MATCHES "\\.svg$")
    set(type "image/svg+xml")
  elseif(rel MATCHES "\\.png$")
    set(type "image/png")
  endif()
  string(APPEND body "const unsigned char asset${n}[] = {\n${bytes}0};\n")
  string(APPEND table "    {\"/${rel}\", \"${type}\", asset${n}, ${size}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from recorder/web/ by cmake/embed-files.cmake; do not edit.
#include <cstddef>

#include \"web_assets.h\"

namespace {
${body}}  // namespace

const WebAsset kWebAssets[] = {
${table}};
const size_t kWebAssetCount = ${n};
")
# Rewritten only when changed, so that an unchanged page rebuilds nothing.
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
file(REMOVE ${OUT}.tmp)
