// The horoscope planets report: the ten bodies at a moment of birth given in
// Moscow time, each with its degree of the zodiac and that degree's
// paragraph from Html/gradus.txt, written as an HTML page in Windows-1251.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/planets.h"
#include "core/table.h"

namespace kv {

// Windows-1251 strings.
extern const Table<std::string, 10> Planet_Names;
extern const Table<std::string, 12> Month_Names_Gen;
extern const Table<std::string, 12> Sign_Names_Gen;
extern const Table<std::string, 12> Sign_Names;

// The last report's name (UTF-8, as entered) and page file.
extern std::string Report_Name;
extern std::string Report_File_Name;

// Computes records 1..10 of Horoscope_Chart for the entered Moscow time
// (GMT + 3 hours all year round) and writes the whole page to fileName.
// name is UTF-8. Errors propagate: FileError when the page cannot be
// created (nothing written) or the base is missing, ConvertError for a
// malformed base; after a failure the previous page stays as it was.
void WriteDegreeReport(const std::string& name, std::int32_t day, std::int32_t month,
                       std::int32_t year, std::int32_t hour, std::int32_t minute,
                       const std::string& fileName);

// The same for a birth at x (universal time) whose local clock read day ..
// minute: the page names clock ("Москва, UTC+04:00", UTF-8) instead of
// Moscow time.
void WriteDegreeReportAt(const std::string& name, std::int32_t day, std::int32_t month,
                         std::int32_t year, std::int32_t hour, std::int32_t minute, double x,
                         std::string_view clock, const std::string& fileName);

// What the "Рассчитать!" button does after reading its controls: sets
// Report_Name and Report_File_Name (MainDir + "Html/Gradus_html.html"),
// writes the page and returns its file name for the browser.
const std::string& MakeDegreeReport(const std::string& name, std::int32_t day, std::int32_t month,
                                    std::int32_t year, std::int32_t hour, std::int32_t minute);
// The button with a place of birth: see WriteDegreeReportAt.
const std::string& MakeDegreeReportAt(const std::string& name, std::int32_t day, std::int32_t month,
                                      std::int32_t year, std::int32_t hour, std::int32_t minute,
                                      double x, std::string_view clock);

// The steps of WriteDegreeReport, for callers that bring their own chart.

// Deg, Min, Sec, Sign, DegInSign and DegNum from Lon; a longitude of
// exactly 360 is taken as 0 so that the sign stays within 1..12.
void SetDegreeFields(TPlanetData& p);

// " 24град. 5мин. Близнецов " (Windows-1251), numbers unpadded.
std::string PositionText(const TPlanetData& p);

// MainDir + "/Html/images/NN.gif", NN the sign in two digits. Characters a
// URL cannot carry as they are (non-ASCII, blanks, quotes, "%", "#", "?")
// are percent-encoded so the browser finds the file whatever the directory.
std::string SunPicturePath(std::int32_t sign);

// The UTF-8 name as Windows-1251 page text: & < > " as entities, characters
// that 1251 lacks and control characters as &#NNNN; (decimal code point);
// bidirectional controls (U+061C, U+200E, U+200F, U+202A..U+202E,
// U+2066..U+2069) left out.
std::string HtmlName(std::string_view utf8);

// Steps 4 to 6: writes the page from records 1..10 of Horoscope_Chart, whose
// derived fields must be set; the birth's clock named "МСК", or clock.
void WriteDegreePage(const std::string& name, std::int32_t day, std::int32_t month,
                     std::int32_t year, std::int32_t hour, std::int32_t minute,
                     const std::string& fileName, std::string_view clock = {});

}  // namespace kv
