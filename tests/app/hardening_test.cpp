// What a user can do wrong, or what the machine can take away, tried on the
// real window: half-typed numbers, values at the controls' limits, missing
// and broken files and folders, and presses during the compatibility run.
#include <QBuffer>
#include <QMessageBox>
#include <csignal>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/jpeg.h"
#include "app/platform.h"
#include "core/text.h"
#include "window_fixture.h"

namespace {

class HardeningTest : public WindowTest {
 protected:
  void CopyShipped(const char* rel) {
    fs::create_directories((main_ / rel).parent_path());
    fs::copy_file(fs::path(KV_DIST_DIR) / rel, main_ / rel, fs::copy_options::overwrite_existing);
  }
  void CopyAllData() {
    CopyPicture();
    CopyShipped("Html/gradus.txt");
    CopyShipped("System/DayMoon.doc");
    for (int i = 1; i <= 12; ++i) {
      const std::string n =
          std::string(i < 10 ? "Html/images/0" : "Html/images/") + std::to_string(i) + ".gif";
      CopyShipped(n.c_str());
    }
  }
  // Types into a spin edit as a user would, then leaves it.
  void Type(kvapp::TSpinEdit* e, const QString& text) {
    e->setFocus();
    e->setText(text);
    form_->BitBtn7->setFocus();
  }
  void ClickListLine(QListWidget* l, int row) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
  }
  static std::string Read(const fs::path& p) { return ReadBytes(p); }
  static void Write(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  // A file where a folder should be: nothing can be written inside it,
  // even by root, who is not stopped by permissions.
  void BlockFolder(const char* rel) {
    fs::remove_all(main_ / rel);
    Write(main_ / rel, "in the way");
  }
  std::vector<QString> TakeMessages() {
    std::vector<QString> m;
    m.swap(messages_);
    critical_.clear();
    return m;
  }
};

struct SpinCase {
  int tab;
  kvapp::TSpinEdit* TZKV_LoveForm::*edit;
  QPushButton* TZKV_LoveForm::*button;
  const char* message;  // %1: what was typed
};

}  // namespace

