// The background picture as anyone may have replaced it: whatever libjpeg
// makes of any bytes, within the bounds the window takes.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/jpeg.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = kvfuzz::ScratchDir() + "moon.jpg";
  kvfuzz::WriteFile(path, data, size);
  try {
    const QImage img = kvapp::LoadJpeg(path);
    const auto w = static_cast<std::uint64_t>(img.width()),
               h = static_cast<std::uint64_t>(img.height());
    if (img.isNull() || w > kvapp::kMaxPictureSide || h > kvapp::kMaxPictureSide ||
        w * h > kvapp::kMaxPicturePixels)
      std::abort();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
