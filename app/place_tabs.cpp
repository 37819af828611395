#include "place_tabs.h"

#include <QShortcut>
#include <QTimer>
#include <cmath>

#include "KV_Love.h"
#include "entries.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "core/text.h"
#include "degrees/degree_report.h"
#include "eclipse/eclipse_list.h"
#include "eclipse/visibility.h"
#include "lunar/daytext.h"
#include "desktop.h"
#include "lunar/phases.h"
#include "today.h"

namespace kvapp {

namespace {

QString W(const std::string& cp1251) { return QString::fromStdString(kv::FromCp1251(cp1251)); }

QFont Arial(int px, bool bold = false) {
  QFont f(InstalledFace(QStringLiteral("Arial")));
  f.setPixelSize(px);
  f.setBold(bold);
  return f;
}

QLabel* Caption(QWidget* parent, const char* text, int x, int y) {
  auto* l = new QLabel(U(text), parent);
  l->setFont(Arial(15));
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, Qt::white);
  p.setColor(QPalette::Window, Qt::black);
  l->setPalette(p);
  l->setAutoFillBackground(true);
  l->move(x, y);
  l->adjustSize();
  return l;
}

PlaceEdit* NewPlaceEdit(QWidget* parent, const char* name, const char* description, QRect r,
                        int px) {
  auto* e = new PlaceEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(r);
  e->setFont(Arial(px));
  QPalette p = e->palette();
  p.setColor(QPalette::Base, QColor(0xFF, 0xFC, 0xD7));
  p.setColor(QPalette::Text, Qt::black);
  e->setPalette(p);
  e->setAccessibleDescription(U(description));
  return e;
}

QString Clock(double x, const kv::LocalClock& clock) {
  std::string date, time;
  kv::DayNumberToStrings(clock.Local(x) + 0.5 / 1440, date, time);  // to the nearest minute
  return QString::fromStdString(time.substr(0, 5) + " " + date.substr(0, 5));
}

// The line under an eclipse: whether and how it is seen from the place.
QString Seen(const kv::TEclipseData& e, const kv::LocalEclipse& l, const kv::LocalClock& clock) {
  const QString body = e.Lunar ? U("Луна") : U("Солнце");
  if (!l.Visible)
    return e.Lunar ? U("      не видно: Луна под горизонтом") : U("      не видно отсюда");
  if (!l.MaximumVisible)
    return U("      видно частично: в максимум ") + body + U(" под горизонтом");
  return U("      видно: максимум в %1, фаза %2, %3 на высоте %4°")
      .arg(Clock(l.LocalMaximum, clock))
      .arg(l.Magnitude, 0, 'f', 2)
      .arg(body)
      .arg(std::lround(l.Altitude));
}

QString Reading(double local) {
  const kv::CalendarDate c = kv::DayNumberToDate(local);
  return QString::fromStdString(kv::TwoDigits(c.Hour) + ":" + kv::TwoDigits(c.Minute));
}

}  // namespace

PlaceTabs::PlaceTabs(TZKV_LoveForm& form) : QObject(&form), f_(form) {
  // The start page: today's figures, once they are known.
  TodayLabel = Caption(f_.TabSheet1, "", 24, 548);
  TodayLabel->setObjectName(QStringLiteral("TodayLabel"));
  TodayLabel->setFont(Arial(15));
  TodayLabel->hide();
  auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), &f_);
  connect(key, &QShortcut::activated, this, [this] { Guarded([this] { Today(); }); });
}

