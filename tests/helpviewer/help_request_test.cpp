#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_request.h"
#include "test_dir.h"

using kv::help::HelpRequest;
using kv::help::ParseHelpArgument;

namespace {

// Only the named files exist.
std::function<bool(const QString&)> Existing(QSet<QString> files) {
  return [files](const QString& f) { return files.contains(f); };
}
const auto kNothing = Existing({});

void ExpectSplit(const HelpRequest& r, const QString& file, const QString& page) {
  EXPECT_EQ(r.file.toStdString(), file.toStdString());
  EXPECT_EQ(r.page.toStdString(), page.toStdString());
}

}  // namespace

TEST(HelpArgumentTest, FileAndPage) {
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm::30.html", kNothing), "/opt/kv/LoveHelp.chm",
              "30.html");
  // The Windows form the other platform's button passes.
  ExpectSplit(ParseHelpArgument("C:\\Prog\\LoveHelp.chm::60.html", kNothing),
              "C:\\Prog\\LoveHelp.chm", "60.html");
  // hh.exe also takes the page with a leading slash.
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm::/40.html", kNothing), "/opt/kv/LoveHelp.chm",
              "40.html");
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm::30.html#scan", kNothing),
              "/opt/kv/LoveHelp.chm", "30.html#scan");
}

TEST(HelpArgumentTest, BlanksAndLettersInPath) {
  const QString file = QString::fromUtf8("/home/Иван Петров/Korvella Love 2/LoveHelp.chm");
  ExpectSplit(ParseHelpArgument(file + "::50.html", kNothing), file, "50.html");
  ExpectSplit(ParseHelpArgument(file + "::50.html", Existing({file})), file, "50.html");
  ExpectSplit(ParseHelpArgument(" " + file + "::10.html", kNothing), " " + file, "10.html");
}

TEST(HelpArgumentTest, SeparatorInsideDirectoryNames) {
  const QString file = "/data/a::b/c::d/LoveHelp.chm";
  ExpectSplit(ParseHelpArgument(file + "::30.html", Existing({file})), file, "30.html");
  ExpectSplit(ParseHelpArgument(file + "::30.html", kNothing), file, "30.html");
  // No page: the whole string is the file, whether it exists or not.
  ExpectSplit(ParseHelpArgument(file, Existing({file})), file, "");
  ExpectSplit(ParseHelpArgument(file, kNothing), file, "");
  // A file whose name doesn't end in .chm is found by its existence alone.
  ExpectSplit(ParseHelpArgument("/data/a::b/help", Existing({"/data/a::b/help"})),
              "/data/a::b/help", "");
  ExpectSplit(ParseHelpArgument("/data/a::b/help::30.html", Existing({"/data/a::b/help"})),
              "/data/a::b/help", "30.html");
  // An existing file wins over the last separator: the page keeps its "::".
  ExpectSplit(ParseHelpArgument("/x/h.chm::a::b.html", Existing({"/x/h.chm"})), "/x/h.chm",
              "a::b.html");
  // A directory with the file's name is not the file.
  ExpectSplit(ParseHelpArgument("/x/h.chm::30.html", Existing({"/x"})), "/x/h.chm", "30.html");
}

TEST(HelpArgumentTest, MissingPageOrFile) {
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm", kNothing), "/opt/kv/LoveHelp.chm", "");
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm::", kNothing), "/opt/kv/LoveHelp.chm", "");
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp.chm::/", kNothing), "/opt/kv/LoveHelp.chm", "");
  ExpectSplit(ParseHelpArgument("/opt/kv/LoveHelp", kNothing), "/opt/kv/LoveHelp", "");
  ExpectSplit(ParseHelpArgument("/opt/kv/Help.bin::30.html", kNothing), "/opt/kv/Help.bin",
              "30.html");
  ExpectSplit(ParseHelpArgument("::30.html", kNothing), "", "30.html");
  ExpectSplit(ParseHelpArgument("", kNothing), "", "");
}

// The same on the disk, through QFileInfo, and the archive opens there.
TEST(HelpArgumentTest, RealFileUnderAwkwardDirectory) {
  const TestDir dir(QString::fromUtf8("Корвелла Лав/a::b c"));
  const QString file = dir.File("LoveHelp.chm");
  ASSERT_TRUE(QFile::copy(BuiltHelp(), file));
  ExpectSplit(ParseHelpArgument(file + "::30.html"), file, "30.html");
  ExpectSplit(ParseHelpArgument(file), file, "");
  const HelpRequest r = ParseHelpArgument(file + "::30.html");
  const kv::help::ChmArchive archive(r.file);
  ASSERT_TRUE(archive.IsOpen());
  EXPECT_TRUE(archive.Read(r.page).has_value());
}

// The command line as the main window or a user's shell passes it.
TEST(HelpArgumentTest, CommandLine) {
  const HelpRequest none = kv::help::RequestFromArguments({}, "/opt/Korvella Love");
  ExpectSplit(none, "/opt/Korvella Love/LoveHelp.chm", "");
  // Blanks of a path left unquoted come back as single blanks.
  ExpectSplit(
      kv::help::RequestFromArguments({"/home/Иван", "Петров/LoveHelp.chm::50.html"}, "/opt/kv"),
      "/home/Иван Петров/LoveHelp.chm", "50.html");
}
