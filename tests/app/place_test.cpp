// The window at the user's own place and at a place of birth, and today's
// lunar day: the fields driven as a user types into them.
#include <QAbstractItemView>
#include <QCompleter>
#include <QRegularExpression>
#include <QSettings>

#include "app/place_tabs.h"
#include "app/today.h"
#include "core/calendar.h"
#include "core/text.h"
#include "lunar/lunardays.h"
#include "window_fixture.h"

namespace {

class PlaceTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CopyPicture();
  }
  void TearDown() override {
    kvapp::Now = kvapp::SystemNow;
    WindowTest::TearDown();
  }
  // Typed into the field and taken with Return, as a user does.
  static void Type(kvapp::PlaceEdit* e, const QString& text) {
    e->setFocus();
    e->completer()->popup()->hide();  // Return goes to the offer while it is up
    e->setText(text);
    QTest::keyClick(e, Qt::Key_Return);
  }
  static QStringList Lines(QListWidget* l) {
    QStringList s;
    for (int i = 0; i < l->count(); ++i) s << l->item(i)->text();
    return s;
  }
  QStringList MonthDays(TZKV_LoveForm& f, const char* year, int month) {
    f.PageControl1->setCurrentIndex(3);
    f.SpinEdit22->setText(QString::fromLatin1(year));
    QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
    QTest::mouseClick(f.RadioGroup1Items->button(month - 1), Qt::LeftButton);
    return Lines(f.ListBox1);
  }
  bool KeptPlace() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvella_Love"))
        .allKeys()
        .join(QLatin1Char(' '))
        .contains(QStringLiteral("rPlace"));
  }
};

