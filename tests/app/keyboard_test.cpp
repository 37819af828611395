// The window without a mouse and through a screen reader's eyes: every
// control named, the keys that stand in for clicks, and the pictures at
// the screen's pixel density.
#include <QAccessible>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTextBlock>
#include <QTranslator>

#include "app/desktop.h"
#include "app/jpeg.h"
#include "window_fixture.h"

namespace {

class KeyboardTest : public WindowTest {
 protected:
  // The lunar tab with the phases of 2008 computed and its descriptions there.
  TZKV_LoveForm& StartOnLunarTab() {
    CopyPicture();
    fs::copy_file(fs::path(KV_DIST_DIR) / "System/DayMoon.doc", main_ / "System/DayMoon.doc");
    auto& f = Start();
    f.PageControl1->setCurrentIndex(3);
    f.SpinEdit22->setText(QStringLiteral("2008"));
    f.BitBtn5->setFocus();
    QTest::keyClick(f.BitBtn5, Qt::Key_Return);
    EXPECT_TRUE(messages_.empty());
    return f;
  }
  QString MemoLine(int i) const { return form_->Memo1->toPlainText().split(QLatin1Char('\n')).value(i); }
};

QString Name(QWidget* w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(QAccessible::Name).trimmed() : QString();
}

}  // namespace

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
    const QString name = Name(w);
    EXPECT_FALSE(name.isEmpty()) << w->metaObject()->className() << " " << w->objectName().toStdString();
    bool cyrillic = false;
    for (QChar c : name) cyrillic |= c.script() == QChar::Script_Cyrillic || c.isDigit();
    EXPECT_TRUE(cyrillic) << name.toStdString();
    ++checked;
   }
  }
  EXPECT_GE(checked, 11 + 10 + 14 + 5);  // spin edits, buttons, months, fields and lists

  // A spin edit tells its value and range, and nothing while half-typed.
  QAccessibleValueInterface* v = QAccessible::queryAccessibleInterface(f.SpinEdit3)->valueInterface();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->currentValue().toInt(), 1985);
  EXPECT_EQ(v->minimumValue().toInt(), -2000);
  EXPECT_EQ(v->maximumValue().toInt(), 3000);
  EXPECT_EQ(Name(f.SpinEdit3), U("Год рождения"));
  EXPECT_EQ(f.SpinEdit3->accessibleDescription(), U("от -2000 до 3000"));
  f.SpinEdit3->setText(QStringLiteral("-"));
  EXPECT_FALSE(v->currentValue().isValid());
  // The caption over the three birth fields is linked to the first of them.
  const auto labels = QAccessible::queryAccessibleInterface(f.SpinEdit5)->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 3);
}