void PlaceTabs::BuildFields() {
  // The lunar tab: under the lunar days, the place and «Сегодня».
  LunarPlaceEdit = NewPlaceEdit(f_.Panel3, "LunarPlaceEdit",
                                "Город, по которому считаются лунные дни", {7, 588, 170, 22}, 12);
  LunarPlaceEdit->setPlaceholderText(U("Ваш город"));
  LunarPlaceEdit->SetCompact(true);
  LunarPlaceEdit->setAccessibleName(U("Ваш город"));
  TodayButton = new QPushButton(U("Сегодня"), f_.Panel3);
  TodayButton->setObjectName(QStringLiteral("TodayButton"));
  TodayButton->setFont(Arial(13, true));
  TodayButton->setAutoDefault(true);
  TodayButton->setGeometry(7, 612, 170, 22);
  TodayButton->setAccessibleName(U("Сегодня"));
  TodayButton->setAccessibleDescription(
      U("Сегодняшний лунный месяц и день с описанием, клавиши Ctrl+T"));
  TodayButton->setToolTip(U("Сегодняшний лунный день (Ctrl+T)"));

  // The eclipse tab: the place over the year's row.
  EclipsePlaceLabel = Caption(f_.TabSheet5, " Ваш город ", 9, 545);
  EclipsePlaceEdit = NewPlaceEdit(f_.TabSheet5, "EclipsePlaceEdit",
                                  "Время затмений по его поясу и их видимость оттуда",
                                  {EclipsePlaceLabel->geometry().right() + 8, 541, 480, 25}, 15);
  EclipsePlaceEdit->setAccessibleName(U("Ваш город"));
  EclipsePlaceEdit->setPlaceholderText(U("Гринвич, время GMT"));
  EclipsePlaceLabel->setBuddy(EclipsePlaceEdit);

  // The horoscope tab: the place of birth beside the hour.
  BirthPlaceLabel = Caption(f_.TabSheet3, " Место рождения ", 565, 557);
  BirthPlaceEdit =
      NewPlaceEdit(f_.TabSheet3, "BirthPlaceEdit",
                   "Час и минута — местное время этого места; пусто — московское время",
                   {565, 575, 145, 23}, 12);
  BirthPlaceEdit->setAccessibleName(U("Место рождения"));
  BirthPlaceEdit->setPlaceholderText(U("Москва, МСК"));
  BirthPlaceEdit->SetCompact(true);
  BirthPlaceEdit->SetClearButton(false);  // the field is too narrow for it and a name
  BirthPlaceLabel->setBuddy(BirthPlaceEdit);

  // Tab comes to each field where it stands among the others.
  QWidget::setTabOrder(f_.SpinEdit9, BirthPlaceEdit);
  QWidget::setTabOrder(BirthPlaceEdit, f_.BitBtn1);
  QWidget::setTabOrder(f_.ListBox2, EclipsePlaceEdit);
  QWidget::setTabOrder(EclipsePlaceEdit, f_.SpinEdit21);

  connect(LunarPlaceEdit, &PlaceEdit::placeTyped, this, &PlaceTabs::ChooseUserPlace);
  connect(EclipsePlaceEdit, &PlaceEdit::placeTyped, this, &PlaceTabs::ChooseUserPlace);
  connect(BirthPlaceEdit, &PlaceEdit::placeTyped, this, &PlaceTabs::ChooseBirthPlace);
  connect(TodayButton, &QPushButton::clicked, this, [this] { Guarded([this] { Today(); }); });
}

void PlaceTabs::Guarded(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    f_.ShowError(QString::fromUtf8(e.what()));
  }
}

void PlaceTabs::Start() {
  user_ = LoadUserPlace();
  ShowPlace();
  // After the window is up: a month of moonrises is not start-up work.
  QTimer::singleShot(0, this, [this] { ShowToday(); });
}

void PlaceTabs::ShowPlace() {
  if (!LunarPlaceEdit) return;  // shown when the fields are built
  LunarPlaceEdit->Show(user_);
  EclipsePlaceEdit->Show(user_);
}

kv::LunarPlace PlaceTabs::Observer() const {
  return user_ ? user_->Place() : kv::LunarPlace{kv::Obs_Longitude, kv::Obs_Latitude, {}};
}

void PlaceTabs::ShowToday() {
  std::optional<kv::LunarDayNow> day;
  kv::LunarPlace place;
  try {
    place = Observer();
    day = TodaysLunarDay(place);
  } catch (const std::exception&) {
  }
  if (!day) {
    TodayLabel->hide();
    return;
  }
  TodayLabel->setText(
      TodayText(*day, place, user_ ? user_->ShortName() : U("51,5° с.ш. 0° в.д., GMT")));
  TodayLabel->adjustSize();
  TodayLabel->show();
  TodayLabel->setAccessibleName(TodayLabel->text());
}

