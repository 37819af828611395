#include "jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <new>
#include <stdexcept>

#include <jpeglib.h>

#include "core/textfile.h"

namespace kvapp {

namespace {
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// An error of ours, reported as libjpeg's are, with its message already in
// err.message. No object with a destructor may be alive in the caller's
// expression: the jump skips it.
[[noreturn]] void Fail(ErrorManager& err) { std::longjmp(err.jump, 1); }

}  // namespace

QImage LoadJpeg(const std::string& path) {
  // Read whole and bounded: a FIFO or /dev/zero in its place is refused.
  const std::string bytes = kv::ReadFileBytes(path, kv::kPictureFileLimit);

  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  // Everything the jump may skip is declared before it and trivially destroyed.
  QImage* volatile result = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete result;
    throw std::runtime_error("Не удаётся прочитать картинку «" + path + "»: " + err.message);
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&cinfo);
  const unsigned w = cinfo.output_width, h = cinfo.output_height;
  if (w > kMaxPictureSide || h > kMaxPictureSide || std::uint64_t{w} * h > kMaxPicturePixels) {
    std::snprintf(err.message, sizeof err.message,
                  "%u x %u точек, больше %u по стороне или %u мегапикселей", w, h, kMaxPictureSide,
                  static_cast<unsigned>(kMaxPicturePixels >> 20));
    Fail(err);
  }
  jpeg_start_decompress(&cinfo);
  result =
      new (std::nothrow) QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB888);
  if (!result || result->isNull()) {
    std::snprintf(err.message, sizeof err.message, "не хватает памяти на %u x %u точек", w, h);
    Fail(err);
  }
  while (cinfo.output_scanline < h) {
    JSAMPROW row = result->scanLine(static_cast<int>(cinfo.output_scanline));
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
      std::snprintf(err.message, sizeof err.message, "строка точек не читается");
      Fail(err);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  QImage out = std::move(*result);
  delete result;
  return out;
}

QImage LoadBackground(const std::string& path, double ratio) {
  if (ratio <= 1) return LoadJpeg(path);
  const std::string::size_type dot = path.rfind('.');
  const std::string sharp =
      path.substr(0, dot) + "@2x" + (dot == std::string::npos ? "" : path.substr(dot));
  if (!kv::FileExists(sharp)) return LoadJpeg(path);
  QImage image = LoadJpeg(sharp);
  if (ratio != 2)
    image = image.scaled((QSizeF(image.size()) * ratio / 2).toSize(), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
  image.setDevicePixelRatio(ratio);
  return image;
}

}  // namespace kvapp
