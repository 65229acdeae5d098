#pragma once
// Pictures as PNG files, for looking at what a canvas drew: 8-bit RGB without
// interlacing, every scan line unfiltered, the image data in stored (uncompressed)
// deflate blocks. No library is needed to write it and any decoder reads it.
#include <string>

#include "base/Image.h"

namespace vormix {

// The bytes of the file. System colours among the pixels are written as black.
std::string EncodePng(const TImage& image);
// Writes the file at the UTF-8 path; answers whether it was written completely.
bool WritePngFile(const std::string& path, const TImage& image);

}  // namespace vormix
