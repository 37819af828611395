#include "lunar/daytext.h"

#include <sys/stat.h>

#include <random>
#include <set>

#include "lunar/lunardays.h"
#include "lunar_test_util.h"

using namespace kv;
using namespace lunartest;

namespace {
const std::string kMarker3 = "*   0   3   0   0   0   0   0\r\n";

class DayTextTest : public MainDirTest {
 protected:
  void SetUp() override {
    MainDirTest::SetUp();
    source_ = Sys("DayMoon.doc").string();
    out_ = Sys("out.txt").string();
    WriteBytes(out_, "");
  }

  // W_find3 for lunar day N on a crafted description file.
  std::string Find(const std::string& file, std::int32_t N = 3) {
    WriteBytes(source_, file);
    WriteBytes(out_, "");
    W_find3(source_, out_, 0, N, 0, 0, 0, 0, 0, Box());
    return Bytes(out_);
  }
  ErrorBox Box() {
    return [this](const std::string& m) { boxes_.push_back(m); };
  }
  std::string ErrorMessage() const { return Cp(" Ошибка в W_find3: ") + source_; }

  std::string source_, out_;
  std::vector<std::string> boxes_;
};

const std::string kThreeLines = "First line\r\nSecond line\r\nThird line\r\n@\r\n";
}  // namespace

TEST_F(DayTextTest, CopiesTheBlockWithItsBlanksAndThreeLineEnds) {
  const std::string got = Find("Heading\r\n\r\n" + kMarker3 + kThreeLines);
  // LF and the terminator keep the blank of the buffer.
  EXPECT_EQ(got, "First line\r Second line\r Third line\r  \r\n\r\n\r\n");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DayTextTest, TerminatorMayStandAnywhere) {
  EXPECT_EQ(Find(kMarker3 + "one\r\ntwo\r\nthree@ rest\r\n"), "one\r two\r three \r\n\r\n\r\n");
}

TEST_F(DayTextTest, FirstOfTwoEqualMarkersWins) {
  const std::string got = Find(kMarker3 + "A1\r\nA2\r\n@\r\n" + kMarker3 + "B1\r\nB2\r\n@\r\n");
  EXPECT_EQ(got, "A1\r A2\r  \r\n\r\n\r\n");
  // Even when the first has too few lines to be shown.
  EXPECT_EQ(Find(kMarker3 + "only one line\r\n@\r\n" + kMarker3 + "B1\r\nB2\r\n@\r\n"), "");
}

TEST_F(DayTextTest, SingleLineBlockWritesNothing) {
  EXPECT_EQ(Find(kMarker3 + "just one line\r\n@\r\n"), "");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DayTextTest, LfAndCrLineEndsReadAsCrLf) {
  const std::string crlf = Find("Heading\r\n" + kMarker3 + kThreeLines);
  ASSERT_NE(crlf, "");
  for (const char* end : {"\n", "\r"}) {
    std::string file = "Heading\r\n" + kMarker3 + kThreeLines;
    for (std::size_t at; (at = file.find("\r\n")) != std::string::npos;) file.replace(at, 2, end);
    EXPECT_EQ(Find(file), crlf) << (*end == '\n' ? "LF" : "CR");
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DayTextTest, DescriptionsThatAreAFifoAreRefused) {
  fs::remove(source_);
  ASSERT_EQ(::mkfifo(source_.c_str(), 0600), 0);
  EXPECT_THROW(W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, Box()), FileError);
}

TEST_F(DayTextTest, MarkerFieldsAndKeys) {
  // Columns 2, 6, 10, ... and anything after column 29 are not read;
  // leading zeros and blanks are fine.
  const std::string block = "x\r\ny\r\n@\r\n";
  EXPECT_EQ(Find("*a000b  3c  0d 00e  0f  0g000 trailing text\r\n" + block),
            "x\r y\r  \r\n\r\n\r\n");
  // Keys are compared in column order: day 3 is not day 3 in field 1.
  EXPECT_EQ(Find("*   3   0   0   0   0   0   0\r\n" + block), "");
  EXPECT_EQ(Find("*   0   3   0   0   0   0   1\r\n" + block), "");
  // Lines that do not begin with "*" are passed over, blocks of other days too.
  EXPECT_EQ(Find(" *   0   3   0   0   0   0   0\r\n" + block), "");
  EXPECT_EQ(Find("*   0   2   0   0   0   0   0\r\nq\r\nw\r\n@\r\n" + kMarker3 + block),
            "x\r y\r  \r\n\r\n\r\n");
  // Marker lines longer than 255 characters still work.
  EXPECT_EQ(Find("*   0   3   0   0   0   0   0" + std::string(400, '#') + "\r\n" + block),
            "x\r y\r  \r\n\r\n\r\n");
}

