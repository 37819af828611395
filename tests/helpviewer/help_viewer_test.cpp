// The viewer's panes, zoom, print, closing keys and its one window per
// help file, driven as a user would.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "app/helpviewer/help_instance.h"
#include "app/helpviewer/help_panes.h"
#include "app/helpviewer/help_window.h"
#include "app/platform.h"
#include "test_dir.h"

using kv::help::HelpPanes;
using kv::help::HelpWindow;
using kv::help::ParseHelpArgument;

namespace {

void Activate(QWidget& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// The pixel size the page's first heading is drawn in.
int HeadingSize(const HelpWindow& w) {
  for (QTextBlock b = w.View()->document()->begin(); b.isValid(); b = b.next())
    if (b.blockFormat().headingLevel() == 1)
      return b.begin().fragment().charFormat().intProperty(QTextFormat::FontPixelSize);
  return 0;
}

// Typing Cyrillic, which QTest::keyClicks does not take.
void Type(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
  }
}

bool Loaded(const char* library) {
  QFile maps("/proc/self/maps");
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

QString Viewer() { return QStringLiteral(KV_DIST_DIR "/kvlove-help"); }

}  // namespace

TEST(HelpWindowTest, ContentsShownAtStartOtherPanesWhenFirstUsed) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  HelpPanes* panes = w.Panes();
  EXPECT_FALSE(panes->IsBuilt(HelpPanes::Contents));  // nothing before the window shows
  Activate(w);
  EXPECT_TRUE(panes->IsBuilt(HelpPanes::Contents));
  EXPECT_FALSE(panes->IsBuilt(HelpPanes::Index));
  EXPECT_FALSE(panes->IsBuilt(HelpPanes::Search));
  QTreeWidget* tree = panes->ContentsTree();
  ASSERT_EQ(tree->topLevelItemCount(), 5);
  // The page shown is marked; choosing another entry opens its page.
  ASSERT_NE(tree->currentItem(), nullptr);
  EXPECT_EQ(U(tree->currentItem()->text(0)), "Совместимость");
  QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), tree);
  QTest::keyClick(tree, Qt::Key_Down);
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_EQ(U(Source(w)), "chm:/40.html");
  w.ShowPage("60.html");
  EXPECT_EQ(U(tree->currentItem()->text(0)), "Затмения");

  const auto name = [](QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? U(a->text(QAccessible::Name)) : std::string("(none)");
  };
  EXPECT_EQ(name(tree), "Содержание справки");
  QTest::keyClick(&w, Qt::Key_I, Qt::AltModifier);
  QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(name(panes->IndexField()), "Ключевое слово");
  EXPECT_EQ(name(panes->IndexList()), "Указатель справки");
  EXPECT_EQ(name(panes->SearchField()), "Слова для поиска");
  EXPECT_EQ(name(panes->SearchResults()), "Найденные страницы");
  QToolBar* bar = w.findChild<QToolBar*>();
  for (QAction* a : {w.ZoomInAction(), w.ZoomOutAction(), w.PrintAction()})
    EXPECT_EQ(name(bar->widgetForAction(a)), U(a->text()));
}

TEST(HelpWindowTest, IndexFindsAntares) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::10.html"));
  Activate(w);
  QTest::keyClick(&w, Qt::Key_I, Qt::AltModifier);
  QLineEdit* field = w.Panes()->IndexField();
  ASSERT_EQ(QApplication::focusWidget(), field);
  Type(field, "антар");
  QListWidget* list = w.Panes()->IndexList();
  ASSERT_NE(list->currentItem(), nullptr);
  EXPECT_EQ(U(list->currentItem()->text()), "Антарес");
  // Only what holds the typed text stays listed.
  for (int i = 0; i < list->count(); ++i)
    EXPECT_EQ(list->item(i)->isHidden(), !list->item(i)->text().contains("Антар"));
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(U(Source(w)), "chm:/40.html#royal");
  EXPECT_TRUE(w.View()->toPlainText().contains("Антареса"));

  // Down in the field walks the list; a keyword that is not there chooses nothing.
  field->clear();
  Type(field, "Лун");
  const QString first = list->currentItem()->text();
  QTest::keyClick(field, Qt::Key_Down);
  EXPECT_NE(list->currentItem()->text(), first);
  EXPECT_EQ(QApplication::focusWidget(), field);
  field->setText("нет такого слова");
  EXPECT_EQ(list->currentItem(), nullptr);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(U(Source(w)), "chm:/40.html#royal");

  // Esc first clears what was typed, then closes.
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_TRUE(w.isVisible());
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
}

TEST(HelpWindowTest, SearchFindsAntaresAndMarksIt) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::10.html"));
  Activate(w);
  QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
  QLineEdit* field = w.Panes()->SearchField();
  ASSERT_EQ(QApplication::focusWidget(), field);
  Type(field, "антарес");
  QTest::keyClick(field, Qt::Key_Return);
  QListWidget* hits = w.Panes()->SearchResults();
  ASSERT_EQ(hits->count(), 1);
  EXPECT_TRUE(hits->item(0)->text().startsWith("Планеты Вашего гороскопа"));
  EXPECT_EQ(U(w.Panes()->SearchStatus()->text()), "Найдено страниц: 1");
  QTest::keyClick(field, Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), hits);
  QTest::keyClick(hits, Qt::Key_Return);
  EXPECT_EQ(U(Source(w)), "chm:/40.html");
  const QList<QTextEdit::ExtraSelection> marks = w.View()->extraSelections();
  ASSERT_EQ(marks.size(), 1);
  EXPECT_EQ(U(marks[0].cursor.selectedText()), "Антарес");
  // Scrolled to the mark; another page drops the marks.
  EXPECT_GT(w.View()->verticalScrollBar()->value(), 0);
  w.ShowPage("30.html");
  EXPECT_TRUE(w.View()->extraSelections().isEmpty());

  field->setText("кракозябра");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(hits->count(), 0);
  EXPECT_EQ(U(w.Panes()->SearchStatus()->text()), "Ничего не найдено.");
}

