// web_assets.h - the files of the recorder's web page (recorder/web/), built
// into the program by the build.
#pragma once

#include <cstddef>

struct WebAsset {
  const char* path;  // "/index.html"
  const char* type;  // MIME type
  const unsigned char* data;
  size_t size;
};

extern const WebAsset kWebAssets[];
extern const size_t kWebAssetCount;
