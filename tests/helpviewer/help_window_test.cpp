#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFrame>
#include <QToolBar>

#include "app/helpviewer/help_window.h"
#include "test_dir.h"

using kv::help::HelpWindow;
using kv::help::ParseHelpArgument;

namespace {

// The text of the page's first heading.
QString Heading(const HelpWindow& w) {
  for (QTextBlock b = w.View()->document()->begin(); b.isValid(); b = b.next())
    if (b.blockFormat().headingLevel() == 1) return b.text();
  return {};
}

// A user's click on the first link to `href`.
void ClickLink(const HelpWindow& w, const QString& href) {
  QTextBrowser* view = w.View();
  for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorHref() == href) {
        QTextCursor c(view->document());
        c.setPosition(it.fragment().position() + it.fragment().length() / 2);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(c).center());
        return;
      }
  ADD_FAILURE() << "no link to " << U(href);
}

// Stands in for the user's browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

}  // namespace

TEST(HelpWindowTest, OpensPage30OfBuiltFile) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  EXPECT_EQ(U(Source(w)), "chm:/30.html");
  // Decoded as the page declares it: Windows-1251.
  EXPECT_EQ(U(Heading(w)), "Совместимость");
  EXPECT_EQ(U(w.windowTitle()), "Совместимость — Korvella Love");
  // The stylesheet and the picture came out of the help file.
  QTextDocument* doc = w.View()->document();
  EXPECT_EQ(doc->rootFrame()->frameFormat().background().color(), QColor(0xf6, 0xf3, 0xec));
  const QVariant chart = doc->resource(QTextDocument::ImageResource, QUrl("chm:/chart.png"));
  EXPECT_EQ(chart.value<QImage>().size(), QSize(524, 268)) << chart.typeName();
}

TEST(HelpWindowTest, EveryPageShowsItsRussianHeading) {
  HelpWindow w(ParseHelpArgument(BuiltHelp()));
  const std::pair<const char*, const char*> pages[] = {
      {"10.html", "Korvella Love — астрология любви и совместимости"},
      {"30.html", "Совместимость"},
      {"40.html", "Планеты Вашего гороскопа"},
      {"50.html", "Лунные дни"},
      {"60.html", "Затмения"}};
  for (const auto& [page, heading] : pages) {
    w.ShowPage(page);
    EXPECT_EQ(U(Heading(w)), heading) << page;
    EXPECT_TRUE(w.windowTitle().endsWith(" — Korvella Love")) << U(w.windowTitle());
  }
}

TEST(HelpWindowTest, LinksAndHistory) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  EXPECT_FALSE(w.BackAction()->isEnabled());
  ClickLink(w, "40.html");
  EXPECT_EQ(U(Source(w)), "chm:/40.html");
  EXPECT_EQ(U(Heading(w)), "Планеты Вашего гороскопа");
  ASSERT_TRUE(w.BackAction()->isEnabled());

  w.BackAction()->trigger();
  EXPECT_EQ(U(Source(w)), "chm:/30.html");
  EXPECT_TRUE(w.windowTitle().startsWith("Совместимость"));
  ASSERT_TRUE(w.ForwardAction()->isEnabled());
  w.ForwardAction()->trigger();
  EXPECT_EQ(U(Source(w)), "chm:/40.html");
  w.HomeAction()->trigger();
  EXPECT_EQ(U(Source(w)), "chm:/10.html");

  // An anchor of another page: that page, scrolled down to the anchor.
  w.ShowPage("30.html#scan");
  EXPECT_EQ(U(Source(w)), "chm:/30.html#scan");
  EXPECT_GT(w.View()->verticalScrollBar()->value(), 0);
}

