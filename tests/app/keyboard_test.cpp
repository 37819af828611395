// The window without a mouse and through a screen reader's eyes: every
// control named, the keys that stand in for clicks, the fonts, and the
// pictures at the screen's pixel density (also run at QT_SCALE_FACTOR=2).
#include <QAccessible>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextBlock>

#include "window_fixture.h"

using KeyboardTest = WindowTest;

TEST_F(KeyboardTest, EveryFocusableControlHasARussianName) {
  CopyPicture();
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  auto& f = Start();
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);  // the report's browser is made on demand
  ASSERT_NE(f.WebBrowser2, nullptr);
  int checked = 0;
  for (int tab = 0; tab < 5; ++tab) {
    f.PageControl1->setCurrentIndex(tab);
    for (QWidget* w : f.findChildren<QWidget*>()) {
      // A part that hands its focus on (the edit of a spin edit) is
      // announced as the control it hands it to.
      if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || w->focusProxy()) continue;
      const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
      EXPECT_TRUE(name.contains(QRegularExpression(QStringLiteral("[а-яА-Я]"))))
          << w->metaObject()->className() << " " << w->objectName().toStdString() << " '"
          << name.toStdString() << "'";
      ++checked;
    }
  }
  EXPECT_GE(checked, 11 + 10 + 14 + 5);  // spin edits, buttons, months, fields and lists

  // A spin edit tells its value and range, and no value while half-typed.
  QAccessibleValueInterface* v =
      QAccessible::queryAccessibleInterface(f.SpinEdit3)->valueInterface();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(QVariantList({v->currentValue(), v->minimumValue(), v->maximumValue()}),
            QVariantList({1985, -2000, 3000}));
  EXPECT_EQ(f.SpinEdit3->accessibleDescription(), U("от -2000 до 3000"));
  f.SpinEdit3->setText(QStringLiteral("-"));
  EXPECT_FALSE(v->currentValue().isValid());
  // The captions over the birth fields are linked to the first of them.
  EXPECT_EQ(
      QAccessible::queryAccessibleInterface(f.SpinEdit5)->relations(QAccessible::Label).size(), 3);
}

TEST_F(KeyboardTest, ButtonsMonthsLunarDaysAndHelpWorkFromTheKeyboard) {
  CopyPicture();
  fs::copy_file(fs::path(KV_DIST_DIR) / "System/DayMoon.doc", main_ / "System/DayMoon.doc");
  std::ofstream(main_ / "LoveHelp.chm") << "help";
  auto& f = Start();
  auto* ring = f.findChild<kvapp::TFocusRing*>();
  const auto ringed = [&](QWidget* w, QRect r) {
    return ring->target() == w &&
           ring->geometry().adjusted(3, 3, -3, -3) == r.translated(w->mapTo(&f, QPoint()));
  };
  const auto memoLine = [&] { return f.Memo1->toPlainText().split(QLatin1Char('\n')).value(1); };
  f.PageControl1->setCurrentIndex(3);
  f.SpinEdit22->setText(QStringLiteral("2008"));
  f.BitBtn5->setFocus();
  QTest::keyClick(f.BitBtn5, Qt::Key_Return);
  EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral("09.12.2007")));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ringed(f.BitBtn5, f.BitBtn5->rect()); }));
  // Space chooses the first month, the arrow keys the next ones; a choice
  // made in code (the start-up's reset) runs nothing.
  QAbstractButton* month1 = f.RadioGroup1Items->button(0);
  month1->setFocus();
  QTest::keyClick(month1, Qt::Key_Space);
  QTest::keyClick(month1, Qt::Key_Down);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));
  ASSERT_EQ(f.ListBox1->count(), 27);
  f.SetRadioGroup1ItemIndex(-1);
  f.SetRadioGroup1ItemIndex(4);
  EXPECT_EQ(f.ListBox1->count(), 27);

  // Down and Up walk the lunar days, each shown as it is reached; after the
  // tab's hint replaced it, Return shows the chosen day again.
  f.ListBox1->setFocus();
  QTest::keyClick(f.ListBox1, Qt::Key_Down);
  EXPECT_TRUE(memoLine().startsWith(U(" Начало лунного дня    10.01.2008")))
      << memoLine().toStdString();
  QTest::keyClick(f.ListBox1, Qt::Key_Up);
  f.PageControl1->setCurrentIndex(4);
  f.PageControl1->setCurrentIndex(3);
  f.ListBox1->setFocus();
  QTest::keyClick(f.ListBox1, Qt::Key_Return);
  EXPECT_TRUE(memoLine().startsWith(U(" Начало лунного дня    09.01.2008")))
      << memoLine().toStdString();
  // A screen reader selects a line without moving the cursor to it.
  f.ListBox1->item(3)->setSelected(true);
  EXPECT_TRUE(memoLine().startsWith(U(" Начало лунного дня    12.01.2008")))
      << memoLine().toStdString();
  // Emptying the list for another month describes no day: without the
  // descriptions that would be an error.
  fs::remove(main_ / "System/DayMoon.doc");
  f.RadioGroup1Items->button(4)->setFocus();
  QTest::keyClick(f.RadioGroup1Items->button(4), Qt::Key_Down);
  EXPECT_EQ(f.RadioGroup1ItemIndex(), 5);
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();

  // F1: the page of the tab in front, whatever has the focus there.
  QStringList topics;
  f.helpViewer = [&](const QString&, const QString& topic) {
    topics << topic;
    return true;
  };
  const std::vector<QWidget*> inFront = {f.BitBtn6, f.SpinEdit1, f.Edit2, f.ListBox1, f.SpinEdit21};
  for (int tab = 0; tab < 5; ++tab) {
    f.PageControl1->setCurrentIndex(tab);
    inFront[tab]->setFocus();
    QTest::keyClick(inFront[tab], Qt::Key_F1);
  }
  EXPECT_EQ(topics, QStringList({"::10.html", "::30.html", "::40.html", "::50.html", "::60.html"}));
  // On the tab bar the ring goes round the tab in front, not the whole bar.
  QTabBar* bar = f.PageControl1->tabBar();
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Left);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ringed(bar, bar->tabRect(3)); }));
}