// Every field, read by its button, names itself, what it holds and what it
// takes, and the tab's results stay as the press before left them.
TEST_F(HardeningTest, HalfTypedNumbersAreRefusedByEveryButton) {
  CopyAllData();
  auto& f = Start();
  const std::vector<SpinCase> cases = {
      {1, &TZKV_LoveForm::SpinEdit1, &TZKV_LoveForm::BitBtn10,
       "День рождения: «%1» — не целое число; введите день от 1 до 31"},
      {1, &TZKV_LoveForm::SpinEdit2, &TZKV_LoveForm::BitBtn10,
       "Месяц рождения: «%1» — не целое число; введите месяц от 1 до 12"},
      {1, &TZKV_LoveForm::SpinEdit3, &TZKV_LoveForm::BitBtn10,
       "Год рождения: «%1» — не целое число; введите год от -2000 до 3000"},
      {1, &TZKV_LoveForm::SpinEdit4, &TZKV_LoveForm::BitBtn10,
       "Первый год анализа: «%1» — не целое число; введите год от 1900 до 2050"},
      {2, &TZKV_LoveForm::SpinEdit5, &TZKV_LoveForm::BitBtn1,
       "День: «%1» — не целое число; введите день от 1 до 31"},
      {2, &TZKV_LoveForm::SpinEdit6, &TZKV_LoveForm::BitBtn1,
       "Месяц: «%1» — не целое число; введите месяц от 1 до 12"},
      {2, &TZKV_LoveForm::SpinEdit7, &TZKV_LoveForm::BitBtn1,
       "Год: «%1» — не целое число; введите год от 1900 до 2100"},
      {2, &TZKV_LoveForm::SpinEdit8, &TZKV_LoveForm::BitBtn1,
       "Час: «%1» — не целое число; введите час от 0 до 23"},
      {2, &TZKV_LoveForm::SpinEdit9, &TZKV_LoveForm::BitBtn1,
       "Минуты: «%1» — не целое число; введите минуты от 0 до 59"},
      {3, &TZKV_LoveForm::SpinEdit22, &TZKV_LoveForm::BitBtn5,
       "Год: «%1» — не целое число; введите год от 0 до 3000"},
      {4, &TZKV_LoveForm::SpinEdit21, &TZKV_LoveForm::BitBtn7,
       "Год: «%1» — не целое число; введите год от 1900 до 2050"},
  };
  // The results a refused press must leave alone: every tab's.
  f.PageControl1->setCurrentIndex(1);
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  f.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  f.PageControl1->setCurrentIndex(3);
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  f.RadioGroup1Items->button(0)->click();
  f.PageControl1->setCurrentIndex(4);
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  ASSERT_TRUE(TakeMessages().empty());
  const auto results = [&] {
    return std::vector<std::string>{
        Read(main_ / "Html/Scan1.txt"),
        Read(main_ / "Html/Scan2.txt"),
        Read(main_ / "Html/Gradus_html.html"),
        Read(kv::LunDay_Name),
        std::to_string(f.Image3->pixmap().cacheKey()) + " " +
            std::to_string(f.Image4->pixmap().cacheKey()),
        f.Memo1->toPlainText().toStdString(),
        f.Panel7->caption().toStdString(),
        std::to_string(f.ListBox1->count()) + " " + std::to_string(f.ListBox2->count()) + " " +
            std::to_string(f.RadioGroup1ItemIndex()),
        std::to_string(f.Panel8->isHidden()) + std::to_string(f.Panel2->isHidden()) +
            std::to_string(f.Panel1->isHidden())};
  };
  for (const SpinCase& c : cases) {
    f.PageControl1->setCurrentIndex(c.tab);  // to the lunar tab: its hint in the text area
    const std::vector<std::string> before = results();
    kvapp::TSpinEdit* e = f.*c.edit;
    const QString good = e->text();
    for (const QString& bad : {QString(), QStringLiteral("-"), QStringLiteral("+"),
                               QStringLiteral("  "), QStringLiteral("99999999999")}) {
      const std::string where = e->objectName().toStdString() + " = '" + bad.toStdString() + "'";
      e->setText(bad);
      QTest::mouseClick(f.*c.button, Qt::LeftButton);
      const auto m = TakeMessages();
      ASSERT_EQ(m.size(), 1u) << where;
      EXPECT_EQ(m[0], U(c.message).arg(bad)) << where;
      EXPECT_EQ(e->text(), bad) << where;  // what was typed stays for correcting
      EXPECT_FALSE(f.compatRunning()) << where;
      const std::vector<std::string> after = results();
      for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(after[i] == before[i]) << where << ", result " << i;
      EXPECT_EQ(f.PageControl1->currentIndex(), c.tab) << where;
    }
    e->setText(good);
  }

  // The month buttons read the year too, and leave the month shown.
  f.PageControl1->setCurrentIndex(3);
  const std::vector<std::string> before = results();
  f.SpinEdit22->setText(QStringLiteral("-"));
  f.RadioGroup1Items->button(4)->click();
  const auto m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], U(cases[9].message).arg(QStringLiteral("-")));
  EXPECT_EQ(results(), before);

  // Thousands of digits: the message shows their beginning.
  f.SpinEdit22->setText(QString(5000, u'9'));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], U(cases[9].message).arg(QString(40, u'9') + U("…")));
}

