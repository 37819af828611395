// The degree text base as anyone may have edited it: any bytes, any key.
#include <cstdlib>
#include <string>

#include "core/text.h"
#include "core/textfile.h"
#include "degrees/degree_text.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kvfuzz::Input in{data, size};
  const std::int32_t key = in.Take(256, 0) + in.Take(2, 0) * 256 - 80;  // -80..431
  const std::string base = kvfuzz::ScratchDir() + "gradus.txt";
  kvfuzz::WriteFile(base, in.data, in.size);
  std::string text = "untouched";
  try {
    kv::FindDegreeText(base, key, text);
  } catch (const kv::ConvertError&) {
    return 0;  // a header with a key that is not a number
  }
  // A paragraph is one line: it never holds a line end of its own.
  if (text != "untouched" && text.find('\n') != std::string::npos) std::abort();
  return 0;
}
