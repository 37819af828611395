#include "jpeg.h"

#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include <jpeglib.h>

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

// An error of ours, reported as libjpeg's are. No object with a destructor
// may be alive in the caller's expression: the jump skips it.
[[noreturn]] __attribute__((format(printf, 2, 3))) void Fail(ErrorManager& err, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  // The analyzer loses the va_start above in some configurations.
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
  std::vsnprintf(err.message, sizeof err.message, format, args);
  va_end(args);
  std::longjmp(err.jump, 1);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

QImage LoadJpeg(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error("Cannot open file \"" + path + "\"");

  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  // Everything the jump may skip is declared before it and trivially destroyed.
  QImage* volatile result = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete result;
    throw std::runtime_error("Cannot decode picture \"" + path + "\": " + err.message);
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file.get());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&cinfo);
  const unsigned w = cinfo.output_width, h = cinfo.output_height;
  if (w > kMaxPictureSide || h > kMaxPictureSide || std::uint64_t{w} * h > kMaxPicturePixels)
    Fail(err, "%u x %u pixels, more than %u a side or %u megapixels", w, h, kMaxPictureSide,
         static_cast<unsigned>(kMaxPicturePixels >> 20));
  jpeg_start_decompress(&cinfo);
  result = new (std::nothrow) QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB888);
  if (!result || result->isNull())
    Fail(err, "not enough memory for %u x %u pixels", w, h);
  while (cinfo.output_scanline < h) {
    JSAMPROW row = result->scanLine(static_cast<int>(cinfo.output_scanline));
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) Fail(err, "a row could not be read");
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  QImage out = std::move(*result);
  delete result;
  return out;
}

}  // namespace kvapp