TEST_F(HardeningTest, ValuesAtTheControlsLimitsGiveResults) {
  CopyAllData();
  auto& f = Start();

  // The eclipse tab's first and last years.
  f.PageControl1->setCurrentIndex(4);
  for (const char* typed : {"1000", "9999"}) {
    Type(f.SpinEdit21, QString::fromLatin1(typed));
    QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
    ASSERT_TRUE(TakeMessages().empty()) << typed;
    EXPECT_GT(f.ListBox2->count(), 7) << typed;  // headings and at least two eclipses
  }
  EXPECT_EQ(f.SpinEdit21->text(), QStringLiteral("2050"));
  EXPECT_TRUE(f.ListBox2->item(5)->text().contains(QStringLiteral(".2050")))
      << f.ListBox2->item(5)->text().toStdString();

  // The lunar tab's year 0 and 3000: months, days and a description.
  f.PageControl1->setCurrentIndex(3);
  for (const char* typed : {"0", "3000"}) {
    Type(f.SpinEdit22, QString::fromLatin1(typed));
    QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
    ASSERT_TRUE(TakeMessages().empty()) << typed;
    EXPECT_GE(f.Memo1->toPlainText().count(QLatin1Char('\n')), 16) << typed;
    f.RadioGroup1Items->button(13)->click();  // the last month reaches into the next year
    ASSERT_TRUE(TakeMessages().empty()) << typed;
    ASSERT_GE(f.ListBox1->count(), 27) << typed;
    ClickListLine(f.ListBox1, f.ListBox1->count() - 1);
    ASSERT_TRUE(TakeMessages().empty()) << typed;
    EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral(" GMT"))) << typed;
  }

  // The report for 31 February (the controls allow it) of the first and last years.
  f.PageControl1->setCurrentIndex(2);
  for (const char* typed : {"1", "99999"}) {
    Type(f.SpinEdit5, QStringLiteral("31"));
    Type(f.SpinEdit6, QStringLiteral("2"));
    Type(f.SpinEdit7, QString::fromLatin1(typed));
    Type(f.SpinEdit8, QStringLiteral("30"));
    Type(f.SpinEdit9, QStringLiteral("60"));
    QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(TakeMessages().empty()) << typed;
    EXPECT_TRUE(f.Panel1->isVisible());
    const std::string page = Read(main_ / "Html/Gradus_html.html");
    EXPECT_NE(page.find(" 23:59 "), std::string::npos) << typed;
    EXPECT_NE(page.find("</html>"), std::string::npos) << typed;
  }
  EXPECT_EQ(f.SpinEdit7->text(), QStringLiteral("2100"));

  // The compatibility run for 31 February of the years -2000 and 3000,
  // from the first and the last start year.
  f.PageControl1->setCurrentIndex(1);
  for (const auto& [year, start] : {std::pair{"-9999", "0"}, std::pair{"9999", "9999"}}) {
    Type(f.SpinEdit1, QStringLiteral("31"));
    Type(f.SpinEdit2, QStringLiteral("2"));
    Type(f.SpinEdit3, QString::fromLatin1(year));
    Type(f.SpinEdit4, QString::fromLatin1(start));
    QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
    ASSERT_TRUE(WaitForCompatRun());
    ASSERT_TRUE(TakeMessages().empty()) << year;
    EXPECT_EQ(CountLines(main_ / "Html/Scan1.txt"), 1440) << year;
    EXPECT_EQ(CountLines(main_ / "Html/Scan2.txt"), 1440) << year;
    EXPECT_TRUE(f.Panel2->isVisible());
  }
  EXPECT_EQ(f.SpinEdit3->text(), QStringLiteral("3000"));
  EXPECT_EQ(f.SpinEdit4->text(), QStringLiteral("2050"));
}

TEST_F(HardeningTest, MissingFoldersAreReportedAndTheWindowGoesOn) {
  CopyAllData();
  auto& f = Start();
  const std::string before = Read(main_ / "System/DayMoon.doc");

  // No System folder: the lunar listing cannot be written.
  fs::remove_all(main_ / "System");
  f.PageControl1->setCurrentIndex(3);
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  auto m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].contains(QStringLiteral("F_LunDay.tmp"))) << m[0].toStdString();
  f.RadioGroup1Items->button(0)->click();
  m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(f.ListBox1->count(), 0);

  // Back again: the same window works.
  fs::create_directories(main_ / "System");
  Write(main_ / "System/DayMoon.doc", before);
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  ASSERT_TRUE(TakeMessages().empty());
  f.RadioGroup1Items->button(0)->click();
  ASSERT_TRUE(TakeMessages().empty());
  EXPECT_GE(f.ListBox1->count(), 27);

  // Html and System blocked by files (a read-only main directory, as far
  // as root can be stopped): every button reports, nothing is lost.
  const std::string listing = Read(kv::LunDay_Name);
  BlockFolder("Html");
  for (const auto& [tab, button] : {std::pair{1, f.BitBtn10}, std::pair{2, f.BitBtn1}}) {
    f.PageControl1->setCurrentIndex(tab);
    QTest::mouseClick(button, Qt::LeftButton);
    m = TakeMessages();
    ASSERT_EQ(m.size(), 1u) << tab;
    EXPECT_TRUE(m[0].contains(QStringLiteral("Html/"))) << m[0].toStdString();
  }
  EXPECT_FALSE(f.compatRunning());
  EXPECT_TRUE(f.Panel1->isHidden());
  EXPECT_EQ(Read(main_ / "Html"), "in the way");

  f.PageControl1->setCurrentIndex(3);
  ClickListLine(f.ListBox1, 0);
  ASSERT_TRUE(TakeMessages().empty());  // System is still there
  BlockFolder("System");
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].contains(QStringLiteral("F_LunDay.tmp"))) << m[0].toStdString();
  // The month choice needs no file: the lunar days of the last phase table
  // that was written, under its listing; a day's description files cannot
  // be written.
  f.RadioGroup1Items->button(2)->click();
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(f.Memo1->toPlainText().toStdString() + "\n", kv::FromCp1251Text(listing));
  EXPECT_GE(f.ListBox1->count(), 27);
  ClickListLine(f.ListBox1, 0);
  m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].contains(QStringLiteral("System/"))) << m[0].toStdString();
  EXPECT_EQ(Read(main_ / "System"), "in the way");

  // The eclipse tab needs no files.
  f.PageControl1->setCurrentIndex(4);
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_GT(f.ListBox2->count(), 5);
  EXPECT_FALSE(listing.empty());
}

