// The atlas: the 24,361 cities of Debian's libgeonames with their Russian
// names (its own translations), region, country, time zone, coordinates
// and population. Opened when first asked for, then kept.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct AtlasCity {
  // Russian where the atlas translates them, else as the atlas has them; UTF-8.
  std::string Name, Region, Country;
  std::string NameEn, RegionEn, CountryEn;  // the atlas's own (Latin) names
  std::string CountryCode;                  // "RU"
  std::string Zone;                         // IANA zone, "Europe/Moscow"
  double Latitude = 0, Longitude = 0;       // degrees north, east
  std::uint32_t Population = 0;
  // "Москва — Москва, Россия": tells apart cities of one name.
  std::string Title() const;
};

struct AtlasError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What a name given by a user comes to.
struct AtlasLookup {
  const AtlasCity* City = nullptr;  // the one city meant, if any
  std::vector<const AtlasCity*>
      Candidates;                         // several fit and none is meant: the most populous first
  std::vector<const AtlasCity*> Nearest;  // none fits: the names nearest to it
};

class Atlas {
 public:
  // The atlas, read on the first call; AtlasError when it cannot be read.
  static const Atlas& Get();

  std::size_t Size() const { return cities_.size(); }
  const std::vector<AtlasCity>& Cities() const { return cities_; }

  // The cities whose Russian or Latin name begins with prefix (case, ё/е,
  // hyphens and blanks alike), the most populous first, at most limit.
  std::vector<const AtlasCity*> Search(std::string_view prefix, std::size_t limit = 20) const;

  // A name as a user writes it: "Урюпинск", "Москва, Россия", "Moscow,
  // United States", "Москва, Айдахо, США"; after the first comma a region,
  // country or country code each (or the start of one). A name matched
  // exactly means its most populous city; only a beginning of names means
  // a city when one alone fits.
  AtlasLookup Find(std::string_view text) const;

  // The cities whose names are nearest to text by edit distance, the most
  // populous of each name, at most n.
  std::vector<const AtlasCity*> NearestNames(std::string_view text, std::size_t n = 5) const;

 private:
  Atlas();
  std::vector<AtlasCity> cities_;
  // Folded names (Russian and Latin) in byte order, each with its city.
  std::vector<std::pair<std::string, std::uint32_t>> index_;
};

// A name folded for comparison: lower case, ё as е, hyphens as blanks,
// blanks single and trimmed.
std::string FoldName(std::string_view utf8);

}  // namespace kv
