// What the user typed comes back at the next start: through the settings
// file, whatever it holds, and back to the defaults with «Сбросить».
#include <QApplication>
#include <QTabBar>

#include "app/place_tabs.h"
#include "window_fixture.h"

namespace {

class EntriesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CopyPicture();
  }
  // Every kept field as the window shows it: name|place|SpinEdit1..9|22|21.
  static QString Shown(TZKV_LoveForm& f) {
    QStringList s = {f.Edit2->text(), f.Places().BirthPlaceEdit->text()};
    for (auto* e : {f.SpinEdit1, f.SpinEdit2, f.SpinEdit3, f.SpinEdit4, f.SpinEdit5, f.SpinEdit6,
                    f.SpinEdit7, f.SpinEdit8, f.SpinEdit9, f.SpinEdit22, f.SpinEdit21})
      s << e->text();
    return s.join(u'|');
  }
  // The defaults with this year for "Y".
  static QString Year(const char* s) {
    return QString::fromUtf8(s).replace(u'Y', QString::number(QDate::currentDate().year()));
  }
  const QString kDefaults = Year("||15|6|1985|1980|15|6|1985|12|15|Y|Y");
  const QString kTyped =
      U("Мария|59.94, 30.31 Europe/Moscow|29|2|-45|2001|31|12|1999|23|59|0|2050");
  // As a user types them; the place taken with Return.
  static void Type(TZKV_LoveForm& f) {
    f.Edit2->setText(U("Мария"));
    const QStringList v = U("29 2 -45 2001 31 12 1999 23 59 0 2050").split(u' ');
    int i = 0;
    for (auto* e : {f.SpinEdit1, f.SpinEdit2, f.SpinEdit3, f.SpinEdit4, f.SpinEdit5, f.SpinEdit6,
                    f.SpinEdit7, f.SpinEdit8, f.SpinEdit9, f.SpinEdit22, f.SpinEdit21})
      e->setText(v[i++]);
    f.Places().BirthPlaceEdit->setFocus();
    f.Places().BirthPlaceEdit->setText(QStringLiteral("59.94, 30.31 Europe/Moscow"));
    QTest::keyClick(f.Places().BirthPlaceEdit, Qt::Key_Return);
  }
  void WriteSettings(const std::string& text) {
    std::ofstream(root_ / "config/Korvella_Love.ini", std::ios::binary) << "[General]\n" << text;
  }
};

}  // namespace

// Closed and started again, the window shows what was typed and computes
// from it what it computed before; a press keeps what it read at once.
TEST_F(EntriesTest, EntriesComeBackAtTheNextStart) {
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  auto& f = Start();
  EXPECT_EQ(Shown(f), kDefaults);
  Type(f);
  f.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  const std::string page = ReadBytes(main_ / "Html/Gradus_html.html");
  ASSERT_NE(page.find("UTC+03:00"), std::string::npos);  // Leningrad, winter 1999
  f.close();
  form_.reset();

  auto& g = Start();
  EXPECT_EQ(Shown(g), kTyped);
  EXPECT_TRUE(g.SpinEdit8->accessibleDescription().contains(U("по местному времени")));
  g.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(g.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(ReadBytes(main_ / "Html/Gradus_html.html"), page);

  // Never closed (a crash): only what was typed after the press is lost.
  g.SpinEdit21->setText(QStringLiteral("1999"));
  g.PageControl1->setCurrentIndex(4);
  QTest::mouseClick(g.BitBtn7, Qt::LeftButton);
  g.SpinEdit21->setText(QStringLiteral("2000"));
  form_.reset();
  EXPECT_EQ(Start().SpinEdit21->text(), QStringLiteral("1999"));

  // Tabs left unbuilt, as a start leaves them: closing keeps what was kept,
  // and the first change of tab shows it.
  form_->close();
  form_.reset();
  buildTabs_ = false;
  Start().close();
  form_.reset();
  auto& h = Start();
  h.PageControl1->setCurrentIndex(4);
  ASSERT_TRUE(h.tabsBuilt());
  EXPECT_EQ(h.SpinEdit21->text(), QStringLiteral("1999"));
  EXPECT_EQ(h.Edit2->text(), U("Мария"));
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}

// Values the window would not have written fall back to their defaults
// without a word; the sound ones beside them are taken.
TEST_F(EntriesTest, DamagedOrForeignValuesFallBackQuietly) {
  WriteSettings(
      "rName=\"Anna\\tIvanovna\"\n"                         // a tab: not one line of a name
      "rBirthDay=31\nrBirthMonth=2\nrBirthYear=1985\n"      // no such day
      "rBirthHour=7\nrBirthMinute=60\n"                     // out of range
      "rCompatDay=10\nrCompatMonth=10\nrCompatYear=1582\n"  // in the calendar gap
      "rCompatStartYear=@ByteArray(1990)\n"                 // another type, the same digits
      "rLunarYear=\" 2000\"\nrEclipseYear=-\n"
      "rBirthPlace=Mars\nrBirthPlaceLatitude=10\nrBirthPlaceLongitude=20\n"
      "rBirthPlaceZone=Mars/Olympus\n");
  auto& f = Start();
  const QString expected = Year("||15|6|1985|1990|15|6|1985|7|15|Y|Y");
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(f) == expected; })) << Shown(f).toStdString();
  EXPECT_FALSE(f.Places().BirthPlace());

  WriteSettings(
      "rBirthPlace=N\nrBirthPlaceLatitude=91\nrBirthPlaceLongitude=0\n"
      "rBirthDay=29\nrBirthMonth=2\nrBirthYear=2000\n");  // a leap day is a day
  form_.reset();
  EXPECT_EQ(Shown(Start()), Year("||15|6|1985|1980|29|2|2000|12|15|Y|Y"));
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}

// «Сбросить» on the start page, pressed from the keyboard, brings back
// every default, and the next start keeps them.
TEST_F(EntriesTest, ResetBringsBackTheDefaults) {
  auto& f = Start();
  Type(f);
  EXPECT_EQ(Shown(f), kTyped);
  EXPECT_EQ(f.BitBtn11->accessibleName(), U("Сбросить"));
  f.PageControl1->setCurrentIndex(0);
  f.PageControl1->tabBar()->setFocus();
  QTest::keyClick(f.PageControl1->tabBar(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), f.BitBtn11);
  QTest::keyClick(f.BitBtn11, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), f.BitBtn6);  // left to right
  QTest::keyClick(f.BitBtn6, Qt::Key_Backtab);
  QTest::keyClick(f.BitBtn11, Qt::Key_Space);
  EXPECT_EQ(Shown(f), kDefaults);
  EXPECT_TRUE(f.SpinEdit8->accessibleDescription().contains(U("по московскому времени")));
  form_.reset();
  EXPECT_EQ(Shown(Start()), kDefaults);
}
