#include "entries.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "KV_Love.h"
#include "core/calendar.h"
#include "place_chooser.h"
#include "place_tabs.h"
#include "platform.h"

namespace kvapp {

namespace {

using Field = TSpinEdit* TZKV_LoveForm::*;

struct Kept {
  const char* name;
  Field field;
};

// A date's three fields go together: a day its month lacks takes none.
constexpr Kept kCompatDate[] = {{"rCompatDay", &TZKV_LoveForm::SpinEdit1},
                                {"rCompatMonth", &TZKV_LoveForm::SpinEdit2},
                                {"rCompatYear", &TZKV_LoveForm::SpinEdit3}};
constexpr Kept kBirthDate[] = {{"rBirthDay", &TZKV_LoveForm::SpinEdit5},
                               {"rBirthMonth", &TZKV_LoveForm::SpinEdit6},
                               {"rBirthYear", &TZKV_LoveForm::SpinEdit7}};
constexpr Kept kSingles[] = {{"rCompatStartYear", &TZKV_LoveForm::SpinEdit4},
                             {"rBirthHour", &TZKV_LoveForm::SpinEdit8},
                             {"rBirthMinute", &TZKV_LoveForm::SpinEdit9},
                             {"rLunarYear", &TZKV_LoveForm::SpinEdit22},
                             {"rEclipseYear", &TZKV_LoveForm::SpinEdit21}};
const QString kName = QStringLiteral("rName");
const QString kBirthPlace = QStringLiteral("rBirthPlace");

QString Name(const Kept& k) { return QString::fromLatin1(k.name); }

// A number as it is kept: exactly as QString::number writes it, within the
// field's range.
std::optional<int> Number(const QString& text, const TSpinEdit& field) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || text != QString::number(v) || v < field.minimum() || v > field.maximum())
    return std::nullopt;
  return v;
}

// What a field holds, if a later start would take it back.
std::optional<int> Held(const TSpinEdit& field) {
  try {
    const int v = field.Value();
    if (v >= field.minimum() && v <= field.maximum()) return v;
  } catch (const FieldError&) {
  }
  return std::nullopt;
}

// A name fit for the field: one line, no longer than it takes.
bool Fits(const QString& name, const QLineEdit& edit) {
  if (name.size() > edit.maxLength()) return false;
  for (const QChar c : name)
    if (c.category() == QChar::Other_Control) return false;
  return true;
}

template <std::size_t N>
std::optional<std::array<int, N>> Date(const Kept (&date)[N],
                                       const std::function<std::optional<int>(const Kept&)>& get) {
  std::array<int, N> v{};
  for (std::size_t i = 0; i < N; ++i) {
    const std::optional<int> n = get(date[i]);
    if (!n) return std::nullopt;
    v[i] = *n;
  }
  if (!kv::DateExists(v[0], v[1], v[2])) return std::nullopt;
  return v;
}

std::vector<Kept> AllFields() {
  std::vector<Kept> all;
  for (const auto* group : {&kCompatDate, &kBirthDate})
    all.insert(all.end(), std::begin(*group), std::end(*group));
  all.insert(all.end(), std::begin(kSingles), std::end(kSingles));
  return all;
}

}  // namespace

KeptEntries ReadEntries(const RegistryKey& key) {
  KeptEntries kept;
  QStringList names = {kName};
  for (const Kept& k : AllFields()) names << Name(k);
  for (const auto& [name, value] : PlaceValues(kBirthPlace, std::nullopt)) names << name;
  for (const QString& name : names)
    if (key.ValueExists(name)) kept.values.insert(name, key.ReadString(name));
  return kept;
}

void RestoreEntries(TZKV_LoveForm& f, const KeptEntries& kept) {
  const auto number = [&](const Kept& k) {
    return Number(kept.values.value(Name(k)), *(f.*k.field));
  };
  for (const auto* date : {&kCompatDate, &kBirthDate})
    if (const auto v = Date(*date, number))
      for (std::size_t i = 0; i < v->size(); ++i) (f.*(*date)[i].field)->setValue((*v)[i]);
  for (const Kept& k : kSingles)
    if (const auto v = number(k)) (f.*k.field)->setValue(*v);
  if (const auto name = kept.values.find(kName); name != kept.values.end() && Fits(*name, *f.Edit2))
    f.Edit2->setText(*name);
  auto birth =
      PlaceFromValues([&kept](const QString& n) { return kept.values.value(n); }, kBirthPlace);
  // Its zone must be in this system's tz database: kept by another system,
  // or damaged, it is dropped.
  try {
    if (birth) birth->Place();
  } catch (const std::exception&) {
    birth.reset();
  }
  f.Places().SetBirthPlace(birth);
}

void SaveEntries(const TZKV_LoveForm& f) {
  SettingValues values;
  const auto held = [&](const Kept& k) { return Held(*(f.*k.field)); };
  for (const auto* date : {&kCompatDate, &kBirthDate})
    if (const auto v = Date(*date, held))
      for (std::size_t i = 0; i < v->size(); ++i)
        values.emplace_back(Name((*date)[i]), QString::number((*v)[i]));
  for (const Kept& k : kSingles)
    if (const auto v = held(k)) values.emplace_back(Name(k), QString::number(*v));
  if (Fits(f.Edit2->text(), *f.Edit2)) values.emplace_back(kName, f.Edit2->text());
  for (auto& v : PlaceValues(kBirthPlace, f.Places().BirthPlace())) values.push_back(std::move(v));
  try {
    RegistryKey key;
    if (!key.Open(true)) return;
    key.WriteStrings(values);
    key.Close();
  } catch (const RegistryError&) {
  }
}

void ResetEntries(TZKV_LoveForm& f) {
  for (const Kept& k : AllFields()) (f.*k.field)->setValue((f.*k.field)->defaultValue());
  f.Edit2->clear();
  f.Places().SetBirthPlace(std::nullopt);
  SaveEntries(f);
}

}  // namespace kvapp
