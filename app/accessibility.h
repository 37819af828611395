// What a screen reader reads of the window's lists: each line as a
// sentence instead of a run of padded columns, and no stop on blank lines.
#pragma once

#include <QString>
#include <functional>

class QListWidget;

namespace kv {
struct Scan_Point;
}

namespace kvapp {

// Every line added to the list from now on: a blank one can be neither
// chosen nor reached, and any other is read as sentence(line) says (as it
// stands where that gives nothing). The line on screen stays as it is.
void SpeakLines(QListWidget* list, std::function<QString(const QString& line)> sentence);

// "  1   09.01.2008" of the lunar days: "1-й лунный день, 9 января 2008".
QString LunarDaySentence(const QString& line);

// A line of the eclipse list that shows a record of the eclipse table, as
// the record says it: "17 февраля 2026, 12:13:56 по Гринвичу, солнечное
// кольцеобразное, 28°50′ Водолея". Nothing for the other lines.
QString EclipseSentence(const QString& line);

// A level of the compatibility charts with its sign: "+37", "0", "−12"
// (a minus sign, which screen readers say as such).
QString LevelText(int level);

// A partner date of the compatibility run with its level: "12 марта 1980: +37".
QString DaySentence(const kv::Scan_Point& p);

}  // namespace kvapp
