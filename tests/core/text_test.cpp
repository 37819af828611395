#include "core/text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "core/textfile.h"

using namespace kv;

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

namespace {
namespace fs = std::filesystem;

// A folder of the test's own holding place.txt with the given bytes.
fs::path PlaceIn(const char* name, const std::string& bytes) {
  const fs::path dir = fs::temp_directory_path() / (name + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir / "place.txt", std::ios::binary) << bytes;
  return dir;
}
}  // namespace

TEST(TextWriterTest, ThePlaceIsReplacedWholeAndALinkInItIsNotFollowed) {
  const fs::path dir = PlaceIn("kv_link_", "precious"), place = dir / "link.txt";
  fs::create_symlink(dir / "place.txt", place);
  {
    TextWriter w(place.string(), TextWriter::Mode::Append);  // reads through the link
    w.Write("+more");
    w.Close();
  }
  EXPECT_FALSE(fs::is_symlink(place));
  EXPECT_EQ(ReadFileBytes(place.string()), "precious+more");
  EXPECT_EQ(ReadFileBytes((dir / "place.txt").string()), "precious");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(fs::status(place).permissions(), static_cast<fs::perms>(0666 & ~mask));
  {
    TextWriter w(place.string());
    w.Write("abandoned");  // never closed
  }
  EXPECT_EQ(ReadFileBytes(place.string()), "precious+more");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
  fs::remove_all(dir);
}

TEST(TextWriterTest, ASignalMidWriteLeavesThePreviousFileAndNoPart) {
  const fs::path dir = PlaceIn("kv_signal_", "previous");
  const pid_t pid = ::fork();
  if (pid == 0) {
    RemovePartsOnSignals();
    TextWriter w((dir / "place.txt").string());
    w.Write("half");
    w.Flush();
    ::raise(SIGTERM);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(ReadFileBytes((dir / "place.txt").string()), "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
  fs::remove_all(dir);
}
