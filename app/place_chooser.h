// A place the window reckons from: the user's own («Ваш город»), kept in
// the settings, or a place of birth. Chosen in a field that offers the
// atlas's cities as the user types; LAT,LON (and a zone) for the others.
#pragma once

#include <QLineEdit>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/atlas.h"
#include "lunar/lunardays.h"
#include "platform.h"

class QCompleter;
class QStringListModel;

namespace kvapp {

struct WindowPlace {
  QString title;  // "Москва — Москва, Россия", or "55.75, 37.62"
  double latitude = 0, longitude = 0;
  QString zone;  // of the tz database or a fixed offset; empty: GMT
  // The observer and its clock. PlaceError for a zone the tz database lacks.
  kv::LunarPlace Place() const;
  // How captions name it: "Москва, Europe/Moscow"; the title's first part.
  QString ShortName() const;
  QString ClockName() const { return zone.isEmpty() ? QStringLiteral("GMT") : zone; }
};

// What went wrong with a place typed by the user (Russian, UTF-8).
struct PlaceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A place as the user typed it: a city of the atlas (a title it offered,
// "Москва", "Москва, Россия", "Moscow, United States"), or "LAT,LON" with
// an optional zone after it ("55.75,37.62 Europe/Moscow", "-33.9,18.4 +2").
// Nothing for an empty text. PlaceError for an unknown city (naming the
// nearest names), a beginning of several names (naming them), coordinates
// out of range, an unknown zone.
std::optional<WindowPlace> ResolvePlace(const QString& text);

// A place in the settings: its title under NAME, and NAMELatitude,
// NAMELongitude and NAMEZone; empty values for none.
SettingValues PlaceValues(const QString& name, const std::optional<WindowPlace>& place);
// A place from those values as VALUE reads them; nothing when none is kept
// or they do not make a place.
std::optional<WindowPlace> PlaceFromValues(const std::function<QString(const QString&)>& value,
                                           const QString& name);

// The user's own place in the settings; nothing when none was chosen or
// what is kept cannot be read.
std::optional<WindowPlace> LoadUserPlace();
// Keeps it (nothing: forgets it). RegistryError when it cannot be stored.
void SaveUserPlace(const std::optional<WindowPlace>& place);

// The field: offers up to 12 cities of the atlas whose names begin with
// what is typed (the atlas is opened at the first letter), and says when a
// place is to be taken: Return, a city picked from the offer, leaving the
// field with its text changed.
class PlaceEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit PlaceEdit(QWidget* parent = nullptr);
  // A narrow field shows a city as "Москва, Россия", its whole title in its tip.
  void SetCompact(bool compact) { compact_ = compact; }
  // The button that empties the field, at its right end while it has text.
  void SetClearButton(bool shown);
  // The text shown for the place taken, which leaving the field keeps.
  void Show(const std::optional<WindowPlace>& place);
 signals:
  void placeTyped(const QString& text);

 private:
  void Offer(const QString& text);
  void Commit();
  void ShowClearButton();
  QAction* clear_;
  bool clearable_ = true;
  QCompleter* completer_;
  QStringListModel* offers_;
  QString shown_;
  bool compact_ = false;
};

}  // namespace kvapp
