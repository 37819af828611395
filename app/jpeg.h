// The background picture, decoded with libjpeg.
#pragma once

#include <QImage>
#include <string>

namespace kvapp {

// Throws std::runtime_error for a file that cannot be read or decoded.
QImage LoadJpeg(const std::string& path);

}  // namespace kvapp
