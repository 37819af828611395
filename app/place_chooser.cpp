#include "place_chooser.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QPainter>
#include <QRegularExpression>
#include <QStringListModel>
#include <cmath>

#include "core/zone.h"
#include "platform.h"

namespace kvapp {

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

QString Listed(const std::vector<const kv::AtlasCity*>& cities, std::size_t most = 8) {
  QStringList names;
  for (const kv::AtlasCity* c : cities) {
    if (static_cast<std::size_t>(names.size()) == most) break;
    names << U(c->Title());
  }
  return names.join(QStringLiteral("\n"));
}

const kv::Atlas& TheAtlas() {
  try {
    return kv::Atlas::Get();
  } catch (const kv::AtlasError& e) {
    throw PlaceError(std::string(e.what()) +
                     ". Место можно задать широтой и долготой: 55.75, 37.62 Europe/Moscow");
  }
}

WindowPlace FromCity(const kv::AtlasCity& c) {
  return {U(c.Title()), c.Latitude, c.Longitude, U(c.Zone)};
}

// "55.75,37.62", "55.75, 37.62 Europe/Moscow", "-33.9 18.4 +02:00".
std::optional<WindowPlace> Coordinates(const QString& text) {
  static const QRegularExpression re(QStringLiteral(
      R"(^\s*([-+]?\d+(?:[.]\d*)?)\s*[,; ]\s*([-+]?\d+(?:[.]\d*)?)(?:\s*[,; ]\s*(\S+))?\s*$)"));
  const QRegularExpressionMatch m = re.match(text);
  if (!m.hasMatch()) return std::nullopt;
  WindowPlace p;
  p.latitude = m.captured(1).toDouble();
  p.longitude = m.captured(2).toDouble();
  p.zone = m.captured(3);
  if (std::fabs(p.latitude) > 90)
    throw PlaceError("Широта " + m.captured(1).toStdString() +
                     " вне пределов: от -90 (юг) до 90 (север) градусов");
  if (std::fabs(p.longitude) > 180)
    throw PlaceError("Долгота " + m.captured(2).toStdString() +
                     " вне пределов: от -180 (запад) до 180 (восток) градусов");
  p.title = QStringLiteral("%1, %2").arg(p.latitude, 0, 'f', 2).arg(p.longitude, 0, 'f', 2);
  if (!p.zone.isEmpty()) {
    p.Place();  // an unknown zone is refused now, not at the first use
    p.title += QLatin1Char(' ') + p.zone;
  }
  return p;
}

// The clear button's cross, drawn here: the style's stock icon costs a
// search of the desktop's icon theme, a third of the window's start.
QIcon ClearGlyph() {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x80, 0x80, 0x80));
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
  p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
  return QIcon(pm);
}

}  // namespace

kv::LunarPlace WindowPlace::Place() const {
  kv::LunarPlace p{longitude, latitude, {}};
  if (!zone.isEmpty()) {
    std::optional<kv::LocalClock> clock = kv::ZoneClock(zone.toStdString());
    if (!clock) throw PlaceError(kv::UnknownZoneMessage(zone.toStdString()));
    p.Clock = *std::move(clock);
  }
  return p;
}

QString WindowPlace::ShortName() const {
  return title.section(QStringLiteral(" — "), 0, 0) + QStringLiteral(", ") + ClockName();
}

std::optional<WindowPlace> ResolvePlace(const QString& typed) {
  const QString text = typed.trimmed();
  if (text.isEmpty()) return std::nullopt;
  if (text.front().isDigit() || text.front() == QLatin1Char('-') ||
      text.front() == QLatin1Char('+')) {
    if (auto p = Coordinates(text)) return p;
    throw PlaceError("Не понято место «" + text.toStdString() +
                     "»: нужен город или широта и долгота в градусах, например 55.75, 37.62 "
                     "(и часовой пояс: Europe/Moscow или +3)");
  }
  const kv::Atlas& atlas = TheAtlas();
  // A title the field offered names its city exactly.
  const QString name = text.section(QStringLiteral(" — "), 0, 0);
  if (name != text)
    for (const kv::AtlasCity* c : atlas.Search(name.toStdString(), 200))
      if (U(c->Title()) == text) return FromCity(*c);
  const kv::AtlasLookup found = atlas.Find(text.toStdString());
  if (found.City) return FromCity(*found.City);
  if (!found.Candidates.empty())
    throw PlaceError("«" + text.toStdString() +
                     "» — начало названий нескольких городов; выберите один из списка "
                     "или добавьте регион или страну через запятую:\n" +
                     Listed(found.Candidates).toStdString());
  throw PlaceError("Города «" + text.toStdString() + "» нет в атласе." +
                   (found.Nearest.empty()
                        ? std::string()
                        : "\nБлижайшие названия:\n" + Listed(found.Nearest).toStdString()) +
                   "\nМесто можно задать широтой и долготой: 55.75, 37.62 Europe/Moscow");
}