TEST_F(KeyboardTest, ReturnAndEnterPressTheFocusedButton) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(4);
  f.SpinEdit21->setText(QStringLiteral("1999"));
  f.BitBtn7->setFocus();
  QTest::keyClick(f.BitBtn7, Qt::Key_Return);
  EXPECT_EQ(f.ListBox2->count(), 16);
  f.SpinEdit21->setText(QStringLiteral("2000"));
  f.BitBtn7->setFocus();
  QTest::keyClick(f.BitBtn7, Qt::Key_Enter);
  EXPECT_TRUE(f.ListBox2->isVisible());
  EXPECT_TRUE(f.ListBox2->item(5)->text().contains(QStringLiteral("2000")));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(KeyboardTest, MonthsAndLunarDaysAreChosenWithTheArrowKeys) {
  auto& f = StartOnLunarTab();
  // Space chooses the first month, the arrow keys the next ones.
  QAbstractButton* month1 = f.RadioGroup1Items->button(0);
  month1->setFocus();
  QTest::keyClick(month1, Qt::Key_Space);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 1 лунный месяц  2008г."));
  QTest::keyClick(month1, Qt::Key_Down);
  EXPECT_EQ(f.RadioGroup1ItemIndex(), 1);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));
  ASSERT_EQ(f.ListBox1->count(), 27);
  // Choosing in code (the start-up's reset) runs nothing.
  f.SetRadioGroup1ItemIndex(-1);
  f.SetRadioGroup1ItemIndex(4);
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));

  // Down and Up walk the lunar days, each shown as it is reached.
  f.ListBox1->setFocus();
  QTest::keyClick(f.ListBox1, Qt::Key_Down);
  EXPECT_TRUE(MemoLine(1).startsWith(U(" Начало лунного дня    10.01.2008"))) << MemoLine(1).toStdString();
  QTest::keyClick(f.ListBox1, Qt::Key_Up);
  EXPECT_TRUE(MemoLine(1).startsWith(U(" Начало лунного дня    09.01.2008"))) << MemoLine(1).toStdString();
  // After the tab's hint replaced it, Return shows the chosen day again.
  f.PageControl1->setCurrentIndex(4);
  f.PageControl1->setCurrentIndex(3);
  f.ListBox1->setFocus();
  QTest::keyClick(f.ListBox1, Qt::Key_Return);
  EXPECT_TRUE(MemoLine(1).startsWith(U(" Начало лунного дня    09.01.2008")));
  // So does a click on it.
  f.Memo1->clear();
  QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {},
                    f.ListBox1->visualItemRect(f.ListBox1->item(0)).center());
  EXPECT_TRUE(MemoLine(1).startsWith(U(" Начало лунного дня    09.01.2008")));
  EXPECT_TRUE(messages_.empty());

  // Emptying the list for another month describes no day: without the
  // descriptions that would be an error.
  fs::remove(main_ / "System/DayMoon.doc");
  f.RadioGroup1Items->button(4)->setFocus();
  QTest::keyClick(f.RadioGroup1Items->button(4), Qt::Key_Down);
  EXPECT_EQ(f.RadioGroup1ItemIndex(), 5);
  EXPECT_GE(f.ListBox1->count(), 27);
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}

TEST_F(KeyboardTest, F1OpensTheHelpPageOfTheTabInFront) {
  CopyPicture();
  std::ofstream(main_ / "LoveHelp.chm") << "help";
  auto& f = Start();
  QStringList topics;
  f.helpViewer = [&](const QString& file, const QString& topic) {
    EXPECT_EQ(file.toStdString(), MainDir() + "LoveHelp.chm");
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
  EXPECT_TRUE(messages_.empty());
}

TEST_F(KeyboardTest, FocusRingFollowsTheFocusOverThePicture) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  f.SpinEdit2->setFocus();
  auto* ring = f.findChild<kvapp::TFocusRing*>();
  ASSERT_NE(ring, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ring->target() == f.SpinEdit2; }));
  EXPECT_TRUE(ring->isVisible());
  const QRect around = ring->geometry().adjusted(3, 3, -3, -3);
  EXPECT_EQ(around, QRect(f.SpinEdit2->mapTo(&f, QPoint(0, 0)), f.SpinEdit2->size()));
  // It shows light on the dark picture and leaves the control itself alone.
  const QImage shot = f.grab().toImage();
  EXPECT_GT(qGray(shot.pixel(QPoint(around.left() - 3, around.center().y()) * shot.devicePixelRatio())), 150);
  EXPECT_EQ(ring->mask().boundingRect(), ring->rect());
  EXPECT_FALSE(ring->mask().contains(ring->rect().center()));
  f.PageControl1->setCurrentIndex(0);  // the focus leaves with its tab
  EXPECT_TRUE(QTest::qWaitFor([&] { return ring->target() != f.SpinEdit2; }));
  // On the tab bar it goes round the tab in front, not the whole bar.
  QTabBar* bar = f.PageControl1->tabBar();
  bar->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ring->target() == bar; }));
  QTest::keyClick(bar, Qt::Key_Right);
  ASSERT_EQ(f.PageControl1->currentIndex(), 1);
  const QRect tab = bar->tabRect(1);
  EXPECT_EQ(ring->geometry().adjusted(3, 3, -3, -3), QRect(bar->mapTo(&f, tab.topLeft()), tab.size()));
}