TEST_F(KeyboardTest, CaptionsAndButtonsFitInTheArialFace) {
  CopyPicture();
  auto& f = Start();
  const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  for (QPushButton* b : f.findChildren<QPushButton*>()) {
    EXPECT_EQ(QFontInfo(b->font()).family(), arial) << b->objectName().toStdString();
    EXPECT_LE(b->sizeHint().width(), b->width())
        << b->objectName().toStdString();  // glyph and text
  }
  EXPECT_EQ(QFontInfo(f.Panel4->findChild<QLabel*>()->font()).family(), arial);
  EXPECT_EQ(f.windowIcon().availableSizes(), QList<QSize>({{48, 48}, {256, 256}}));
  // No caption runs under a field, except where the window's own
  // coordinates put it there: the eclipse tab's "Год" under its year.
  for (QLabel* l : f.findChildren<QLabel*>()) {
    if (l->text().isEmpty()) continue;  // the pictures
    for (QAbstractSpinBox* field : f.findChildren<QAbstractSpinBox*>())
      EXPECT_EQ(
          l->parentWidget() == field->parentWidget() && l->geometry().intersects(field->geometry()),
          l == f.Label9 && field == f.SpinEdit21)
          << l->objectName().toStdString() << " " << field->objectName().toStdString();
  }
}

TEST_F(KeyboardTest, PicturesAreDrawnAtTheScreensPixelDensity) {
  CopyPicture();
  for (const char* n : {"Html/images/moon@2x.jpg", "Html/gradus.txt", "Html/images/03.gif",
                        "Html/images/03@2x.gif"})
    fs::copy_file(fs::path(KV_DIST_DIR) / n, main_ / n);
  auto& f = Start();
  const qreal ratio = f.devicePixelRatioF();
  EXPECT_EQ(f.Image1->pixmap().devicePixelRatio(), ratio);
  EXPECT_EQ(f.Image1->pixmap().deviceIndependentSize(), QSizeF(984, 636));

  // The report's Sun picture keeps its 100 x 100 on the page.
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  QString name;
  for (QTextBlock b = f.WebBrowser2->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        name = it.fragment().charFormat().toImageFormat().name();
  const QVariant sun =
      f.WebBrowser2->loadResource(QTextDocument::ImageResource, QUrl::fromEncoded(name.toUtf8()));
  EXPECT_EQ(
      (sun.canConvert<QImage>() ? sun.value<QImage>() : QImage::fromData(sun.toByteArray())).size(),
      ratio > 1 ? QSize(200, 200) : QSize(100, 100));
}
