// The background picture, decoded with libjpeg.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

namespace kvapp {

// The largest picture taken: a background needs no more, and a header may
// claim 65500 x 65500 pixels (12 GB) in a few hundred bytes.
inline constexpr unsigned kMaxPictureSide = 16384;
inline constexpr std::uint64_t kMaxPicturePixels = 64u << 20;

// Throws std::runtime_error for a file that cannot be read or decoded, or a
// picture beyond the bounds above, before anything of its size is allocated.
QImage LoadJpeg(const std::string& path);

// The background picture for a screen of the given device pixel ratio. At
// ratio 1 the file itself, shown 1:1 whatever its size. Above 1, its
// double-density version NAME@2x.jpg beside it where there is one, drawn at
// twice the size (at the screen's own ratio, if that is not 2), so that it
// covers what NAME.jpg covers and stays sharp; else the file itself.
QImage LoadBackground(const std::string& path, double ratio);

}  // namespace kvapp