TEST_F(HardeningTest, BrokenDataFilesAreReportedAndKeepTheLastResults) {
  CopyAllData();
  auto& f = Start();

  // A good report first, then a base with a header whose key is not a number.
  f.PageControl1->setCurrentIndex(2);
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_TRUE(TakeMessages().empty());
  const std::string page = Read(main_ / "Html/Gradus_html.html");
  ASSERT_NE(page.find("</html>"), std::string::npos);
  const std::string base = Read(main_ / "Html/gradus.txt");
  Write(main_ / "Html/gradus.txt", "*  x9\r\nbroken\r\n" + base);
  Type(f.SpinEdit7, QStringLiteral("1999"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  auto m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], U("' x9' is not a valid integer value в файле «%1Html/gradus.txt», строка 1")
                      .arg(QString::fromStdString(MainDir())));
  EXPECT_EQ(Read(main_ / "Html/Gradus_html.html"), page);
  for (const auto& e : fs::directory_iterator(main_ / "Html"))
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
  // An empty base: the report is written without degree texts.
  Write(main_ / "Html/gradus.txt", "");
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_NE(Read(main_ / "Html/Gradus_html.html"), page);

  // Lunar day descriptions: a marker field that is not a number, and a
  // block that never ends.
  f.PageControl1->setCurrentIndex(3);
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  f.RadioGroup1Items->button(0)->click();
  ASSERT_TRUE(TakeMessages().empty());
  const std::string doc = Read(main_ / "System/DayMoon.doc");
  Write(main_ / "System/DayMoon.doc", "* ab  1  1  1  1  1  1\r\ntext\r\n@\r\n" + doc);
  ClickListLine(f.ListBox1, 0);
  m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(
      m[0].endsWith(U("is not a valid integer value в файле «%1System/DayMoon.doc», строка 1")
                        .arg(QString::fromStdString(MainDir()))))
      << m[0].toStdString();
  Write(main_ / "System/DayMoon.doc",
        doc + "\r\n* 99 99 99 99 99 99 99\r\n" + std::string(30000, 'a'));
  ClickListLine(f.ListBox1, 1);
  m = TakeMessages();
  EXPECT_TRUE(m.empty()) << m[0].toStdString();  // the endless block is not the one looked for
  EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral(" GMT")));
  Write(main_ / "System/DayMoon.doc", "");
  ClickListLine(f.ListBox1, 2);
  m = TakeMessages();  // no description: the times, and what is missing where
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].startsWith(U("Нет описания лунного дня 3 в файле «%1System/DayMoon.doc»")
                                  .arg(QString::fromStdString(MainDir()))))
      << m[0].toStdString();
  EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral(" GMT")));
}