TEST(HelpWindowTest, ControlsWorkFromTheKeyboardAndHaveRussianNames) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  // Tab goes to the page's first link, Enter follows it.
  QTest::keyClick(w.View(), Qt::Key_Tab);
  QTest::keyClick(w.View(), Qt::Key_Return);
  EXPECT_EQ(U(Source(w)), "chm:/10.html");
  QTest::keyClick(&w, Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(U(Source(w)), "chm:/30.html");
  QTest::keyClick(&w, Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(U(Source(w)), "chm:/10.html");
  w.ShowPage("60.html");
  QTest::keyClick(&w, Qt::Key_Home, Qt::AltModifier);
  EXPECT_EQ(U(Source(w)), "chm:/10.html");

  const auto name = [](QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? U(a->text(QAccessible::Name)) : std::string("(none)");
  };
  EXPECT_EQ(name(w.View()), "Страница справки");
  // The page is read as a document of plain text.
  QAccessibleInterface* page = QAccessible::queryAccessibleInterface(w.View());
  EXPECT_EQ(page->role(), QAccessible::Document);
  ASSERT_NE(page->textInterface(), nullptr);
  const QString text = page->textInterface()->text(0, page->textInterface()->characterCount());
  EXPECT_TRUE(text.contains(Heading(w) + u'\n')) << U(text);
  for (char16_t c : {u'\uFDD0', u'\uFDD1', u'\uFFFC', u'\u2028'})
    EXPECT_FALSE(text.contains(c)) << int(c) << " " << U(text);
  QToolBar* bar = w.findChild<QToolBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(name(bar->widgetForAction(w.BackAction())), "Назад");
  EXPECT_EQ(name(bar->widgetForAction(w.ForwardAction())), "Вперёд");
  EXPECT_EQ(name(bar->widgetForAction(w.HomeAction())), "В начало");
  for (QAction* a : {w.BackAction(), w.ForwardAction(), w.HomeAction()})
    EXPECT_NE(bar->widgetForAction(a)->focusPolicy() & Qt::TabFocus, 0) << U(a->text());
}

// Links out of the help go to the user's browser and nowhere else; nothing
// on the page is read from the disk.
TEST(HelpWindowTest, NothingFromOutsideTheHelpFile) {
  const TestDir dir;
  QImage big(300, 300, QImage::Format_RGB32);
  big.fill(Qt::red);
  ASSERT_TRUE(big.save(dir.File("big.png")));
  UrlCatcher browser, files;
  QDesktopServices::setUrlHandler("https", &browser, "Open");
  QDesktopServices::setUrlHandler("file", &files, "Open");

  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  const QString file = dir.File("big.png");
  w.View()->setHtml(
      "<p><a href=\"https://example.org/a\">сайт</a></p>" +
      QString("<p><a href=\"file://%1\">файл</a></p><p><img src=\"%1\"></p>").arg(file));
  EXPECT_LT(w.View()->document()->size().height(), 200);
  ClickLink(w, "https://example.org/a");
  ClickLink(w, "file://" + file);
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("file");
  EXPECT_EQ(browser.urls, QList<QUrl>{QUrl("https://example.org/a")});
  EXPECT_TRUE(files.urls.isEmpty());
  EXPECT_EQ(U(Source(w)), "chm:/30.html");
}

// A mail link reaches the mail program with its subject and body only.
TEST(HelpWindowTest, MailLinksLoseEveryOtherHeader) {
  UrlCatcher mail;
  QDesktopServices::setUrlHandler("mailto", &mail, "Open");
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  const QString link = "mailto:a@example.org?attach=/etc/passwd&subject=Hi&cc=b@example.org";
  w.View()->setHtml("<p><a href=\"" + link + "\">почта</a></p>");
  ClickLink(w, link);
  QDesktopServices::unsetUrlHandler("mailto");
  EXPECT_EQ(mail.urls, QList<QUrl>{QUrl("mailto:a@example.org?subject=Hi")});
}

// Tables nested deeper than the viewer lays out give a note, not a crash
// in the layout; a page within the limit is shown as it is.
TEST(HelpWindowTest, DeeplyNestedPagesAreRefusedWithANote) {
  const auto nested = [](int depth, bool closed = true) {
    return ("<html><body>" + QString("<table><tr><td>").repeated(depth) + "глубина" +
            QString(closed ? "</td></tr></table>" : "").repeated(depth) + "</body></html>")
        .toUtf8();
  };
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  w.show();
  const int limit = kv::help::kMaxNesting;
  // Thousands of levels, a few more than the limit, and tables never closed.
  for (const QByteArray& page : {nested(3000), nested(limit + 1), nested(20, false)}) {
    w.View()->setHtml(kv::help::ViewedPageText(page, "deep.html", BuiltHelp()));
    QTest::qWait(0);  // laid out and drawn
    const QString text = w.View()->toPlainText();
    EXPECT_TRUE(
        text.contains("Страница «deep.html» файла справки «" + BuiltHelp() + "» не показана"))
        << U(text);
    EXPECT_TRUE(text.contains("глубже 8 уровней")) << U(text);
  }
  for (const QByteArray& page : {nested(limit), nested(limit, false)}) {
    w.View()->setHtml(kv::help::ViewedPageText(page, "deep.html", BuiltHelp()));
    w.View()->viewport()->repaint();
    EXPECT_TRUE(w.View()->toPlainText().contains("глубина"));
  }
}

TEST(HelpWindowTest, NoPageOpensDefaultTopic) {
  HelpWindow w(ParseHelpArgument(BuiltHelp()));
  EXPECT_EQ(U(Source(w)), "chm:/10.html");
}

TEST(HelpWindowTest, MissingPageIsShownAsMessage) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::99.html"));
  w.show();
  const QString text = w.View()->toPlainText();
  EXPECT_TRUE(text.contains("Страница «99.html» не найдена в файле справки «" + BuiltHelp() + "»"))
      << U(text);
  EXPECT_EQ(U(w.windowTitle()), "Страница не найдена");
  // Its link leads back into the help.
  ClickLink(w, "/10.html");
  EXPECT_EQ(U(Source(w)), "chm:/10.html");
}

TEST(HelpWindowTest, MissingOrBrokenFileIsShownAsMessage) {
  const TestDir dir("Korvella Love");
  {
    const QString file = dir.File("LoveHelp.chm");
    HelpWindow w(ParseHelpArgument(file + "::30.html"));
    const QString text = w.View()->toPlainText();
    EXPECT_TRUE(text.contains("Файл справки «" + file + "» не найден")) << U(text);
  }
  {
    const QString file = dir.Write("LoveHelp.chm", ReadAll(BuiltHelp()).left(40));
    HelpWindow w(ParseHelpArgument(file + "::30.html"));
    const QString text = w.View()->toPlainText();
    EXPECT_TRUE(text.contains("«" + file + "»")) << U(text);
    EXPECT_TRUE(text.contains("повреждён")) << U(text);
  }
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Test discovery at build time runs without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

#include "help_window_test.moc"