void PlaceTabs::ChooseUserPlace(const QString& text) {
  std::optional<WindowPlace> place;
  try {
    place = ResolvePlace(text);
    if (place) place->Place();
    SaveUserPlace(place);
  } catch (const std::exception& e) {
    // Nothing changes: the fields show the place kept.
    ShowPlace();
    f_.ShowError(QString::fromUtf8(e.what()));
    return;
  }
  user_ = place;
  ShowPlace();
  // What the tabs show was reckoned for the place before.
  starts_.clear();
  f_.ListBox1->clear();
  f_.Memo1->clear();
  f_.Panel7->setCaption(QStringLiteral(" "));
  f_.SetRadioGroup1ItemIndex(-1);
  f_.ListBox2->hide();
  ShowToday();
}

void PlaceTabs::ChooseBirthPlace(const QString& text) {
  std::optional<WindowPlace> place;
  try {
    place = ResolvePlace(text);
    if (place) place->Place();
  } catch (const std::exception& e) {
    BirthPlaceEdit->Show(birth_);  // the place before stays
    f_.ShowError(QString::fromUtf8(e.what()));
    return;
  }
  SetBirthPlace(place);
  SaveEntries(f_);
}

void PlaceTabs::SetBirthPlace(const std::optional<WindowPlace>& place) {
  birth_ = place;
  BirthPlaceEdit->Show(birth_);
  // A screen reader names the clock the hour is read by.
  QString hour = f_.SpinEdit8->accessibleDescription();
  const QString moscow = U(" по московскому времени"), local = U(" по местному времени");
  hour.replace(birth_ ? moscow : local, birth_ ? local : moscow);
  f_.SpinEdit8->setAccessibleDescription(hour);
}

bool PlaceTabs::LunarMonths(std::int32_t year) {
  if (!user_) return false;
  f_.Memo1->clear();
  f_.ListBox1->clear();
  starts_.clear();
  f_.Panel7->setCaption(QStringLiteral(" "));
  const kv::LunarPlace place = Observer();
  QStringList lines;
  // Through the window, which keeps the file's listing for the place turned off.
  for (const std::string& l : kv::PhaseListing(f_.WritePhases(year).Lunations, place.Clock))
    lines << W(l);
  f_.Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  return true;
}

bool PlaceTabs::LunarMonth(std::int32_t year) {
  if (!user_) return false;
  const int month = f_.RadioGroup1ItemIndex() + 1;
  LunarMonths(year);  // the months' dates by the place's clock
  const kv::LunarPlace place = Observer();
  starts_ = kv::LunarDaysAt(month, place).Starts;
  f_.Panel7->setCaption(W(kv::LunarDaysCaption(month, year)) + U(", ") + user_->ShortName());
  for (std::size_t n = 1; n < starts_.size(); ++n)
    f_.ListBox1->addItem(
        W(kv::LunarDayLine(static_cast<std::int32_t>(n), starts_[n - 1], place.Clock)));
  MarkToday();
  return true;
}

bool PlaceTabs::LunarDay() {
  if (!user_) return false;
  const int chosen = f_.ListBox1->ChosenRow();
  if (chosen < 0 || static_cast<std::size_t>(chosen) + 1 >= starts_.size()) return true;
  f_.Memo1->clear();
  const kv::TLunarDayText day = kv::LunarDayText(
      chosen + 1, starts_[chosen], starts_[chosen + 1],
      [this](const std::string& m) { f_.messageBox(W(m), true); }, Observer().Clock);
  QString text = QString::fromStdString(kv::FromCp1251Text(day.Shown()));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  f_.Memo1->setPlainText(text);
  if (const std::string missing = day.Missing(); !missing.empty())
    f_.messageBox(QString::fromStdString(missing), true);
  return true;
}

int PlaceTabs::MarkToday() {
  const double now = Now();
  std::vector<double> starts = starts_;
  if (!user_)
    for (int i = 0; i < kv::LunarDay_Count; ++i) starts.push_back(kv::LunarDay_Starts[i]);
  for (int row = 0; row < f_.ListBox1->count(); ++row) {
    if (static_cast<std::size_t>(row) + 1 >= starts.size()) break;
    if (starts[row] <= now && now < starts[row + 1]) {
      QListWidgetItem* item = f_.ListBox1->item(row);
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
      item->setBackground(QColor(0xBE, 0xDC, 0xC8));
      item->setToolTip(U("Сегодня"));
      return row;
    }
  }
  return -1;
}