TEST_F(DayTextTest, NonNumericMarkerBeforeTheMatchIsAConversionError) {
  for (const char* bad : {"*   0   x   0   0   0   0   0", "*   0   1   0   0   0   0 1  ",
                          "*   0   1", "*", "*** notes ***", "*   0   1   0   0   0   0  1."}) {
    WriteBytes(source_, std::string(bad) + "\r\nq\r\nw\r\n@\r\n" + kMarker3 + "x\r\ny\r\n@\r\n");
    EXPECT_THROW(W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, Box()), ConvertError) << bad;
  }
  // The message names the field as the user would see it, the file, and
  // the line, counted over line ends of every kind.
  WriteBytes(source_, Cp("notes\r\nmore\nand\r" + kMarker3 +
                         "a\r\nb\r\n@\r\n*   0   Ж   0   0   0   0   0\r\n"));
  try {
    W_find3(source_, out_, 0, 9, 0, 0, 0, 0, 0, Box());
    ADD_FAILURE();
  } catch (const ConvertError& e) {
    EXPECT_EQ(std::string(e.what()),
              "'  Ж' is not a valid integer value в файле «" + source_ + "», строка 8");
  }
  // After the match the scan has ended: a broken marker there is harmless.
  EXPECT_EQ(Find(kMarker3 + "x\r\ny\r\n@\r\n*   0   x\r\n"), "x\r y\r  \r\n\r\n\r\n");
}

TEST_F(DayTextTest, LongestBlockThatFits) {
  // 19999 characters before the terminator fill the buffer exactly.
  std::string text = "a\r\nb\r\n";
  text += std::string(19999 - text.size(), 'z');
  const std::string got = Find(kMarker3 + text + "@");
  ASSERT_EQ(got.size(), 20000u + 6);
  EXPECT_EQ(got.substr(0, 6), "a\r b\r ");
  EXPECT_EQ(got.substr(19999), " \r\n\r\n\r\n");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DayTextTest, OversizedBlockIsReportedAndTheScanGoesOn) {
  std::string text = "abc\r\nd\r\n";
  text += std::string(20000 - text.size(), 'z');  // terminator would be the 20001st
  const std::string got = Find(kMarker3 + text + "@\r\n" + kMarker3 + "p\r\nq\r\n@\r\n");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], ErrorMessage());
  // The second block with the same marker is found. The buffer was not
  // blanked again, so its LF and terminator positions keep the characters
  // of the failed block ("c", "d" and a CR).
  EXPECT_EQ(got, "p\rcq\rd\r\r\n\r\n\r\n");
}

TEST_F(DayTextTest, BlockWithoutTerminatorIsReported) {
  EXPECT_EQ(Find(kMarker3 + "first\r\nsecond\r\nthird\r\n"), "");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], ErrorMessage());
  // Without an error box the lookup goes on all the same.
  WriteBytes(source_, kMarker3 + "first\r\nsecond\r\n");
  EXPECT_NO_THROW(W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, nullptr));
}

TEST_F(DayTextTest, EmptyOrForeignFilesWriteNothing) {
  EXPECT_EQ(Find(""), "");
  EXPECT_EQ(Find("no markers here\r\n@\r\n"), "");
  EXPECT_EQ(Find(kMarker3), "");  // marker at the very end: block without terminator
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(DayTextTest, AppendsToTheOutputFile) {
  WriteBytes(source_, kMarker3 + "x\r\ny\r\n@\r\n");
  WriteBytes(out_, "before|");
  W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, Box());
  EXPECT_EQ(Bytes(out_), "before|x\r y\r  \r\n\r\n\r\n");
}

TEST_F(DayTextTest, MissingFilesAreFileErrors) {
  WriteBytes(source_, kMarker3 + "x\r\ny\r\n@\r\n");
  fs::remove(out_);
  EXPECT_THROW(W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, Box()), FileError);
  EXPECT_FALSE(fs::exists(out_));  // must exist: not created
  WriteBytes(out_, "");
  EXPECT_THROW(W_find3(Sys("nosuch.doc").string(), out_, 0, 3, 0, 0, 0, 0, 0, Box()), FileError);
}