TEST_F(HardeningTest, PressesDuringTheRunLeaveTheScanFilesWhole) {
  CopyAllData();
  // The same run without interference, for comparison.
  const fs::path ref = root_ / "reference";
  fs::create_directories(ref / "Html");
  const std::string cmd = std::string("'") + KV_DIST_DIR + "/kvlove' --main-dir '" + ref.string() +
                          "' compat 15.06.1985 1980 > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  int pressed = 0;
  std::function<void()> next;
  const std::vector<std::function<void()>> presses = {
      [&] { QTest::mouseClick(f.BitBtn10, Qt::LeftButton); },
      [&] {
        f.PageControl1->setCurrentIndex(2);
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
      },
      [&] {
        f.PageControl1->setCurrentIndex(3);
        QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
      },
      [&] { f.RadioGroup1Items->button(4)->click(); },
      [&] { ClickListLine(f.ListBox1, 3); },
      [&] {
        f.PageControl1->setCurrentIndex(4);
        QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
      },
      [&] {
        for (auto* b : {f.BitBtn6, f.BitBtn2, f.BitBtn3, f.BitBtn9, f.BitBtn8})
          QTest::mouseClick(b, Qt::LeftButton);
      },
      [&] { QTest::mouseClick(f.Image6, Qt::LeftButton, {}, QPoint(970, 600)); },
      [&] { f.PageControl1->setCurrentIndex(0); },
      [&] {
        f.PageControl1->setCurrentIndex(1);
        QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
      },
  };
  next = [&] {
    if (!f.compatRunning() || pressed == static_cast<int>(presses.size())) return;
    presses[pressed++]();
    QTimer::singleShot(0, &f, next);  // between two steps of the run
  };
  QTimer::singleShot(0, &f, next);
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  EXPECT_EQ(pressed, static_cast<int>(presses.size()));
  // Only the help buttons complain: there is no help file here.
  for (const QString& m : messages_)
    EXPECT_TRUE(m.startsWith(QStringLiteral("Unable to open help file"))) << m.toStdString();
  EXPECT_EQ(messages_.size(), 5u);
  EXPECT_EQ(Read(main_ / "Html/Scan1.txt"), Read(ref / "Html/Scan1.txt"));
  EXPECT_EQ(Read(main_ / "Html/Scan2.txt"), Read(ref / "Html/Scan2.txt"));
  // The other tabs' results came through as well.
  EXPECT_GE(f.ListBox1->count(), 27);
  EXPECT_GT(f.ListBox2->count(), 5);
  EXPECT_TRUE(fs::exists(main_ / "Html/Gradus_html.html"));
  EXPECT_TRUE(f.Panel2->isVisible());
}

TEST_F(HardeningTest, AMessageBoxOfAnotherButtonDoesNotHoldUpTheRun) {
  CopyPicture();
  auto& f = Start();
  // The modal box a help button shows without a help file: the run goes on
  // under it, bar after bar.
  bool advanced = false;
  f.messageBox = [&](const QString& text, bool) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Korvella Love"), text, QMessageBox::Ok,
                    &f);
    const QImage before = f.Image3->pixmap().toImage();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &box, [&] {
      advanced = f.Image3->pixmap().toImage() != before;
      if (advanced) box.accept();
    });
    watch.start(20);
    QTimer::singleShot(10000, &box, &QMessageBox::reject);  // a run held up: give up
    box.exec();
  };
  f.PageControl1->setCurrentIndex(1);
  QTimer::singleShot(0, &f, [&] { QTest::mouseClick(f.BitBtn2, Qt::LeftButton); });
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  EXPECT_TRUE(advanced);
  EXPECT_EQ(CountLines(main_ / "Html/Scan2.txt"), 1440);
}

TEST_F(HardeningTest, PictureThatIsNoFileIsRefusedWithoutWaiting) {
  const fs::path moon = main_ / "Html/images/moon.jpg";
  fs::create_directories(moon.parent_path());
  fs::remove(moon);
  ASSERT_EQ(::mkfifo(moon.c_str(), 0600), 0);  // without a writer an open would wait forever
  Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(U("moon.jpg»: это канал (FIFO)")))
      << messages_[0].toStdString();
  fs::remove(moon);
  fs::create_symlink("/dev/zero", moon);
  EXPECT_THROW(kvapp::LoadJpeg(moon.string()), std::runtime_error);
}