void PlaceTabs::Today() {
  const double now = Now();
  const kv::LocalClock clock = Observer().Clock;
  const std::int32_t year = kv::DayNumberToDate(clock.Local(now)).Year;
  // The tab first: coming to it builds it and puts its hint into the text area.
  f_.PageControl1->setCurrentIndex(3);
  f_.BuildTabs();  // when it was in front already
  // Today's lunar month is among this year's fourteen or, in its first
  // weeks, last year's; its first lunar day may still be the previous one.
  for (std::int32_t y : {year, year - 1}) {
    f_.SpinEdit22->setText(QString::number(y));
    f_.BitBtn5Click();
    int month = 0;
    for (int m = 1; m <= 14; ++m)
      if (kv::NewMoon_Table[m] <= now) month = m;
    const double end = month == 14 ? kv::NewMoon_15 : kv::NewMoon_Table[month + 1];
    if (month == 0 || now >= end) continue;
    for (int m : {month, month - 1}) {
      if (m < 1) break;
      f_.SetRadioGroup1ItemIndex(m - 1);
      f_.RadioGroup1Click();
      const int row = MarkToday();
      if (row < 0) continue;
      f_.ListBox1->setCurrentRow(row);
      f_.ListBox1->scrollToItem(f_.ListBox1->item(row));
      f_.ListBox1Click();
      f_.ListBox1->setFocus();
      return;
    }
  }
  throw std::runtime_error(
      "Сегодняшний лунный день не найден: рядом с сегодняшним днём Луна здесь не восходит");
}

bool PlaceTabs::Eclipses(std::int32_t year) {
  if (!user_) return false;
  f_.ListBox2->show();
  f_.ListBox2->clear();
  const kv::LunarPlace place = Observer();
  for (const kv::EclipseListLine& line : kv::EclipseList(year, place.Clock)) {
    f_.ListBox2->addItem(W(line.text));
    if (line.record == 0) continue;
    const kv::TEclipseData& e = kv::Eclipse_Table[line.record];
    f_.ListBox2->addItem(Seen(e, kv::SeenFrom(e, place.Latitude, place.Longitude), place.Clock));
  }
  f_.ListBox2->addItem(U(" Видимость и время: ") + user_->title + U(", ") + user_->ClockName());
  return true;
}

const std::string& PlaceTabs::Report(const std::string& name, int day, int month, int year,
                                     int hour, int minute) {
  if (!birth_) return kv::MakeDegreeReport(name, day, month, year, hour, minute);
  if (birth_->zone.isEmpty())
    throw PlaceError(
        "Для места рождения, заданного широтой и долготой, нужен часовой пояс: "
        "например 55.75, 37.62 Europe/Moscow или 55.75, 37.62 +3");
  const kv::LocalClock clock = birth_->Place().Clock;
  const kv::ClockReading r = kv::FromLocal(clock, kv::DayNumber(day, month, year, hour, minute, 0));
  const QString when = QStringLiteral("%1:%2 %3.%4.%5")
                           .arg(hour, 2, 10, QLatin1Char('0'))
                           .arg(minute, 2, 10, QLatin1Char('0'))
                           .arg(day, 2, 10, QLatin1Char('0'))
                           .arg(month, 2, 10, QLatin1Char('0'))
                           .arg(year);
  const QString where = birth_->title.section(QStringLiteral(" — "), 0, 0);
  if (r.Kind == kv::ClockReading::Skipped)
    throw PlaceError(U("Времени %1 в месте «%2» не было: часы переводили вперёд с %3 на %4 "
                       "(%5). Проверьте час рождения.")
                         .arg(when, where, Reading(r.GapStart), Reading(r.GapEnd),
                              QString::fromStdString(clock.Name))
                         .toStdString());
  QString named = where + U(", UTC") + QString::fromStdString(kv::OffsetText(r.Offset));
  if (r.Kind == kv::ClockReading::Repeated)
    named += U("; это время было дважды (часы переводили назад), взято первое");
  return kv::MakeDegreeReportAt(name, day, month, year, hour, minute, r.X, named.toStdString());
}

}  // namespace kvapp
