// The window as a screen reader walks it through Qt's accessibility
// interfaces, which the AT-SPI bridge hands on unchanged: roles, names,
// the report's text and the actions of the month buttons.
#include <QAccessible>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/accessibility.h"
#include "app/accessible.h"
#include "degrees/degree_report.h"
#include "core/text.h"
#include "window_fixture.h"

namespace {

using ScreenReaderTest = WindowTest;

QAccessibleInterface* Of(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

// Every interface under root that can take the focus and is on screen.
void Walk(QAccessibleInterface* i, const std::function<void(QAccessibleInterface*)>& visit,
          int depth = 0) {
  ASSERT_LT(depth, 40);
  visit(i);
  for (int k = 0; k < i->childCount(); ++k)
    if (QAccessibleInterface* c = i->child(k)) Walk(c, visit, depth + 1);
}

TEST_F(ScreenReaderTest, TheWholeWindowIsNamedAndTheReportIsPlainText) {
  CopyPicture();
  for (const char* n : {"Html/gradus.txt", "Html/images/03.gif"})
    fs::copy_file(fs::path(KV_DIST_DIR) / n, main_ / n);
  auto& f = Start();
  QAccessibleInterface* window = Of(&f);
  EXPECT_EQ(window->role(), QAccessible::Window);  // a frame on AT-SPI
  EXPECT_EQ(window->text(QAccessible::Name), U("Программа \"Korvella Love\""));

  // Every tab's result on show: report, lunar days, eclipses.
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);  // the page read again, as the button does
  f.SpinEdit22->setText(QStringLiteral("2026"));
  f.BitBtn5->click();
  f.RadioGroup1Items->button(1)->click();
  f.SpinEdit21->setText(QStringLiteral("2026"));
  f.BitBtn7->click();
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();

  // The report: a document whose text is what the eye reads.
  QAccessibleInterface* report = Of(f.WebBrowser2);
  EXPECT_EQ(report->role(), QAccessible::Document);
  QAccessibleTextInterface* t = report->textInterface();
  ASSERT_NE(t, nullptr);
  const QString text = t->text(0, t->characterCount());
  for (char16_t c : {u'\uFDD0', u'\uFDD1', u'\uFFFC', u'\u2028', u'\u2029'})
    EXPECT_FALSE(text.contains(QChar(c))) << std::hex << int(c);
  EXPECT_TRUE(text.startsWith(U("Планеты вашего гороскопа\n"))) << text.left(80).toStdString();
  EXPECT_TRUE(text.contains(U("\nЗнак Зодиака: Близнецы Солнце в момент вашего рождения")))
      << text.toStdString();
  const QStringList lines = text.split(u'\n');
  for (int k = 1; k <= 10; ++k) {
    const QString planet = QString::fromStdString(kv::FromCp1251(kv::Planet_Names[k])) + u':';
    EXPECT_EQ(lines
                  .filter(QRegularExpression(QStringLiteral("^\\s*") + planet +
                                             QStringLiteral(" \\d+ ?град\\. \\d+ ?мин\\. \\S+$")))
                  .size(),
              1)
        << planet.toStdString();
  }
  // Offsets of that text select the same words in the browser.
  const int at = static_cast<int>(text.indexOf(U("Юпитер")));
  t->setSelection(0, at, at + 6);
  EXPECT_EQ(f.WebBrowser2->textCursor().selectedText(), U("Юпитер"));
  EXPECT_EQ(t->cursorPosition(), at + 6);
  // So do the browser's own caret events, and its change of page is told as
  // readable text.
  std::unique_ptr<QAccessibleEvent> replaced;
  QAccessibleTextCursorEvent caret(f.WebBrowser2, f.WebBrowser2->textCursor().position());
  EXPECT_EQ(kvapp::ReadableEvent(&caret, replaced), &caret);
  EXPECT_EQ(caret.cursorPosition(), at + 6);
  f.SpinEdit5->setText(QStringLiteral("16"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  QAccessibleTextInsertEvent raw(f.WebBrowser2, 0, QString(QChar(0xFDD0)));
  auto* told = dynamic_cast<QAccessibleTextUpdateEvent*>(kvapp::ReadableEvent(&raw, replaced));
  ASSERT_NE(told, nullptr);
  EXPECT_EQ(told->textRemoved(), text);
  EXPECT_TRUE(told->textInserted().contains(U("\n( 16 июня 1985 г. 12:15 МСК)\n")))
      << told->textInserted().toStdString();
  EXPECT_EQ(kvapp::ReadableEvent(&raw, replaced), nullptr);  // nothing new since

  // The tabs by their names, the captions on screen keep their blanks.
  QStringList tabs;
  QAccessibleInterface* bar = Of(f.PageControl1->tabBar());
  for (int k = 0; k < f.PageControl1->count(); ++k) tabs << bar->child(k)->text(QAccessible::Name);
  EXPECT_EQ(tabs, QStringList({U("Начало"), U("Совместимость"), U("Планеты Вашего гороскопа"),
                               U("Лунные дни"), U("Затмения")}));
  EXPECT_EQ(f.PageControl1->tabText(3), U(" Лунные дни "));

  // Nothing that takes the focus goes without a name, on any tab.
  for (int tab = 0; tab < 5; ++tab) {
    f.PageControl1->setCurrentIndex(tab);
    int focusable = 0;
    Walk(window, [&](QAccessibleInterface* i) {
      const QAccessible::State s = i->state();
      if (!s.focusable || s.invisible) return;
      ++focusable;
      EXPECT_FALSE(i->text(QAccessible::Name).trimmed().isEmpty())
          << "tab " << tab << " role " << i->role() << " in "
          << i->parent()->text(QAccessible::Name).toStdString();
    });
    EXPECT_GT(focusable, 3) << tab;
  }

  // The lists read as sentences; a blank line is no stop.
  EXPECT_EQ(Of(f.ListBox1)->child(0)->text(QAccessible::Name),
            U("1-й лунный день, 19 января 2026"));
  EXPECT_EQ(f.ListBox1->item(0)->text(), U("  1   19.01.2026"));
  QAccessibleInterface* eclipses = Of(f.ListBox2);
  QStringList said;
  for (int k = 0; k < eclipses->childCount(); ++k)
    if (eclipses->child(k)->state().focusable) said << eclipses->child(k)->text(QAccessible::Name);
  EXPECT_TRUE(said.contains(
      U("17 февраля 2026, 12:13:56 по Гринвичу, солнечное кольцеобразное, 28°50′ Водолея")))
      << said.join(u'|').toStdString();
  EXPECT_EQ(said.filter(QStringLiteral("по Гринвичу")).size(), 4);
  EXPECT_FALSE(said.contains(QString(u' ')));

  // And what the eye sees of the list is what it was before.
  const QImage shown = f.ListBox2->grab().toImage();
  for (int k = 0; k < f.ListBox2->count(); ++k)
    f.ListBox2->item(k)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  EXPECT_EQ(f.ListBox2->grab().toImage(), shown);
}

TEST_F(ScreenReaderTest, AMonthChosenThroughTheInterfaceShowsItsDays) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(3);
  f.SpinEdit22->setText(QStringLiteral("2008"));
  f.BitBtn5->click();
  QAccessibleInterface* month2 = Of(f.RadioGroup1Items->button(1));
  EXPECT_EQ(month2->role(), QAccessible::RadioButton);
  EXPECT_EQ(month2->text(QAccessible::Name), U("Лунный месяц 2"));
  QAccessibleActionInterface* a = month2->actionInterface();
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  a->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(month2->state().checked);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));
  EXPECT_EQ(f.ListBox1->count(), 27);
  // Pressed again, as a click on the chosen month, it shows them again.
  f.ListBox1->clear();
  Of(f.RadioGroup1Items->button(1))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(f.ListBox1->count(), 27);
  // A choice made in code runs nothing.
  f.SetRadioGroup1ItemIndex(4);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}