TEST_F(HardeningTest, PictureClaimingHugeSizesIsRefusedBeforeItIsAllocated) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(QImage(16, 8, QImage::Format_RGB32).save(&buffer, "JPG"));
  const qsizetype sof = jpeg.indexOf("\xFF\xC0");
  const auto claim = [&](int w, int h) {  // the same few hundred bytes, another size
    const char size[] = {static_cast<char>(h >> 8), static_cast<char>(h), static_cast<char>(w >> 8),
                         static_cast<char>(w)};
    Write(main_ / "Html/images/moon.jpg", jpeg.replace(sof + 5, 4, size, 4).toStdString());
  };
  for (const auto& [w, h] : {std::pair{16385, 1}, std::pair{1, 16385}, std::pair{8193, 8192}}) {
    claim(w, h);
    EXPECT_THROW(kvapp::LoadJpeg(MainDir() + "Html/images/moon.jpg"), std::runtime_error)
        << w << " x " << h;
  }
  claim(65500, 65500);
  auto& f = Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(U("moon.jpg»: 65500 x 65500 точек")))
      << messages_[0].toStdString();
  EXPECT_TRUE(f.Panel8->isHidden());  // the rest of the start-up ran
  EXPECT_EQ(kv::LunDay_Name, MainDir() + "System/F_LunDay.tmp");
}

// Settings that cannot be read as settings: named, kept aside (the newest
// only) and started afresh, never rewritten around what they hold.
TEST_F(HardeningTest, SettingsThatCannotBeReadAreKeptAsideAndStartAfresh) {
  CopyPicture();
  const fs::path ini = root_ / "config/Korvella_Love.ini";
  const fs::path aside = root_ / "config/Korvella_Love.ini.damaged";
  Write(ini, "[Korvella\nrMainDir=/elsewhere/\n");  // a section never closed
  Start();
  ASSERT_EQ(TakeMessages().size(), 1u);
  EXPECT_EQ(Read(aside), "[Korvella\nrMainDir=/elsewhere/\n");
  EXPECT_EQ(kv::MainDir, MainDir());
  form_.reset();

  // 3 MB of garbage: not read whole, not grown, the earlier one replaced.
  std::string garbage(3 << 20, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<char>(i * 2654435761u >> 13);
  Write(ini, garbage);
  Start();
  const std::vector<QString> m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_TRUE(m[0].contains(QString::fromStdString(ini.string()))) << m[0].toStdString();
  EXPECT_TRUE(m[0].contains(U("не читается как настройки"))) << m[0].toStdString();
  EXPECT_TRUE(m[0].contains(U("Korvella_Love.ini.damaged"))) << m[0].toStdString();
  EXPECT_EQ(fs::file_size(aside), garbage.size());
  EXPECT_LT(fs::file_size(ini), 1000u);
  EXPECT_NE(Read(ini).find("rMainDir=" + MainDir()), std::string::npos);
  EXPECT_EQ(kv::MainDir, MainDir());
}

// A pipe in the settings' place would hold the window before it appears.
TEST_F(HardeningTest, SettingsThatAreNoFileAreRefusedWithoutWaiting) {
  CopyPicture();
  const fs::path ini = root_ / "config/Korvella_Love.ini";
  ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
  auto& f = Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(
      messages_[0].contains(QString::fromStdString(ini.string()) + U("» — не обычный файл")))
      << messages_[0].toStdString();
  EXPECT_EQ(kv::SysDir, MainDir() + "System/");
  EXPECT_TRUE(f.Panel8->isHidden());
}

// Without HOME the settings go to the account's home, never to the root.
TEST_F(HardeningTest, WithoutHomeTheAccountsHomeHoldsTheSettings) {
  const QByteArray home = qgetenv("HOME");
  qunsetenv("HOME");
  qunsetenv("XDG_CONFIG_HOME");
  const QString file = kvapp::SettingsFileName();
  qputenv("HOME", home);
  qputenv("XDG_CONFIG_HOME", (root_ / "config").c_str());
  const struct passwd* pw = ::getpwuid(::getuid());
  ASSERT_NE(pw, nullptr);
  EXPECT_EQ(file, QString::fromLocal8Bit(pw->pw_dir) + "/.config/Korvella_Love.ini");
}

// A signal mid-run ends it at a whole point, as closing the window does.
TEST_F(HardeningTest, SignalMidRunEndsItWithoutPartFiles) {
  CopyPicture();
  auto& f = Start();
  kvapp::SignalCatcher catcher;
  QObject::connect(&catcher, &kvapp::SignalCatcher::caught, &f, &QWidget::close);
  f.PageControl1->setCurrentIndex(1);
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Panel8->isVisible(); }));
  ASSERT_EQ(::raise(SIGTERM), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !f.isVisible(); }));
  EXPECT_FALSE(f.compatRunning());
  for (const auto& e : fs::directory_iterator(main_ / "Html"))
    EXPECT_EQ(e.path().filename(), "images");
}