TEST_F(PlaceTest, UserPlaceChangesTheLunarDaysAndIsKept) {
  fs::copy_file(fs::path(KV_DIST_DIR) / "System/DayMoon.doc", main_ / "System/DayMoon.doc");
  auto& f = Start();
  auto& p = f.Places();
  const QStringList greenwich = MonthDays(f, "2008", 2);
  const QString caption = f.Panel7->caption();

  // Offered as the first letters are typed, Latin too, with region and country.
  p.LunarPlaceEdit->setFocus();
  QTest::keyClicks(p.LunarPlaceEdit, QStringLiteral("Novosib"));
  const auto* offers = p.LunarPlaceEdit->completer()->completionModel();
  ASSERT_GE(offers->rowCount(), 1);
  EXPECT_EQ(offers->index(0, 0).data().toString(),
            U("Новосибирск — Новосибирская область, Россия"));
  Type(p.LunarPlaceEdit, offers->index(0, 0).data().toString());
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  ASSERT_TRUE(p.UserPlace());
  EXPECT_EQ(p.EclipsePlaceEdit->text(), p.UserPlace()->title);              // one place, both tabs
  EXPECT_TRUE(f.ListBox1->count() == 0 && f.RadioGroup1ItemIndex() == -1);  // reckoned afresh

  // Moonrises seven hours east of Greenwich, dated by Novosibirsk's clock.
  const QStringList there = MonthDays(f, "2008", 2);
  EXPECT_NE(there, greenwich);
  EXPECT_EQ(f.Panel7->caption(), caption + U(", Новосибирск, Asia/Novosibirsk"));
  f.ListBox1->setCurrentRow(0);
  EXPECT_TRUE(f.Memo1->toPlainText().contains(QStringLiteral("UTC+06:00")))
      << f.Memo1->toPlainText().toStdString();
  EXPECT_TRUE(f.Memo1->toPlainText().contains(U("лунн"))) << "the day's description";

  // Kept: the next start reckons there too; emptied, the window is Greenwich's again.
  form_.reset();
  messages_.clear();
  auto& g = Start();
  ASSERT_TRUE(g.Places().UserPlace());
  EXPECT_EQ(g.Places().LunarPlaceEdit->text(), U("Новосибирск, Россия"));  // a narrow field
  EXPECT_EQ(MonthDays(g, "2008", 2), there);
  Type(g.Places().EclipsePlaceEdit, QString());
  EXPECT_FALSE(g.Places().UserPlace());
  EXPECT_EQ(MonthDays(g, "2008", 2), greenwich);
  EXPECT_EQ(g.Panel7->caption(), caption);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PlaceTest, BadPlacesAreRefusedAndNothingIsKept) {
  auto& f = Start();
  auto& p = f.Places();
  const auto refused = [&](const QString& typed, const char* says) {
    messages_.clear();
    Type(p.LunarPlaceEdit, typed);
    EXPECT_FALSE(p.UserPlace()) << typed.toStdString();
    EXPECT_EQ(p.LunarPlaceEdit->text(), QString()) << "the field shows the place kept";
    ASSERT_EQ(messages_.size(), 1u) << typed.toStdString();
    EXPECT_TRUE(critical_.back());
    EXPECT_TRUE(messages_[0].contains(U(says))) << messages_[0].toStdString();
  };
  refused(U("Новосибирсг"), "Новосибирск — Новосибирская область, Россия");  // nearest names
  refused(U("Новосибирсг"), "нет в атласе");
  refused(QStringLiteral("91, 30"), "Широта 91");
  refused(QStringLiteral("55, -181"), "Долгота -181");
  refused(QStringLiteral("55, 37 Mars/Olympus"), "Mars/Olympus");
  EXPECT_FALSE(KeptPlace());

  // Coordinates alone keep Greenwich's clock, with a zone its clock.
  messages_.clear();
  Type(p.EclipsePlaceEdit, QStringLiteral("55.75, 37.62 +3"));
  ASSERT_TRUE(p.UserPlace());
  EXPECT_EQ(p.UserPlace()->title, QStringLiteral("55.75, 37.62 +3"));
  EXPECT_TRUE(KeptPlace());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PlaceTest, EclipsesAreTimedAndSeenFromTheUserPlace) {
  auto& f = Start();
  f.SpinEdit21->setText(QStringLiteral("2025"));
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  const QStringList greenwich = Lines(f.ListBox2);
  Type(f.Places().EclipsePlaceEdit, U("Москва"));
  EXPECT_EQ(f.Places().UserPlace()->title, U("Москва — Москва, Россия"));  // the most populous
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  const QStringList moscow = Lines(f.ListBox2);
  // Each eclipse is followed by what Moscow sees of it: of 2025's, the
  // lunar one of 14 March happens with the Moon set there, the one of
  // 7 September high in its sky; the solar one of 21 September is southern.
  QStringList seen;
  static const QRegularExpression eclipse(QStringLiteral("^ \\d+  "));
  for (int i = 1; i < moscow.size(); ++i)
    if (moscow[i - 1].contains(eclipse)) seen << moscow[i - 1].mid(4, 10) + moscow[i];
  ASSERT_EQ(seen.size(), 4) << moscow.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(seen[0].startsWith(U("14.03.2025      не видно: Луна под горизонтом")))
      << seen[0].toStdString();
  EXPECT_TRUE(seen[2].startsWith(U("07.09.2025      видно: максимум в 21:")))
      << seen[2].toStdString();
  EXPECT_TRUE(seen[3].contains(U("не видно"))) << seen[3].toStdString();
  // Times by Moscow's clock, three hours after Greenwich's.
  EXPECT_TRUE(greenwich.join(QLatin1Char('\n')).contains(QStringLiteral("07.09.2025  18:")));
  EXPECT_TRUE(moscow.join(QLatin1Char('\n')).contains(QStringLiteral("07.09.2025  21:")));
  EXPECT_TRUE(moscow.last().contains(QStringLiteral("Europe/Moscow")));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PlaceTest, BirthPlaceConvertsTheClockThroughItsHistory) {
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  auto& f = Start();
  const fs::path page = main_ / "Html/Gradus_html.html";
  const auto report = [&](const char* d, const char* m, const char* y, const char* h,
                          const char* min) {
    messages_.clear();
    f.SpinEdit5->setText(QString::fromLatin1(d));
    f.SpinEdit6->setText(QString::fromLatin1(m));
    f.SpinEdit7->setText(QString::fromLatin1(y));
    f.SpinEdit8->setText(QString::fromLatin1(h));
    f.SpinEdit9->setText(QString::fromLatin1(min));
    QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
    return QString::fromStdString(kv::FromCp1251(ReadBytes(page)));
  };
  const QString moscowTime = report("15", "7", "1985", "12", "15");
  Type(f.Places().BirthPlaceEdit, U("Москва, Россия"));
  // Summer 1985: Moscow's clock was four hours ahead, not three; the Moon
  // of the chart is an hour earlier.
  const QString local = report("15", "7", "1985", "12", "15");
  EXPECT_TRUE(local.contains(U("12:15, Москва, UTC+04:00)"))) << local.toStdString();
  EXPECT_NE(local.mid(local.indexOf(U("Луна"))), moscowTime.mid(moscowTime.indexOf(U("Луна"))));
  // January 1985: UTC+3, the same moment as Moscow time.
  EXPECT_TRUE(report("15", "1", "1985", "12", "15").contains(U("Москва, UTC+03:00)")));

  // The spring gap of 27 March 2011 is refused naming it; nothing is written.
  const std::string before = ReadBytes(page);
  report("27", "3", "2011", "2", "30");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(U("часы переводили вперёд с 02:00 на 03:00")))
      << messages_[0].toStdString();
  EXPECT_EQ(ReadBytes(page), before);
  // The autumn hour of 26 October 2014 happened twice: the first is taken, and said.
  EXPECT_TRUE(report("26", "10", "2014", "1", "30")
                  .contains(U("1:30, Москва, UTC+04:00; это время было дважды")));
  // Coordinates without a zone give no clock to read the hour by.
  Type(f.Places().BirthPlaceEdit, QStringLiteral("55.75, 37.62"));
  report("15", "7", "1985", "12", "15");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(U("нужен часовой пояс")));
}

