// The lunar day descriptions as anyone may have edited them: the block
// lookup of any bytes, then the line ends of what it copied.
#include <cstdlib>
#include <string>

#include "core/text.h"
#include "core/textfile.h"
#include "lunar/daytext.h"
#include "scratch.h"

namespace {
// Every CR followed by exactly one LF, and no other LF.
bool LineEndsFixed(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n')) return false;
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kvfuzz::Input in{data, size};
  std::int32_t keys[7];
  for (std::int32_t& k : keys) k = in.Take(32, 0);
  const std::string dir = kvfuzz::ScratchDir();
  const std::string source = dir + "DayMoon.doc", output = dir + "TmpFile2.tmp";
  kvfuzz::WriteFile(source, in.data, in.size);
  kvfuzz::WriteFile(output, nullptr, 0);
  std::size_t reported = 0;
  try {
    kv::W_find3(source, output, keys[0], keys[1], keys[2], keys[3], keys[4], keys[5], keys[6],
                [&](const std::string& m) { reported += m.size(); });
  } catch (const kv::ConvertError&) {
    return 0;  // a marker field that is not a number
  }
  // What was copied is no bigger than the source with each of its line ends
  // (a bare CR or LF) made CR LF, plus the line end after a block.
  const std::string copied = kv::ReadFileBytes(output);
  if (copied.size() > 2 * in.size + 2) std::abort();
  kv::FixLineBreaks(dir, output);
  if (!LineEndsFixed(kv::ReadFileBytes(output))) std::abort();
  kv::FixLineBreaks(dir, source);
  if (!LineEndsFixed(kv::ReadFileBytes(source))) std::abort();
  return 0;
}