namespace {
const QString kPlace = QStringLiteral("rPlace");
}

SettingValues PlaceValues(const QString& name, const std::optional<WindowPlace>& place) {
  return {{name, place ? place->title : QString()},
          {name + QStringLiteral("Latitude"),
           place ? QString::number(place->latitude, 'g', 10) : QString()},
          {name + QStringLiteral("Longitude"),
           place ? QString::number(place->longitude, 'g', 10) : QString()},
          {name + QStringLiteral("Zone"), place ? place->zone : QString()}};
}

std::optional<WindowPlace> PlaceFromValues(const std::function<QString(const QString&)>& value,
                                           const QString& name) {
  WindowPlace p;
  p.title = value(name);
  bool latOk = false, lonOk = false;
  p.latitude = value(name + QStringLiteral("Latitude")).toDouble(&latOk);
  p.longitude = value(name + QStringLiteral("Longitude")).toDouble(&lonOk);
  p.zone = value(name + QStringLiteral("Zone"));
  if (p.title.isEmpty() || !latOk || !lonOk || !(std::fabs(p.latitude) <= 90) ||
      !(std::fabs(p.longitude) <= 180))
    return std::nullopt;
  return p;
}

std::optional<WindowPlace> LoadUserPlace() {
  RegistryKey key;
  try {
    if (!key.Open(false) || !key.ValueExists(kPlace)) return std::nullopt;
  } catch (const RegistryError&) {
    return std::nullopt;  // the start-up has said what is wrong with the settings
  }
  return PlaceFromValues([&key](const QString& n) { return key.ReadString(n); }, kPlace);
}

void SaveUserPlace(const std::optional<WindowPlace>& place) {
  RegistryKey key;
  if (!key.Open(true))
    throw RegistryError("Не удаётся создать раздел настроек Software\\Korvella_Love");
  key.WriteStrings(PlaceValues(kPlace, place));
  key.Close();
}

PlaceEdit::PlaceEdit(QWidget* parent) : QLineEdit(parent) {
  offers_ = new QStringListModel(this);
  completer_ = new QCompleter(offers_, this);
  // The offers are the atlas's, Latin names among them: shown as they are.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(12);
  setCompleter(completer_);
  // As the toolkit's own clear button: shown while there is text, and a
  // click is an edit that empties the field.
  clear_ = addAction(ClearGlyph(), QLineEdit::TrailingPosition);
  clear_->setText(QString::fromUtf8("Очистить"));
  clear_->setVisible(false);
  connect(clear_, &QAction::triggered, this, [this] {
    clear();
    emit textEdited(QString());
  });
  connect(this, &QLineEdit::textChanged, this, [this] { ShowClearButton(); });
  connect(this, &QLineEdit::textEdited, this, &PlaceEdit::Offer);
  connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& title) {
            setText(title);
            Commit();
          });
  connect(this, &QLineEdit::returnPressed, this, &PlaceEdit::Commit);
  connect(this, &QLineEdit::editingFinished, this, &PlaceEdit::Commit);
}

void PlaceEdit::SetClearButton(bool shown) {
  clearable_ = shown;
  ShowClearButton();
}

void PlaceEdit::ShowClearButton() { clear_->setVisible(clearable_ && !text().isEmpty()); }

void PlaceEdit::Show(const std::optional<WindowPlace>& place) {
  shown_ = place ? place->title : QString();
  const QString dash = QStringLiteral(" — ");
  if (compact_ && shown_.contains(dash))
    shown_ = shown_.section(dash, 0, 0) + QStringLiteral(", ") +
             shown_.section(dash, 1).section(QStringLiteral(", "), -1);
  setText(shown_);
  setToolTip(place ? place->title : QString());
  setCursorPosition(0);
}

void PlaceEdit::Offer(const QString& text) {
  QStringList titles;
  const QString t = text.trimmed();
  if (!t.isEmpty() && t.front().isLetter()) {
    try {
      for (const kv::AtlasCity* c : kv::Atlas::Get().Search(t.toStdString(), 12))
        titles << U(c->Title());
    } catch (const kv::AtlasError&) {
      // No atlas: coordinates are still taken, and Return says why a name is not.
    }
  }
  offers_->setStringList(titles);
  if (!titles.isEmpty()) completer_->complete();
}

void PlaceEdit::Commit() {
  if (text() == shown_) return;
  completer_->popup()->hide();
  emit placeTyped(text());
}

}  // namespace kvapp
