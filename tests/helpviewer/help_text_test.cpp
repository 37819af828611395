// The contents, the index and the full-text search as the panes read them.
#include <algorithm>
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_search.h"
#include "app/helpviewer/help_sitemap.h"
#include "test_dir.h"

using namespace kv::help;

namespace {

QByteArray Cp1251(const QString& s) {
  QStringEncoder enc("windows-1251");
  return enc.encode(s);
}

QByteArray Item(const QString& name, const QString& local) {
  return Cp1251("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
                "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n");
}

}  // namespace

TEST(HelpSitemapTest, BuiltContentsAndIndexAreReadFromTheArchive) {
  const ChmArchive chm(BuiltHelp());
  ASSERT_TRUE(chm.IsOpen());
  EXPECT_EQ(U(chm.ContentsFile()), "toc.hhc");
  EXPECT_EQ(U(chm.IndexFile()), "index.hhk");
  const QList<SitemapEntry> toc = ParseSitemap(*chm.Read(chm.ContentsFile()));
  ASSERT_EQ(toc.size(), 5);
  EXPECT_EQ(U(toc[1].name), "Совместимость");
  EXPECT_EQ(toc[1].locals, QStringList{"30.html"});
  // Every page the contents and the index lead to is in the file.
  QList<SitemapEntry> all = toc + ParseSitemap(*chm.Read(chm.IndexFile()));
  bool antares = false;
  for (const SitemapEntry& e : all) {
    ASSERT_FALSE(e.locals.isEmpty()) << U(e.name);
    EXPECT_TRUE(chm.Exists(e.locals.front().section(u'#', 0, 0))) << U(e.locals.front());
    if (e.name == "Антарес") antares = e.locals.front() == "40.html#royal";
  }
  EXPECT_TRUE(antares);
}

TEST(HelpSitemapTest, NestingEntitiesAndDamage) {
  QByteArray file = "<HTML><BODY><!-- <UL><LI><OBJECT type=\"text/sitemap\"> -->\n<UL>\n";
  file += Item("Луна &amp; Солнце &#1025;", "ms-its:LoveHelp.chm::/50.html#a");
  file +=
      "<UL>" + Item("Фазы", "50.html#b") + "<UL>" + Item("Новолуние", "\\50.html") + "</UL></UL>";
  // A second Name is a topic's title; a second Local another page.
  file += Cp1251(
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Затмения\">"
      "<param name=\"Name\" value=\"x\"><param name=\"Local\" value=\"60.html\">"
      "<param name=\"Local\" value=\"61.html\"></OBJECT>"
      "<LI><OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"нет\"></OBJECT>"
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"без имени.html\">"
      "</OBJECT></UL>");
  const QList<SitemapEntry> list = ParseSitemap(file);
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(U(list[0].name), "Луна & Солнце Ё");
  EXPECT_EQ(list[0].locals, QStringList{"50.html#a"});
  ASSERT_EQ(list[0].children.size(), 1);
  ASSERT_EQ(list[0].children[0].children.size(), 1);
  EXPECT_EQ(list[0].children[0].children[0].locals, QStringList{"50.html"});
  EXPECT_EQ(list[1].locals, (QStringList{"60.html", "61.html"}));

  // Deep nesting stops at the limit; cut-off and unbalanced files end quietly.
  QByteArray deep = "<UL>";
  for (int i = 0; i < 5000; ++i) deep += Item("а", "a.html") + "<UL>";
  const QList<SitemapEntry> flat = ParseSitemap(deep);
  int depth = 0;
  for (const QList<SitemapEntry>* l = &flat; !l->isEmpty(); l = &l->back().children) ++depth;
  EXPECT_EQ(depth, kMaxSitemapDepth);
  for (const QByteArray& bad : {QByteArray("</UL></UL><LI><OBJECT type=\"text/sitemap\"><param "),
                                QByteArray("<UL><param name=\"Name\" value=\"x\">"),
                                QByteArray("<UL><OBJECT type=\"text/sitemap\"><param name='Name' "
                                           "value='a>b'></OBJECT></UL>"),
                                QByteArray("<!-- never closed <UL>")})
    EXPECT_LE(ParseSitemap(bad).size(), 1) << bad.constData();
}

TEST(HelpSearchTest, FindsAntaresOnThePlanetsPage) {
  const SearchIndex index = SearchIndex::Of(ChmArchive(BuiltHelp()));
  EXPECT_EQ(index.Pages().size(), 5);
  // A word's beginning, any case, ё or е.
  for (const char* query : {"Антарес", "антарЕС", "  антареса ", "КОРОЛЕВСКИХ ЗВЁЗД антарес"}) {
    const QList<SearchHit> hits = index.Find(query);
    ASSERT_EQ(hits.size(), 1) << query;
    EXPECT_EQ(U(hits[0].path), "40.html");
    EXPECT_EQ(U(hits[0].title), "Планеты Вашего гороскопа — Korvella Love");
    EXPECT_TRUE(hits[0].excerpt.contains("Антареса")) << U(hits[0].excerpt);
  }
  EXPECT_EQ(index.Find("звезд").size(), index.Find("звёзд").size());
  EXPECT_FALSE(index.Find("звезд").isEmpty());
  // Every word must be on the page; a word's middle is no hit; nothing to look for.
  EXPECT_TRUE(index.Find("Антарес кракозябра").isEmpty());
  EXPECT_TRUE(index.Find("нтарес").isEmpty());
  EXPECT_TRUE(index.Find(" ,.; ").isEmpty());
  // The page most about a word first.
  const QList<SearchHit> moon = index.Find("затмения");
  ASSERT_FALSE(moon.isEmpty());
  EXPECT_TRUE(std::any_of(moon.begin(), moon.end(),
                          [](const SearchHit& h) { return U(h.path) == "60.html"; }));
  for (qsizetype i = 1; i < moon.size(); ++i) EXPECT_GE(moon[i - 1].count, moon[i].count);
}

TEST(HelpSearchTest, OnlyTheVisibleTextIsSearched) {
  const QByteArray html = Cp1251(
      "<html><head><title>Заголовок &amp; Ко</title><style>p{color:red}</style></head>"
      "<body><script>var скрыто = 1;</script><!-- комментарий --><p>Видимый&nbsp;текст "
      "<b>жирный</b>&#x21;</p></body></html>");
  const PageText page = PageTextOf("a.html", html);
  EXPECT_EQ(U(page.title), "Заголовок & Ко");
  EXPECT_EQ(U(page.text), "Видимый текст жирный !");
  const SearchIndex index({page});
  EXPECT_EQ(index.Find("жирный").size(), 1);
  for (const char* hidden : {"color", "скрыто", "комментарий", "Заголовок"})
    EXPECT_TRUE(index.Find(hidden).isEmpty()) << hidden;
  // A page without a declaration is read as Windows-1251; one with UTF-8 as UTF-8.
  EXPECT_EQ(U(PageTextOf("b.html", "<p>\xc0\xed\xf2\xe0\xf0\xe5\xf1</p>").text), "Антарес");
  EXPECT_EQ(U(PageTextOf("c.html", "<meta charset=\"utf-8\"><p>Антарес</p>").text), "Антарес");
}
