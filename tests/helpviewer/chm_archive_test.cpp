#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringDecoder>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_page.h"
#include "test_dir.h"

using kv::help::ChmArchive;

namespace {

QString Source(const QString& name) { return QStringLiteral(KV_HELP_SOURCES "/") + name; }

}  // namespace

// The pages come out of the compiled file exactly as the sources went in.
TEST(ChmArchiveTest, BuiltFileHoldsTheSources) {
  const ChmArchive chm(BuiltHelp());
  ASSERT_TRUE(chm.IsOpen()) << U(BuiltHelp());
  for (const char* name : {"10.html", "30.html", "40.html", "50.html", "60.html", "help.css",
                           "chart.png", "toc.hhc", "index.hhk"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(chm.Exists(name));
    EXPECT_TRUE(chm.Exists(QStringLiteral("/") + name));
    const std::optional<QByteArray> data = chm.Read(name);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(*data, ReadAll(Source(name)));
  }
  const std::optional<QByteArray> page30 = chm.Read("30.html");
  ASSERT_TRUE(page30);
  // Stored in Windows-1251, as the pages declare.
  const QByteArray heading =
      QStringEncoder("windows-1251").encode(QStringLiteral("<h1>Совместимость</h1>"));
  EXPECT_TRUE(page30->contains(heading));

  EXPECT_EQ(U(chm.DefaultTopic()), "10.html");
  EXPECT_EQ(U(chm.Title()), "Korvella Love — справка");
}

TEST(ChmArchiveTest, AbsentObjects) {
  const ChmArchive chm(BuiltHelp());
  ASSERT_TRUE(chm.IsOpen());
  for (const char* name : {"99.html", "", "/", "10.htm", "images/none.png", "10.html#time"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(chm.Exists(name));
    EXPECT_FALSE(chm.Read(name).has_value());
  }
}

TEST(ChmArchiveTest, MissingAndBrokenFiles) {
  const TestDir dir;
  const QByteArray good = ReadAll(BuiltHelp());
  ASSERT_GT(good.size(), 4096);
  QByteArray flipped = good;
  for (qsizetype i = 4096; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(~flipped[i]);
  const QString broken[] = {
      dir.Write("empty.chm", {}),
      dir.Write("text.chm", "not a help file\r\n"),
      dir.Write("header.chm", good.left(64)),
      dir.Write("half.chm", good.left(good.size() / 2)),
      dir.Write("flipped.chm", flipped),
      dir.Path(),  // a directory
  };
  const ChmArchive missing(dir.File("LoveHelp.chm"));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.Read("30.html").has_value());
  EXPECT_TRUE(missing.DefaultTopic().isEmpty());
  // Whatever a damaged file still yields, asking for it must not crash.
  for (const QString& name : broken) {
    SCOPED_TRACE(U(name));
    const ChmArchive chm(name);
    for (const char* page : {"#SYSTEM", "10.html", "30.html", "60.html", "help.css"}) {
      const std::optional<QByteArray> data = chm.Read(page);
      if (data && name.endsWith("half.chm") && page[0] != '#') {
        EXPECT_EQ(*data, ReadAll(Source(page)));
      }
    }
    EXPECT_FALSE(kv::help::ServePage(chm, "nothing.html").found);
  }
  EXPECT_FALSE(ChmArchive(dir.File("empty.chm")).IsOpen());
  EXPECT_FALSE(ChmArchive(dir.File("text.chm")).IsOpen());
  EXPECT_FALSE(ChmArchive(dir.Path()).IsOpen());
}

// A help file that is no regular file is not handed to chmlib, and the page
// says why, naming the file.
TEST(ChmArchiveTest, FifoIsNamedAsSuch) {
  const TestDir dir;
  const QString fifo = dir.File("LoveHelp.chm");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const ChmArchive chm(fifo);
  EXPECT_FALSE(chm.IsOpen());
  const QString page = QString::fromUtf8(kv::help::ServePage(chm, "10.html").body);
  EXPECT_TRUE(page.contains(fifo + QStringLiteral("»: это канал (FIFO)"))) << U(page);
}

// Every byte of the file damaged in turn, and runs of bytes zeroed or
// flipped: the archive either refuses or answers, it never crashes or hangs.
TEST(ChmArchiveTest, DamageAnywhere) {
  const TestDir dir;
  const QByteArray good = ReadAll(BuiltHelp());
  const int step = qEnvironmentVariableIntValue("KV_HELP_DAMAGE_STEP");
  // One file, patched in place and restored: much cheaper than a file a probe.
  const QString name = dir.Write("damaged.chm", good);
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  int opened = 0, read = 0;
  const auto probe = [&](qsizetype at, const QByteArray& bytes) {
    file.seek(at);
    file.write(bytes);
    file.flush();
    const ChmArchive chm(name);
    opened += chm.IsOpen();
    for (const char* page : {"10.html", "30.html", "60.html", "help.css", "toc.hhc"})
      read += chm.Read(page).has_value();
    file.seek(at);
    file.write(good.mid(at, bytes.size()));
    file.flush();
  };
  for (qsizetype i = 0; i<good.size(); i += step> 0 ? step : 7)
    probe(i, QByteArray(1, static_cast<char>(~good[i])));
  for (qsizetype i = 0; i + 64 <= good.size(); i += 61) {
    QByteArray flipped = good.mid(i, 64);
    for (char& c : flipped) c = static_cast<char>(~c);
    probe(i, QByteArray(64, '\0'));
    probe(i, flipped);
  }
  // Most single bytes lie in page data: the file still opens and reads.
  EXPECT_GT(opened, 0);
  EXPECT_GT(read, 0);
}

// Values chmlib would take on trust and then crash on: a window size its
// decompressor cannot make, a compressed block longer than its buffer.
TEST(ChmArchiveTest, ImpossibleCompressionParameters) {
  const TestDir dir;
  const QByteArray good = ReadAll(BuiltHelp());
  const qsizetype lzxc = good.indexOf("LZXC");
  ASSERT_GT(lzxc, 0);
  ASSERT_TRUE(ChmArchive(dir.Write("good.chm", good)).IsOpen());
  // Control data: size, "LZXC", version 2, reset interval and window in 32 KiB frames.
  QByteArray window = good;
  window[lzxc + 8] = static_cast<char>(0x80);  // reset every 4 MiB...
  window[lzxc + 12] = 0x00;                    // ...with an 8 MiB window: past LZX's 2 MiB
  window[lzxc + 13] = 0x01;
  const ChmArchive badWindow(dir.Write("window.chm", window));
  EXPECT_FALSE(badWindow.IsOpen());
  EXPECT_FALSE(badWindow.Read("30.html").has_value());

  // Reset table: version 2, blocks, 8, table offset 0x28, then the lengths;
  // the compressed length ends the last block.
  const qsizetype table = good.indexOf(QByteArray::fromHex("0800000028000000")) - 8;
  ASSERT_GT(table, lzxc);
  QByteArray longBlock = good;
  longBlock[table + 0x18 + 3] = 0x10;
  EXPECT_FALSE(ChmArchive(dir.Write("block.chm", longBlock)).IsOpen());
}

TEST(PageNameTest, NormalizeLocal) {
  EXPECT_EQ(U(kv::help::NormalizeLocal("30.html")), "30.html");
  EXPECT_EQ(U(kv::help::NormalizeLocal(" /30.html#calc ")), "30.html#calc");
  EXPECT_EQ(U(kv::help::NormalizeLocal("sub\\page.html")), "sub/page.html");
  EXPECT_EQ(U(kv::help::NormalizeLocal("mk:@MSITStore:C:\\x\\LoveHelp.chm::/40.html")), "40.html");
}

TEST(ServePageTest, PagesAndMessages) {
  const ChmArchive chm(BuiltHelp());
  const kv::help::Reply page = kv::help::ServePage(chm, "30.html");
  EXPECT_TRUE(page.found);
  EXPECT_EQ(page.body, ReadAll(Source("30.html")));

  const kv::help::Reply absent = kv::help::ServePage(chm, "99.html");
  EXPECT_FALSE(absent.found);
  const QString text = QString::fromUtf8(absent.body);
  EXPECT_TRUE(text.contains("Страница «99.html» не найдена в файле справки «" + BuiltHelp() + "»"))
      << U(text);
  EXPECT_TRUE(text.contains("href=\"/10.html\""));

  const TestDir dir("a <b> & c");
  const ChmArchive missing(dir.File("LoveHelp.chm"));
  const QString m = QString::fromUtf8(kv::help::ServePage(missing, "30.html").body);
  EXPECT_TRUE(
      m.contains("Файл справки «" + dir.File("LoveHelp.chm").toHtmlEscaped() + "» не найден"))
      << U(m);
  EXPECT_FALSE(m.contains("<b>"));
  const ChmArchive broken(dir.Write("LoveHelp.chm", "junk"));
  const QString b = QString::fromUtf8(kv::help::ServePage(broken, "30.html").body);
  EXPECT_TRUE(b.contains("повреждён")) << U(b);
}
