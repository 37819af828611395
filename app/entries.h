// What the user types into the tabs, kept in the settings from one run to
// the next: the name, the birth date, time and place of the horoscope, the
// birth date and first year of the compatibility analysis, and the years
// of the lunar calendar and the eclipses.
#pragma once

#include <QHash>
#include <QString>

namespace kvapp {

class RegistryKey;
class TZKV_LoveForm;

// The kept values as the start-up read them, before the fields take them.
struct KeptEntries {
  QHash<QString, QString> values;
};

// Read with the settings the start-up opens anyway.
KeptEntries ReadEntries(const RegistryKey& key);

// Puts what was kept into the fields. A value that is missing, damaged or
// of another kind (not a whole number, out of the field's range, a day its
// month lacks) leaves its field as it is, quietly; a date is taken whole
// or not at all.
void RestoreEntries(TZKV_LoveForm& form, const KeptEntries& kept);

// Keeps what the fields hold. A field that holds nothing a later start
// could take keeps its value from before. Quiet when the settings cannot
// be written: the start-up has said why.
void SaveEntries(const TZKV_LoveForm& form);

// «Сбросить»: every kept field back to what a first start shows, and kept so.
void ResetEntries(TZKV_LoveForm& form);

}  // namespace kvapp