// Lines that are not what they claim to be are read as they stand.
TEST(ScreenReaderLines, OnlyWellFormedLinesBecomeSentences) {
  EXPECT_EQ(kvapp::LunarDaySentence(QStringLiteral(" 12   01.03.0999")),
            QString::fromUtf8("12-й лунный день, 1 марта 999"));
  for (const char* bad : {"", "  1", "  1   01.13.2008", "  1   09.01.2008 x", "x 09.01.2008"})
    EXPECT_EQ(kvapp::LunarDaySentence(QString::fromUtf8(bad)), QString()) << bad;
  for (const char* bad : {"", " 99  17.02.2026", " 0  x", " Примечание: "})
    EXPECT_EQ(kvapp::EclipseSentence(QString::fromUtf8(bad)), QString()) << bad;
}

TEST(ScreenReaderText, PicturesSeparatorsAndFramesOfAPage) {
  QTextDocument doc;
  doc.setHtml(
      QStringLiteral("<table><tr><td><p>a<br>b&nbsp;c</p></td></tr>"
                     "<tr><td><img src=\"x.png\" alt=\"Знак\"> d</td></tr>"
                     "<tr><td> &nbsp; </td></tr><tr><td><img src=\"y.png\">e</td></tr>"
                     "</table>"));
  std::vector<int> at;
  const QString text = kvapp::ReadableText(doc, &at);
  EXPECT_EQ(text, QString::fromUtf8("a\nb c\nЗнак d\ne"));
  ASSERT_EQ(at.size(), static_cast<std::size_t>(text.size()));
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
  EXPECT_EQ(doc.characterAt(at[static_cast<std::size_t>(text.indexOf(u'e'))]), QChar(u'e'));

  // A view that Qt has already answered for becomes a document all the same.
  QTextBrowser view;
  EXPECT_NE(QAccessible::queryAccessibleInterface(&view)->role(), QAccessible::Document);
  kvapp::ExposeAsDocument(&view);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&view)->role(), QAccessible::Document);
}

}  // namespace
