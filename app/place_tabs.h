// The window at the user's own place and at a place of birth: the fields
// that choose them, the lunar days, eclipses and report they change, and
// today's lunar day (the start page's figures, the lunar tab's «Сегодня»).
// With no place chosen the tabs do what they always did: each hook says
// false and the window's own handler goes on.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <optional>
#include <string>
#include <vector>

#include "place_chooser.h"

namespace kvapp {

class TZKV_LoveForm;

class PlaceTabs : public QObject {
  Q_OBJECT
 public:
  explicit PlaceTabs(TZKV_LoveForm& form);  // today's figures on the start page
  // The fields and «Сегодня» on the other tabs, once the window has built them.
  void BuildFields();

  // After the start-up work: the kept place, then today's figures.
  void Start();
  // The kept place in the fields, when they are built.
  void ShowPlace();

  // Hooks of the window's handlers, given the year of the tab's field:
  // true when done here for a place.
  bool LunarMonths(std::int32_t year);  // «Рассчитать» of the lunar tab
  bool LunarMonth(std::int32_t year);   // a lunar month chosen
  bool LunarDay();                      // a lunar day chosen
  bool Eclipses(std::int32_t year);     // «Рассчитать» of the eclipse tab
  // The report's page for a birth at the place chosen on the tab, or the
  // window's own (Moscow time) without one. PlaceError for a reading of the
  // clock that never happened there.
  const std::string& Report(const std::string& name, int day, int month, int year, int hour,
                            int minute);
  // Marks today's line in the lunar days list; its row, or -1.
  int MarkToday();
  // «Сегодня» (Ctrl+T): today's lunar month and day, and its description.
  void Today();

  // The user's place and the birth's, as typed (as the fields do).
  void ChooseUserPlace(const QString& text);
  void ChooseBirthPlace(const QString& text);
  // The place of birth taken as it is (kept from an earlier run; nothing: none).
  void SetBirthPlace(const std::optional<WindowPlace>& place);
  const std::optional<WindowPlace>& UserPlace() const { return user_; }
  const std::optional<WindowPlace>& BirthPlace() const { return birth_; }

  // Null until BuildFields, but for TodayLabel.
  PlaceEdit *LunarPlaceEdit = nullptr, *EclipsePlaceEdit = nullptr, *BirthPlaceEdit = nullptr;
  QPushButton* TodayButton = nullptr;
  QLabel *TodayLabel, *EclipsePlaceLabel = nullptr, *BirthPlaceLabel = nullptr;

 private:
  kv::LunarPlace Observer() const;  // the user's place, or the window's at GMT
  void ShowToday();
  void Guarded(const std::function<void()>& f);
  TZKV_LoveForm& f_;
  std::optional<WindowPlace> user_, birth_;
  std::vector<double> starts_;  // the lunar days listed for the place
};

}  // namespace kvapp
