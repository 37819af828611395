#include "core/text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "core/textfile.h"

using namespace kv;

namespace {
// What fsync was called on, by the names of the files at the time.
std::vector<std::string> synced;
}  // namespace

// Takes the place of the C library's for the code under test.
extern "C" int fsync(int fd) {
  char link[64], name[PATH_MAX];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, name, sizeof name);
  synced.emplace_back(name, n > 0 ? static_cast<std::size_t>(n) : 0);
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

TEST(StrToIntTest, AcceptsWhatTheControlsHold) {
  EXPECT_EQ(StrToInt("1985"), 1985);
  EXPECT_EQ(StrToInt("-2000"), -2000);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("  15"), 15);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToIntTest, RejectsWithTheUsersText) {
  for (const char* bad : {"", "-", "+", "  ", "1 ", "1.5", "12a", "0x10", "2147483648",
                          "-2147483649", "99999999999999999999", "1 2"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

TEST(Cp1251Test, RoundTripAndBytes) {
  const std::string ru = "Рассчитать! Ёё №";
  const std::string b = ToCp1251(ru);
  EXPECT_EQ(b, "\xD0\xE0\xF1\xF1\xF7\xE8\xF2\xE0\xF2\xFC! \xA8\xB8 \xB9");
  EXPECT_EQ(FromCp1251(b), ru);
  EXPECT_TRUE(EncodableInCp1251(U'Ж'));
  EXPECT_TRUE(EncodableInCp1251(U'\u2019'));
  EXPECT_FALSE(EncodableInCp1251(U'\u4E2D'));
  EXPECT_FALSE(EncodableInCp1251(U'\U0001F600'));
}

TEST(FieldTest, RightAlignedOrWhole) {
  EXPECT_EQ(Field(-5, 4), "  -5");
  EXPECT_EQ(Field(-120, 4), "-120");
  EXPECT_EQ(Field(12345, 4), "12345");
  EXPECT_EQ(Field(1980, 5), " 1980");
}

TEST(TextWriterTest, WritesCrLfAndNamesTheFileOnFailure) {
  const auto dir = std::filesystem::temp_directory_path() / "kv_textwriter_test";
  std::filesystem::create_directories(dir);
  const std::string p = (dir / "a.txt").string();
  {
    TextWriter w(p);
    w.WriteLine("one");
    w.WriteLine();
    w.Close();
  }
  {
    TextWriter w(p, TextWriter::Mode::Append);
    w.Write("two");
    w.Close();
  }
  EXPECT_EQ(ReadFileBytes(p), "one\r\n\r\ntwo");
  const std::string missing = (dir / "no-such-dir" / "b.txt").string();
  try {
    TextWriter w(missing);
    ADD_FAILURE();
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
  }
  EXPECT_THROW(ReadFileBytes(missing), FileError);
  std::filesystem::remove_all(dir);
}

TEST(TextWriterTest, OnTheDiskBeforeItReplacesTheOldFile) {
  const std::string p = (std::filesystem::temp_directory_path() / "kv_sync.txt").string();
  synced.clear();
  TextWriter w(p);
  w.Close();
  // The file under its fresh name, then the folder that now holds it.
  ASSERT_EQ(synced.size(), 2u);
  EXPECT_TRUE(synced[0].starts_with(p + ".part-")) << synced[0];
  EXPECT_EQ(synced[1], std::filesystem::temp_directory_path().string());
  std::filesystem::remove(p);
}

namespace {
// The message ReadFileBytes refuses a file with.
std::string Refusal(const std::string& path, std::uint64_t limit = kTextFileLimit) {
  try {
    ReadFileBytes(path, limit);
  } catch (const FileError& e) {
    return e.what();
  }
  return "(read)";
}
}  // namespace

TEST(InputFileTest, OnlyRegularFilesAreReadAndNeverPastTheLimit) {
  const std::string p = (std::filesystem::temp_directory_path() / "kv_input").string();
  ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);  // no writer: reading it would wait forever
  EXPECT_EQ(Refusal(p), "Не удаётся открыть файл «" + p + "»: это канал (FIFO), а не обычный файл");
  std::filesystem::remove(p);
  std::filesystem::create_symlink("/dev/zero", p);
  EXPECT_NE(Refusal(p).find("это устройство"), std::string::npos);
  std::filesystem::remove(p);
  // A sparse file is refused by its size, a /proc file (size 0) at the limit.
  TextWriter(p).Close();
  std::filesystem::resize_file(p, kTextFileLimit + 1);
  EXPECT_NE(Refusal(p).find("больше 16 МБ"), std::string::npos);
  EXPECT_NE(Refusal("/proc/self/maps", 10).find("больше 10 байт"), std::string::npos);
  std::filesystem::remove(p);
}
