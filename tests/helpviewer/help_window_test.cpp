#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

#include "app/helpviewer/help_window.h"
#include "test_dir.h"

using kv::help::HelpWindow;
using kv::help::ParseHelpArgument;

namespace {

constexpr int kLoadMs = 30000;

std::string U(const QString& s) { return s.toStdString(); }

// Waits for the next finished load; false on a timeout or a failed load.
bool NextLoad(QSignalSpy& spy) {
  const qsizetype before = spy.count();
  if (!QTest::qWaitFor([&] { return spy.count() > before; }, kLoadMs)) return false;
  return spy.last().at(0).toBool();
}

// The answer stays valid if it comes after the wait gave up.
QVariant Js(QWebEngineView* view, const QString& code) {
  auto result = std::make_shared<std::optional<QVariant>>();
  view->page()->runJavaScript(code, [result](const QVariant& v) { *result = v; });
  (void)QTest::qWaitFor([&] { return result->has_value(); }, kLoadMs);
  return result->value_or(QVariant());
}

QString Text(QWebEngineView* view) {
  auto result = std::make_shared<std::optional<QString>>();
  view->page()->toPlainText([result](const QString& t) { *result = t; });
  (void)QTest::qWaitFor([&] { return result->has_value(); }, kLoadMs);
  return result->value_or(QString());
}

QString CurrentContents(const HelpWindow& w) {
  const QTreeWidgetItem* item = w.Contents()->currentItem();
  return item && item->isSelected() ? item->text(0) : QString();
}

void ClickContents(const HelpWindow& w, const QString& name) {
  QTreeWidget* toc = w.Contents();
  const auto items = toc->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 1);
  QTest::mouseClick(toc->viewport(), Qt::LeftButton, {}, toc->visualItemRect(items[0]).center());
}

// A real click, as the user makes it: the browser treats history entries
// made by script alone differently.
void ClickLink(const HelpWindow& w, const QString& href) {
  const QVariantList r =
      Js(w.View(), "(() => { const b = document.querySelector('.nav a[href=\"" + href +
                       "\"]').getBoundingClientRect(); return [b.x + b.width / 2, b.y + b.height / 2]; })()")
          .toList();
  ASSERT_EQ(r.size(), 2);
  QWidget* target = w.View()->focusProxy() ? w.View()->focusProxy() : w.View();
  QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(r[0].toInt(), r[1].toInt()));
}

}  // namespace

TEST(HelpWindowTest, OpensPage30OfBuiltFile) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
  w.show();
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().toString()), "chm:/30.html");
  EXPECT_EQ(U(Js(w.View(), "document.querySelector('h1').textContent").toString()),
            "Совместимость");
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == w.View()->title(); }, kLoadMs));
  EXPECT_EQ(U(w.windowTitle()), "Совместимость — Korvella Love");
  // The stylesheet came through its relative link.
  EXPECT_EQ(U(Js(w.View(), "getComputedStyle(document.querySelector('.nav')).backgroundColor")
                  .toString()),
            "rgb(31, 47, 107)");
  EXPECT_FALSE(w.Contents()->isHidden());
  EXPECT_EQ(w.Contents()->topLevelItemCount(), 5);
  EXPECT_EQ(U(CurrentContents(w)), "Совместимость");
}

TEST(HelpWindowTest, LinksContentsAndHistory) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
  w.show();
  ASSERT_TRUE(NextLoad(loads));

  ClickLink(w, "40.html");
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().toString()), "chm:/40.html");
  EXPECT_EQ(U(CurrentContents(w)), "Планеты Вашего гороскопа");
  EXPECT_TRUE(w.View()->pageAction(QWebEnginePage::Back)->isEnabled());

  // History may come back from the page cache without a new load.
  w.View()->pageAction(QWebEnginePage::Back)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.View()->url().toString() == "chm:/30.html"; }, kLoadMs))
      << U(w.View()->url().toString());
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle().startsWith("Совместимость"); }, kLoadMs));
  EXPECT_EQ(U(CurrentContents(w)), "Совместимость");
  EXPECT_TRUE(w.View()->pageAction(QWebEnginePage::Forward)->isEnabled());

  ClickContents(w, "Затмения");
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().toString()), "chm:/60.html");
  EXPECT_EQ(U(Js(w.View(), "document.querySelector('h1').textContent").toString()), "Затмения");

  // An anchor of another page: the page changes, its contents line is marked.
  w.ShowPage("30.html#scan");
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().fragment()), "scan");
  EXPECT_EQ(U(CurrentContents(w)), "Совместимость");
}

TEST(HelpWindowTest, NoPageOpensDefaultTopic) {
  HelpWindow w(ParseHelpArgument(BuiltHelp()));
  QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
  w.show();
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().toString()), "chm:/10.html");
  EXPECT_EQ(U(CurrentContents(w)), "Начало");
}

TEST(HelpWindowTest, MissingPageIsShownAsMessage) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::99.html"));
  QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
  w.show();
  ASSERT_TRUE(NextLoad(loads));
  const QString text = Text(w.View());
  EXPECT_TRUE(text.contains("Страница «99.html» не найдена в файле справки «" + BuiltHelp() + "»"))
      << U(text);
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == "Страница не найдена"; }, kLoadMs))
      << U(w.windowTitle());
  EXPECT_EQ(U(CurrentContents(w)), "");
  // Its link leads back into the help.
  Js(w.View(), "document.querySelector('a').click()");
  ASSERT_TRUE(NextLoad(loads));
  EXPECT_EQ(U(w.View()->url().toString()), "chm:/10.html");
}

TEST(HelpWindowTest, MissingOrBrokenFileIsShownAsMessage) {
  const TestDir dir("Korvella Love");
  {
    const QString file = dir.File("LoveHelp.chm");
    HelpWindow w(ParseHelpArgument(file + "::30.html"));
    QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
    w.show();
    ASSERT_TRUE(NextLoad(loads));
    const QString text = Text(w.View());
    EXPECT_TRUE(text.contains("Файл справки «" + file + "» не найден")) << U(text);
    EXPECT_TRUE(w.Contents()->isHidden());
  }
  {
    const QString file = dir.Write("LoveHelp.chm", ReadAll(BuiltHelp()).left(40));
    HelpWindow w(ParseHelpArgument(file + "::30.html"));
    QSignalSpy loads(w.View(), &QWebEngineView::loadFinished);
    w.show();
    ASSERT_TRUE(NextLoad(loads));
    const QString text = Text(w.View());
    EXPECT_TRUE(text.contains("«" + file + "»")) << U(text);
    EXPECT_TRUE(text.contains("повреждён")) << U(text);
  }
}

// The program itself, as the main window starts it: it must come up and stay.
TEST(HelpWindowTest, ViewerProgramStarts) {
  QProcess viewer;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  viewer.setProcessEnvironment(env);
  viewer.start(KV_DIST_DIR "/kvlove-help", {BuiltHelp() + "::30.html"});
  ASSERT_TRUE(viewer.waitForStarted(10000)) << U(viewer.errorString());
  EXPECT_FALSE(viewer.waitForFinished(6000)) << "exit " << viewer.exitCode() << ": "
                                             << viewer.readAllStandardError().toStdString();
  viewer.kill();
  viewer.waitForFinished(10000);
  const QString err = QString::fromLocal8Bit(viewer.readAllStandardError());
  EXPECT_FALSE(err.contains("register the custom scheme")) << U(err);
}

#include "app/asan_webengine.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Test discovery at build time runs without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kv::help::PrepareApplication();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