// Run at two device pixels per pixel (QT_SCALE_FACTOR=2) as well as at one.
TEST_F(KeyboardTest, PicturesAreDrawnAtTheScreensPixelDensity) {
  CopyPicture();
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/images/moon@2x.jpg", main_ / "Html/images/moon@2x.jpg");
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  for (const char* n : {"03.gif", "03@2x.gif"})
    fs::copy_file(fs::path(KV_DIST_DIR) / "Html/images" / n, main_ / "Html/images" / n);
  auto& f = Start();
  const qreal ratio = f.devicePixelRatioF();
  const QPixmap background = f.Image1->pixmap();
  EXPECT_EQ(background.devicePixelRatio(), ratio);
  EXPECT_EQ(background.deviceIndependentSize(), QSizeF(984, 636));

  // The report's Sun picture keeps its 100 x 100 on the page.
  f.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  QString name;
  for (QTextBlock b = f.WebBrowser2->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat()) name = it.fragment().charFormat().toImageFormat().name();
  const QVariant loaded = f.WebBrowser2->loadResource(QTextDocument::ImageResource, QUrl::fromEncoded(name.toUtf8()));
  const QImage sun = loaded.canConvert<QImage>() ? loaded.value<QImage>() : QImage::fromData(loaded.toByteArray());
  EXPECT_EQ(sun.size(), ratio > 1 ? QSize(200, 200) : QSize(100, 100));

  // A picture of another size, without a sharp version: shown 1:1 as it is.
  fs::remove(main_ / "Html/images/moon@2x.jpg");
  QImage own(500, 300, QImage::Format_RGB32);
  own.fill(Qt::darkBlue);
  ASSERT_TRUE(own.save(QString::fromStdString(MainDir() + "Html/images/moon.jpg")));
  const QImage shown = kvapp::LoadBackground(MainDir() + "Html/images/moon.jpg", ratio);
  EXPECT_EQ(shown.size(), QSize(500, 300));
  EXPECT_EQ(shown.devicePixelRatio(), 1.0);
}

TEST(DesktopTest, QtsOwnTextsSpeakTheUsersLanguage) {
  kvapp::LoadQtTranslations(*qApp, QLocale(QLocale::Russian, QLocale::Russia));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), U("Отмена"));
  for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
  EXPECT_EQ(QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::Cancel).button(QMessageBox::Cancel)->text(),
            QStringLiteral("Cancel"));
}

TEST_F(KeyboardTest, CaptionsAndButtonsFitInTheArialFace) {
  CopyPicture();
  auto& f = Start();
  const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  for (QPushButton* b : f.findChildren<QPushButton*>()) {
    EXPECT_EQ(QFontInfo(b->font()).family(), arial) << b->objectName().toStdString();
    EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();  // glyph and text
  }
  EXPECT_EQ(QFontInfo(f.Panel4->findChild<QLabel*>()->font()).family(), arial);
  // No caption runs under a field, except where the window's own
  // coordinates put it there: the eclipse tab's "Год" under its year.
  for (QLabel* l : f.findChildren<QLabel*>()) {
    if (l == f.Label9 || l->text().trimmed().isEmpty()) continue;
    for (QAbstractSpinBox* field : f.findChildren<QAbstractSpinBox*>()) {
      if (field->parentWidget() != l->parentWidget()) continue;
      EXPECT_FALSE(l->geometry().intersects(field->geometry()))
          << l->objectName().toStdString() << " " << field->objectName().toStdString();
    }
  }
  EXPECT_TRUE(f.Label9->geometry().intersects(f.SpinEdit21->geometry()));
}