TEST_F(DayTextTest, OutputThatCannotBeWrittenIsAFileErrorOfTheOutput) {
  // The first block is too long; while its box is up, the output's place
  // becomes a folder, so the second block cannot be put in place.
  WriteBytes(source_, kMarker3 + std::string(30000, 'a') + "\r\n" + kMarker3 + "x\r\ny\r\n@\r\n");
  const ErrorBox box = [this](const std::string& m) {
    boxes_.push_back(m);
    fs::remove(out_);
    fs::create_directory(out_);
  };
  try {
    W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, box);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(out_), std::string::npos) << e.what();
  }
  // The source is blamed once, for its own fault.
  EXPECT_EQ(boxes_, std::vector<std::string>{ErrorMessage()});
}

TEST_F(DayTextTest, RandomBytesNeverOverrunTheBuffer) {
  // Bytes biased toward what the reader reacts to; run under the sanitizers
  // to catch a write past the buffer.
  std::mt19937 rng(20240601);
  const std::string alphabet = "*@\r\n 0123 x\x1a\xe0";
  for (int round = 0; round < 300; ++round) {
    std::string file;
    const int n = static_cast<int>(rng() % 60000);
    if (round % 3 == 0) file = kMarker3;
    for (int i = 0; i < n; ++i)
      file += rng() % 4 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() & 0xff);
    if (round % 5 == 0) file += kMarker3 + std::string(30000, 'q');
    boxes_.clear();
    WriteBytes(source_, file);
    WriteBytes(out_, "");
    try {
      W_find3(source_, out_, 0, 3, 0, 0, 0, 0, 0, Box());
    } catch (const ConvertError&) {
      continue;
    }
    EXPECT_LE(Bytes(out_).size(), kBlockBufferSize + 6) << round;
  }
}

