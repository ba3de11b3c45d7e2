// BMP pictures come from the user's "signals" folder: any bytes must decode or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "chart/image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  vorelin::RgbImage image;
  if (vorelin::DecodeBmp(bytes, &image)) {
    if (image.bgr.size() != static_cast<size_t>(image.width) * image.height * 3) __builtin_trap();
  }
  return 0;
}