TEST(HelpWindowTest, ZoomKeysScaleThePageAndItsPictures) {
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::30.html"));
  Activate(w);
  const int own = HeadingSize(w);
  ASSERT_EQ(own, 26);
  QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 125);
  EXPECT_EQ(HeadingSize(w), qRound(26 * 1.25));
  // A page opened later comes at the same zoom, its picture too.
  w.ShowPage("40.html");
  w.ShowPage("30.html");
  EXPECT_EQ(HeadingSize(w), qRound(26 * 1.25));
  const qreal width = w.View()->document()->size().width();
  QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 110);
  for (int i = 0; i < 20; ++i) QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 50);
  EXPECT_FALSE(w.ZoomOutAction()->isEnabled());
  EXPECT_EQ(HeadingSize(w), 13);
  EXPECT_LE(w.View()->document()->size().width(), width);
  QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 100);
  EXPECT_EQ(HeadingSize(w), own);
}

TEST(HelpWindowTest, EscapeAndCtrlWClose) {
  for (const QKeyCombination key :
       {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
    HelpWindow w(ParseHelpArgument(BuiltHelp()));
    Activate(w);
    QTest::keyClick(&w, key.key(), key.keyboardModifiers());
    EXPECT_FALSE(w.isVisible());
  }
}

// Print Support comes in with the first print only.
TEST(HelpWindowTest, PrintLoadsItsModuleWhenUsed) {
  const TestDir dir;
  HelpWindow w(ParseHelpArgument(BuiltHelp() + "::40.html"));
  Activate(w);
  EXPECT_FALSE(Loaded("libQt6PrintSupport"));
  w.SetModuleDir(KV_DIST_DIR);
  ASSERT_TRUE(w.Print(dir.File("страница.pdf")));
  EXPECT_TRUE(Loaded("libQt6PrintSupport"));
  const QByteArray pdf = ReadAll(dir.File("страница.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF-")) << pdf.left(20).constData();
  EXPECT_GT(pdf.size(), 10000);
}

// F1 pressed twice: the second start of the viewer hands its page to the
// first and ends.
TEST(HelpWindowTest, SecondStartShowsItsPageInTheFirstViewer) {
  const TestDir dir("Korvella Love");
  qputenv("XDG_RUNTIME_DIR", dir.Path().toUtf8());
  const QString file = dir.Write("LoveHelp.chm", ReadAll(BuiltHelp()));
  kvapp::InstanceLock instance(file, "help");
  ASSERT_EQ(instance.Claim(), kvapp::InstanceLock::First);
  HelpWindow w(ParseHelpArgument(file + "::10.html"));
  kv::help::ServeLaterStarts(instance, w);
  w.showMinimized();

  for (const char* page : {"60.html", "30.html#scan"}) {
    QProcess second;
    second.start(Viewer(), {file + "::" + page});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Source(w) == QString("chm:/") + page; }))
        << U(Source(w));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isMinimized(); }));

  // Another help file has a viewer of its own.
  const QString other = dir.Write("Другая.chm", ReadAll(BuiltHelp()));
  QProcess beside;
  beside.start(Viewer(), {other});
  ASSERT_TRUE(beside.waitForStarted());
  EXPECT_FALSE(beside.waitForFinished(1500));
  beside.kill();
  beside.waitForFinished();
}

// Two starts at once, neither knowing the other: one viewer is left.
TEST(HelpWindowTest, TwoStartsLeaveOneViewer) {
  const TestDir dir;
  qputenv("XDG_RUNTIME_DIR", dir.Path().toUtf8());
  const QString file = dir.Write("LoveHelp.chm", ReadAll(BuiltHelp()));
  QProcess a, b;
  a.start(Viewer(), {file + "::30.html"});
  b.start(Viewer(), {file + "::40.html"});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return a.state() == QProcess::NotRunning || b.state() == QProcess::NotRunning; },
      20000));
  QProcess& ended = a.state() == QProcess::NotRunning ? a : b;
  QProcess& left = &ended == &a ? b : a;
  EXPECT_EQ(ended.exitCode(), 0) << ended.readAllStandardError().constData();
  EXPECT_EQ(left.state(), QProcess::Running);
  left.kill();
  left.waitForFinished();
}

TEST(HelpWindowTest, HelpAndVersionPrintAndEndWithoutADisplay) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "none-such");
  p.setProcessEnvironment(env);
  p.start(Viewer(), {"--help"});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 0);
  const QString usage = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_TRUE(usage.startsWith("Использование: kvlove-help [ФАЙЛ[::СТРАНИЦА]]")) << U(usage);
  EXPECT_TRUE(usage.contains("Esc или Ctrl+W — закрыть")) << U(usage);
  p.start(Viewer(), {"--version"});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardOutput().startsWith("kvlove-help "));
  p.start(Viewer(), {"--помощь"});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("«--помощь»"));
}
