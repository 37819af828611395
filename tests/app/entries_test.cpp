// What the user typed comes back at the next start: through the settings
// file, whatever it holds, and back to the defaults with «Сбросить».
#include <QApplication>

#include "app/place_tabs.h"
#include "window_fixture.h"

namespace {

class EntriesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CopyPicture();
  }
  // Every kept field, as the window shows it.
  static QStringList Shown(TZKV_LoveForm& f) {
    QStringList s = {f.Edit2->text(), f.Places().BirthPlaceEdit->text()};
    for (kvapp::TSpinEdit* e :
         {f.SpinEdit1, f.SpinEdit2, f.SpinEdit3, f.SpinEdit4, f.SpinEdit5, f.SpinEdit6, f.SpinEdit7,
          f.SpinEdit8, f.SpinEdit9, f.SpinEdit22, f.SpinEdit21})
      s << e->text();
    return s;
  }
  QStringList Defaults() const {
    const QString year = QString::number(QDate::currentDate().year());
    return {"", "", "15", "6", "1985", "1980", "15", "6", "1985", "12", "15", year, year};
  }
  void WriteSettings(const std::string& text) {
    std::ofstream(root_ / "config/Korvella_Love.ini", std::ios::binary) << text;
  }
  // The typed values; the birth place as a user takes it, with Return.
  static void Type(TZKV_LoveForm& f) {
    f.Edit2->setText(U("Мария"));
    const std::pair<kvapp::TSpinEdit*, int> values[] = {
        {f.SpinEdit1, 29}, {f.SpinEdit2, 2},  {f.SpinEdit3, -45},  {f.SpinEdit4, 2001},
        {f.SpinEdit5, 31}, {f.SpinEdit6, 12}, {f.SpinEdit7, 1999}, {f.SpinEdit8, 23},
        {f.SpinEdit9, 59}, {f.SpinEdit22, 0}, {f.SpinEdit21, 2050}};
    for (const auto& [e, v] : values) e->setValue(v);
    kvapp::PlaceEdit* place = f.Places().BirthPlaceEdit;
    place->setFocus();
    place->setText(QStringLiteral("59.94, 30.31 Europe/Moscow"));
    QTest::keyClick(place, Qt::Key_Return);
  }
};

const QStringList kTyped = {U("Мария"), "59.94, 30.31 Europe/Moscow",
                            "29",       "2",
                            "-45",      "2001",
                            "31",       "12",
                            "1999",     "23",
                            "59",       "0",
                            "2050"};

}  // namespace

// Closed and started again, the window shows what was typed, and computes
// from it what it computed before.
TEST_F(EntriesTest, EntriesComeBackAtTheNextStart) {
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  auto& f = Start();
  EXPECT_EQ(Shown(f), Defaults());
  Type(f);
  f.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  const std::string page = ReadBytes(main_ / "Html/Gradus_html.html");
  f.close();
  form_.reset();

  auto& g = Start();
  EXPECT_EQ(Shown(g), kTyped);
  EXPECT_TRUE(g.SpinEdit8->accessibleDescription().contains(U("по местному времени")));
  g.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(g.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(ReadBytes(main_ / "Html/Gradus_html.html"), page);
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();

  // A press keeps what it read at once: a window that never closes (a
  // crash) loses only what was typed after it.
  g.SpinEdit21->setValue(1999);
  g.PageControl1->setCurrentIndex(4);
  QTest::mouseClick(g.BitBtn7, Qt::LeftButton);
  g.SpinEdit21->setValue(2000);
  form_.reset();
  EXPECT_EQ(Start().SpinEdit21->text(), QStringLiteral("1999"));
}

// Values the window would not have written: each falls back to its field's
// default without a word; what is sound beside them is taken.
TEST_F(EntriesTest, DamagedOrForeignValuesFallBackQuietly) {
  WriteSettings(
      "[General]\n"
      "rName=\"Anna\\tIvanovna\"\n"                     // a tab: not one line of a name
      "rBirthDay=31\nrBirthMonth=2\nrBirthYear=1985\n"  // no such day
      "rBirthHour=7\nrBirthMinute=60\n"
      "rCompatDay=10\nrCompatMonth=10\nrCompatYear=1582\n"  // in the calendar gap
      "rCompatStartYear=@ByteArray(1990)\n"                 // another type, the same digits
      "rLunarYear=\" 2000\"\nrEclipseYear=1899\n"
      "rBirthPlace=Mars\nrBirthPlaceLatitude=10\nrBirthPlaceLongitude=20\n"
      "rBirthPlaceZone=Mars/Olympus\n");
  auto& f = Start();
  QStringList expected = Defaults();
  expected[5] = "1990";
  expected[9] = "7";
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(f) == expected; }))
      << Shown(f).join('|').toStdString();
  EXPECT_FALSE(f.Places().BirthPlace());
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();

  // Coordinates out of range, a minus alone, a date of a leap year.
  WriteSettings(
      "[General]\nrBirthPlace=Nowhere\nrBirthPlaceLatitude=91\nrBirthPlaceLongitude=0\n"
      "rBirthDay=29\nrBirthMonth=2\nrBirthYear=2000\nrBirthHour=-\n");
  form_.reset();
  auto& g = Start();
  expected = Defaults();
  expected[6] = "29";
  expected[7] = "2";
  expected[8] = "2000";
  EXPECT_EQ(Shown(g), expected);
  EXPECT_FALSE(g.Places().BirthPlace());
}

// «Сбросить» on the start page, pressed from the keyboard, brings back
// every default, and the next start keeps them.
TEST_F(EntriesTest, ResetBringsBackTheDefaults) {
  auto& f = Start();
  Type(f);
  EXPECT_EQ(Shown(f), kTyped);
  f.PageControl1->setCurrentIndex(0);
  EXPECT_EQ(f.BitBtn11->accessibleName(), U("Сбросить"));
  f.BitBtn6->setFocus();
  QTest::keyClick(f.BitBtn6, Qt::Key_Backtab);
  ASSERT_EQ(QApplication::focusWidget(), f.BitBtn11)
      << QApplication::focusWidget()->objectName().toStdString();
  QTest::keyClick(f.BitBtn11, Qt::Key_Space);
  EXPECT_EQ(Shown(f), Defaults());
  EXPECT_FALSE(f.Places().BirthPlace());
  EXPECT_TRUE(f.SpinEdit8->accessibleDescription().contains(U("по московскому времени")));
  form_.reset();
  EXPECT_EQ(Shown(Start()), Defaults());
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}