TEST_F(DayTextTest, FixLineBreaks) {
  const std::string f = Sys("TmpFile2.tmp").string();
  const auto fix = [&](const std::string& in) {
    WriteBytes(f, in);
    FixLineBreaks(SysDir, f);
    EXPECT_FALSE(fs::exists(Sys("File_tmp_2.txt")));
    return Bytes(f);
  };
  EXPECT_EQ(fix("a\r\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(fix("a\rb\r"), "a\r\nb\r\n");
  EXPECT_EQ(fix("a\nb\n"), "ab");
  EXPECT_EQ(fix("\n\r\n\n\r\r"), "\r\n\r\n\r\n");
  EXPECT_EQ(fix("First\r Second\r  \r\n\r\n\r\n"), "First\r\n Second\r\n  \r\n\r\n\r\n");
  EXPECT_EQ(fix(""), "");  // an empty block copies to an empty file
  EXPECT_EQ(fix("x"), "x");
  EXPECT_THROW(FixLineBreaks(SysDir, Sys("nosuch.tmp").string()), FileError);

  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::string in;
    for (int i = 0, n = static_cast<int>(rng() % 3000); i < n; ++i)
      in += rng() % 3 ? static_cast<char>(rng() & 0xff) : (rng() % 2 ? '\r' : '\n');
    const std::string out = fix(in);
    std::string inNoLf, outNoLf;
    for (char c : in)
      if (c != '\n') inNoLf += c;
    for (std::size_t i = 0; i < out.size(); ++i) {
      if (out[i] == '\r') {
        ASSERT_TRUE(i + 1 < out.size() && out[i + 1] == '\n');
      }
      if (out[i] == '\n') {
        ASSERT_TRUE(i > 0 && out[i - 1] == '\r');
      } else {
        outNoLf += out[i];
      }
    }
    ASSERT_EQ(outNoLf, inNoLf);
  }
}

namespace {
class LunarDayClickTest : public DayTextTest {
 protected:
  void SetUp() override {
    DayTextTest::SetUp();
    ResetLunarDays();
    for (int k = 0; k < 30; ++k) LunarDay_Starts[k] = DayNumber(9, 1, 2008, 9, 0, 0) + k * 1.03;
    LunarDay_Count = 30;
  }
  std::string TimeLines(int N) const {
    const auto line = [](const char* label, double x) {
      std::string d, t;
      DayNumberToStrings(x, d, t);
      return Cp(label) + d + "  " + t + " GMT\r\n";
    };
    return "\r\n" + line(" Начало лунного дня    ", LunarDay_Starts[N - 1]) +
           line(" Конец лунного дня     ", LunarDay_Starts[N]) + "\r\n";
  }
};
}  // namespace

TEST_F(LunarDayClickTest, ShowsTimeLinesThenTheBlockAsMemoLines) {
  WriteBytes(source_, "Heading\r\n" + kMarker3 + kThreeLines);
  const TLunarDayText day = WriteLunarDayText(3, Box());
  EXPECT_EQ(Selected_LunarDay, 3);
  const std::string shown = Bytes(TmpFile1_Name);
  EXPECT_EQ(day.Shown(), shown);  // what the window shows is what the file keeps
  EXPECT_EQ(day.Missing(), "");
  EXPECT_EQ(shown, TimeLines(3) + "First line\r\n Second line\r\n Third line\r\n  \r\n\r\n\r\n");
  EXPECT_EQ(TimeLines(3).substr(2, 23), Cp(" Начало лунного дня    "));
  EXPECT_EQ(shown.substr(25, 12), "11.01.2008  ");
  EXPECT_EQ(Bytes(TmpFile2_Name), "First line\r\n Second line\r\n Third line\r\n  \r\n\r\n\r\n");
  EXPECT_FALSE(fs::exists(Sys("File_tmp_2.txt")));
}

TEST_F(LunarDayClickTest, DayWithoutDescriptionShowsOnlyItsTimeLines) {
  // No marker, a single-line block, a broken block: the time lines and
  // nothing else, with no error raised.
  for (const std::string& file :
       {std::string("*   0   1   0   0   0   0   0\r\nx\r\ny\r\n@\r\n"),
        kMarker3 + "one line\r\n@\r\n", kMarker3 + "no end\r\nat all\r\n"}) {
    WriteBytes(source_, file);
    TLunarDayText day;
    EXPECT_NO_THROW(day = WriteLunarDayText(3, Box()));
    EXPECT_EQ(Bytes(TmpFile1_Name), TimeLines(3));
    EXPECT_EQ(Bytes(TmpFile2_Name), "");
    // Said, naming the day and the file.
    EXPECT_EQ(day.Missing(), "Нет описания лунного дня 3 в файле «" + source_ +
                                 "»: нет строки «*   0   3   0   0   0   0   0» или после неё "
                                 "меньше двух строк текста до знака «@».");
  }
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(LunarDayClickTest, RewritesTheTemporaryFilesOnEveryClick) {
  WriteBytes(source_,
             "*   0   1   0   0   0   0   0\r\nday one\r\ntext\r\n@\r\n" + kMarker3 + kThreeLines);
  WriteLunarDayText(3, Box());
  WriteLunarDayText(1, Box());
  EXPECT_EQ(Bytes(TmpFile1_Name), TimeLines(1) + "day one\r\n text\r\n  \r\n\r\n\r\n");
  EXPECT_EQ(Selected_LunarDay, 1);
}

TEST_F(LunarDayClickTest, FailuresStopTheClick) {
  // Description file absent: the click stops before it writes anything.
  EXPECT_THROW(WriteLunarDayText(3, Box()), FileError);
  EXPECT_FALSE(fs::exists(TmpFile1_Name));
  EXPECT_FALSE(fs::exists(TmpFile2_Name));
  // A broken marker before day 3's.
  WriteBytes(source_, "*   0   1   0   0   0   0   O\r\nx\r\ny\r\n@\r\n" + kMarker3 + kThreeLines);
  EXPECT_THROW(WriteLunarDayText(3, Box()), ConvertError);
  // No system directory at all.
  fs::remove_all(Sys());
  EXPECT_THROW(WriteLunarDayText(3, Box()), FileError);
}

TEST_F(LunarDayClickTest, ShippedDescriptionsCoverEveryLunarDay) {
  ShipDescriptions();
  std::set<std::string> texts;
  for (std::int32_t N = 1; N <= 30; ++N) {
    SCOPED_TRACE(N);
    WriteLunarDayText(N, Box());
    const std::string block = Bytes(TmpFile2_Name);
    EXPECT_EQ(Bytes(TmpFile1_Name), TimeLines(N) + block);
    const auto shown = CrLfLines(block);
    // Five to ten text lines, then the line of two blanks and two empty ones.
    ASSERT_GE(shown.size(), 5u + 3);
    EXPECT_LE(shown.size(), 10u + 3);
    EXPECT_EQ(shown[shown.size() - 3], "  ");
    for (std::size_t i = 0; i + 3 < shown.size(); ++i) {
      EXPECT_GT(shown[i].size(), 20u) << i;
      EXPECT_EQ(shown[i][0] == ' ', i > 0) << i;  // CR LF blocks: blank after each line end
    }
    EXPECT_TRUE(texts.insert(block).second) << "same text as another day";
  }
  EXPECT_TRUE(boxes_.empty());
}