TEST_F(PlaceTest, TodaySelectsTodaysLunarDay) {
  fs::copy_file(fs::path(KV_DIST_DIR) / "System/DayMoon.doc", main_ / "System/DayMoon.doc");
  // 7 September 2025 18:00 GMT: the full moon's day; 3 January 2025, in the
  // last of 2024's fourteen lunar months.
  for (const double today :
       {kv::DayNumber(7, 9, 2025, 18, 0, 0), kv::DayNumber(3, 1, 2025, 12, 0, 0)}) {
    kvapp::Now = [today] { return today; };
    form_.reset();
    auto& f = Start();
    // The start page has its figures once the window is up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Places().TodayLabel->isVisibleTo(f.TabSheet1); }));
    const auto day = kv::LunarDayAt(today, {kv::Obs_Longitude, kv::Obs_Latitude, {}});
    ASSERT_TRUE(day);
    EXPECT_TRUE(f.Places().TodayLabel->text().contains(QStringLiteral(": %1-").arg(day->Day)))
        << f.Places().TodayLabel->text().toStdString();

    QTest::keyClick(&f, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
    EXPECT_EQ(f.PageControl1->currentIndex(), 3);
    const int row = f.ListBox1->currentRow();
    ASSERT_GE(row, 0);
    EXPECT_LE(kv::LunarDay_Starts[row], today);
    EXPECT_GT(kv::LunarDay_Starts[row + 1], today);
    EXPECT_EQ(row + 1, day->Day);
    EXPECT_TRUE(f.ListBox1->item(row)->font().bold());
    EXPECT_TRUE(f.Memo1->toPlainText()
                    .split(QLatin1Char('\n'))
                    .value(1)
                    .startsWith(U(" Начало лунного дня")))
        << f.Memo1->toPlainText().left(80).toStdString();
  }
  // At a place: the button, and the day of its moonrises.
  auto& f = *form_;
  Type(f.Places().LunarPlaceEdit, U("Владивосток"));
  QTest::mouseClick(f.Places().TodayButton, Qt::LeftButton);
  const auto day = kv::LunarDayAt(kvapp::Now(), f.Places().UserPlace()->Place());
  ASSERT_TRUE(day);
  EXPECT_EQ(f.ListBox1->currentRow() + 1, day->Day);
  EXPECT_TRUE(f.Panel7->caption().contains(U("Владивосток, Asia/Vladivostok")));
}

}  // namespace

// The listing shown above a month's lunar days is of the calculation its
// lunar month table came from, made at a place or not.
TEST_F(PlaceTest, MonthAfterThePlaceIsTurnedOffShowsTheLastListing) {
  auto& f = Start();
  const auto month = [&] {
    f.RadioGroup1Items->button(0)->click();
    return f.Memo1->toPlainText();
  };
  f.PageControl1->setCurrentIndex(3);
  f.SpinEdit22->setText(QStringLiteral("2020"));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  Type(f.Places().LunarPlaceEdit, QStringLiteral("55.75, 37.62"));
  f.SpinEdit22->setText(QStringLiteral("2024"));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  Type(f.Places().LunarPlaceEdit, QString());
  ASSERT_FALSE(f.Places().UserPlace());
  const QString shown = month();
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  EXPECT_EQ(shown, month());
  EXPECT_TRUE(shown.contains(QStringLiteral("2024"))) << shown.toStdString();
  EXPECT_TRUE(messages_.empty()) << messages_[0].toStdString();
}
