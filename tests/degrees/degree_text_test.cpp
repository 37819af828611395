#include "degrees/degree_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "core/text.h"
#include "core/textfile.h"
#include "fixture.h"

using namespace kv;

namespace {

class DegreeTextTest : public ::testing::Test {
 protected:
  std::string Base(const std::string& bytes) {
    const std::string p = (dir_.path() / ("base" + std::to_string(n_++) + ".txt")).string();
    WriteBytes(p, bytes);
    return p;
  }
  static std::string Find(const std::string& base, std::int32_t key, std::string start = "") {
    FindDegreeText(base, key, start);
    return start;
  }
  TempDir dir_;
  int n_ = 0;
};

TEST_F(DegreeTextTest, KeysAreComparedAsIntegers) {
  // "  7", " 07", "007", a lone digit at the line's end, a sign, and text
  // from column 6 on; column 2 is not examined.
  for (const char* header :
       {"*   7", "*  07", "* 007", "* 7", "*  7", "*x  7 Овен 8°", "*  +7", "**  7*"}) {
    const std::string b =
        Base(std::string("*   0\r\nzero\r\n") + header + "\r\nseven\r\n* 359\r\nlast\r\n");
    EXPECT_EQ(Find(b, 7), "seven") << header;
    EXPECT_EQ(Find(b, 0), "zero") << header;
    EXPECT_EQ(Find(b, 359), "last") << header;
  }
  const std::string neg = Base("*  -1\r\nminus one\r\n*  -0\r\nminus zero\r\n");
  EXPECT_EQ(Find(neg, -1), "minus one");
  EXPECT_EQ(Find(neg, 0), "minus zero");
}

TEST_F(DegreeTextTest, MissingLastAndRepeatedEntries) {
  // A header on the last line, with or without a line end: empty paragraph.
  for (const char* tail : {"*  12", "*  12\r\n"}) {
    const std::string b = Base(std::string("*  11\r\neleven\r\n") + tail);
    EXPECT_EQ(Find(b, 12, "before"), "") << tail;
    EXPECT_EQ(Find(b, 11), "eleven");
  }
  // A key the base lacks leaves the variable alone.
  const std::string b = Base("*   1\r\none\r\n\r\ncomment line\r\n*   2\r\ntwo\r\n");
  EXPECT_EQ(Find(b, 3, "kept"), "kept");
  EXPECT_EQ(Find(b, 3), "");
  EXPECT_EQ(Find(b, 2, "kept"), "two");
  // The later of two entries wins, even when the later paragraph is empty.
  const std::string dup = Base("*   5\r\nfirst\r\n*   6\r\nsix\r\n*   5\r\nsecond\r\n");
  EXPECT_EQ(Find(dup, 5), "second");
  const std::string dupEmpty = Base("*   5\r\nfirst\r\n*   5\r\n\r\n");
  EXPECT_EQ(Find(dupEmpty, 5, "x"), "");
  EXPECT_EQ(Find(Base(""), 0, "x"), "x");
}

TEST_F(DegreeTextTest, StarParagraphs) {
  // A matching entry consumes its text line, whatever it begins with.
  const std::string b = Base("*   1\r\n*   2 looks like a header\r\nplain\r\n");
  EXPECT_EQ(Find(b, 1), "*   2 looks like a header");
  // Looking up another key, the same line is read as a header of key 2.
  EXPECT_EQ(Find(b, 2), "plain");
  // The lone "*" is consumed only by key 3's lookup; any other key meets it
  // as a malformed header.
  const std::string lone = Base("*   3\r\n*\r\n*   4\r\nfour\r\n");
  EXPECT_EQ(Find(lone, 3), "*");
  EXPECT_THROW(Find(lone, 4), ConvertError);
}

TEST_F(DegreeTextTest, MalformedHeaderFailsEveryLookup) {
  struct Bad {
    const char* line;
    const char* field;  // as the message shows it
  };
  const Bad bad[] = {{"*", ""},         {"* ", ""},       {"*  ", " "},         {"*    ", "   "},
                     {"*    7", "   "}, {"* 7 ", "7 "},   {"* 7  text", "7  "}, {"* 12 x", "12 "},
                     {"* 7x", "7x"},    {"* 1.5", "1.5"}, {"* - 1", "- 1"},     {"* +-1", "+-1"},
                     {"* Овен", "Ове"}};
  for (const Bad& x : bad) {
    for (int where = 0; where < 3; ++where) {
      std::string body = "*   0\r\nzero\r\n*   1\r\none\r\n";
      const std::string line = std::string(x.line) + "\r\n";
      if (where == 0) body = line + body;
      if (where == 1) body.insert(body.find("*   1"), line);
      if (where == 2) body += line;
      const std::string b = Base(ToCp1251(body));
      for (int key : {0, 1, 2}) {
        try {
          std::string t;
          FindDegreeText(b, key, t);
          ADD_FAILURE() << "accepted '" << x.line << "' at " << where << " for key " << key;
        } catch (const ConvertError& e) {
          // The lines before it: none, the first entry, both entries.
          EXPECT_EQ(std::string(e.what()), std::string("'") + x.field +
                                               "' is not a valid integer value в файле «" + b +
                                               "», строка " + std::to_string(1 + 2 * where))
              << x.line;
        }
      }
    }
  }
}

TEST_F(DegreeTextTest, MissingBaseAndNoLeakedDescriptors) {
  const std::string missing = (dir_.path() / "no_such.txt").string();
  EXPECT_THROW(Find(missing, 0), FileError);
  try {
    Find(missing, 0);
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
  }
  EXPECT_THROW(Find(dir_.str(), 0), FileError);  // a folder, not a file

  const std::string good = Base("*   0\r\nzero\r\n");
  const std::string bad = Base("*   0\r\nzero\r\n* 7 \r\n");
  const int before = OpenDescriptors();
  for (int i = 0; i < 200; ++i) {
    EXPECT_THROW(Find(missing, 0), FileError);
    EXPECT_THROW(Find(bad, 0), ConvertError);
    EXPECT_THROW(Find(dir_.str(), 0), FileError);
    EXPECT_EQ(Find(good, 0), "zero");
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(DegreeTextTest, BaseThatIsAFifoIsRefused) {
  const std::string fifo = (dir_.path() / "fifo.txt").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_THROW(Find(fifo, 0), FileError);
}

TEST_F(DegreeTextTest, LineEndsAndBytes) {
  // A bare LF or a bare CR ends a line like CR LF.
  const std::string b =
      Base("*   1\none\n*   2\r\ntwo\n*   3\ra\rb\r\n*   5\r\nx\r\r\n*   4\r\nend\r");
  EXPECT_EQ(Find(b, 1), "one");
  EXPECT_EQ(Find(b, 2), "two");
  EXPECT_EQ(Find(b, 3), "a");
  EXPECT_EQ(Find(b, 4), "end");
  EXPECT_EQ(Find(b, 5), "x");
  // A CR LF split between two reads of the file is one line end: the bad
  // header after it is line 3.
  const std::string split = Base("*  43\r\n" + std::string(65536 - 8, 'y') + "\r\n* x\r\n");
  try {
    Find(split, 43);
    ADD_FAILURE();
  } catch (const ConvertError& e) {
    EXPECT_TRUE(std::string(e.what()).ends_with("строка 3")) << e.what();
  }
  // Every byte but LF comes back as it stands, markup included.
  std::string all;
  for (int c = 0; c < 256; ++c)
    if (c != '\n' && c != '\r') all += static_cast<char>(c);
  all = "<b>" + all + "</b>";
  EXPECT_EQ(Find(Base("*  42\r\n" + all + "\r\n"), 42), all);
  // A paragraph far longer than the reader's buffer.
  const std::string longText(200000, '\xE0');
  EXPECT_EQ(Find(Base("*  43\r\n" + longText + "\r\n*  44\r\nx\r\n"), 43), longText);
}

TEST(ShippedBaseTest, HoldsEachDegreeOnceAndReadsCleanly) {
  std::vector<int> order;
  const auto paragraphs = ShippedParagraphs(&order);
  ASSERT_EQ(order.size(), 360u);
  ASSERT_EQ(paragraphs.size(), 360u);
  EXPECT_EQ(paragraphs.begin()->first, 0);
  EXPECT_EQ(paragraphs.rbegin()->first, 359);
  std::set<std::string> distinct;
  const std::string base = (kShippedHtml / "gradus.txt").string();
  for (int key = 0; key < 360; ++key) {
    const std::string& p = paragraphs.at(key);
    EXPECT_FALSE(p.empty()) << key;
    EXPECT_NE(p[0], '*') << key;
    EXPECT_EQ(ToCp1251(FromCp1251(p)), p) << key;  // valid 1251 throughout
    distinct.insert(p);
    std::string t = "unset";
    FindDegreeText(base, key, t);
    EXPECT_EQ(t, p) << key;
  }
  EXPECT_EQ(distinct.size(), 360u);
  std::string t = "unset";
  FindDegreeText(base, 360, t);
  EXPECT_EQ(t, "unset");
}

// The four royal stars each stand in the one degree of their present
// longitude (Aldebaran 9 Gemini, Regulus 29 Leo, Antares 9 Sagittarius,
// Fomalhaut 3 Pisces), and the royal degrees go by one name, the report's.
TEST(ShippedBaseTest, RoyalStarsInTheirPresentDegrees) {
  const std::map<int, std::string> stars = {
      {69, "Альдебаран"}, {149, "Регул"}, {249, "Антарес"}, {333, "Фомальгаут"}};
  for (const auto& [key, p] : ShippedParagraphs()) {
    const std::string text = FromCp1251(p);
    for (const auto& [degree, star] : stars)
      EXPECT_EQ(text.find(star) != std::string::npos, key == degree) << star << " in " << key;
    const bool royal = stars.contains(key);
    EXPECT_EQ(text.find("<b>") != std::string::npos, royal) << key;  // bold marks them alone
    if (royal) {
      EXPECT_NE(text.find("королевск"), std::string::npos) << key;
    }
    EXPECT_EQ(text.find(" царск"), std::string::npos) << key;
    EXPECT_EQ(text.find("Царск"), std::string::npos) << key;
  }
}

}  // namespace
