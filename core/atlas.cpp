#include "atlas.h"

#include <dlfcn.h>
// For the types only: the library is opened at the first use (Library()).
#include <geonames.h>

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <type_traits>
#include <unordered_map>

namespace kv {

namespace {

// The atlas's translations into Russian, keyed by its ids: the city's
// number, the country code ("RU") and country code and region ("RU.48").
constexpr const char* kRussianNames = "/usr/share/locale/ru/LC_MESSAGES/geonames.mo";
// The file is about 0.5 MB; nothing genuine comes near this.
constexpr qint64 kMaxCatalogBytes = 64 << 20;

// A gettext catalogue read whole: its original and translated strings.
std::unordered_map<std::string, std::string> ReadCatalog(const char* path) {
  std::unordered_map<std::string, std::string> m;
  m.reserve(1 << 14);
  QFile f(QString::fromUtf8(path));
  if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxCatalogBytes) return m;
  const QByteArray data = f.read(kMaxCatalogBytes);
  const auto word = [&data](std::size_t at, bool swap) -> std::uint32_t {
    if (at + 4 > static_cast<std::size_t>(data.size())) return 0;
    std::uint32_t v;
    std::memcpy(&v, data.constData() + at, 4);
    return swap ? __builtin_bswap32(v) : v;
  };
  const std::uint32_t magic = word(0, false);
  if (magic != 0x950412deu && magic != 0xde120495u) return m;
  const bool swap = magic == 0xde120495u;
  const std::uint32_t n = word(8, swap), originals = word(12, swap), translations = word(16, swap);
  const auto text = [&](std::uint32_t table, std::uint32_t i) -> std::string {
    const std::uint32_t length = word(table + 8 * i, swap), offset = word(table + 8 * i + 4, swap);
    if (static_cast<std::uint64_t>(offset) + length > static_cast<std::uint64_t>(data.size()))
      return {};
    return std::string(data.constData() + offset, length);
  };
  for (std::uint32_t i = 0; i < n && 8ull * i < static_cast<std::uint64_t>(data.size()); ++i)
    m.emplace(text(originals, i), text(translations, i));
  return m;
}

// libgeonames and what it brings (GIO, GObject, libmount, ...) cost every
// start of the window its loading, relocation and constructors, and most
// starts never ask for a city: opened when the atlas is first read instead.
struct Geonames {
  decltype(&geonames_get_n_cities) GetNCities;
  decltype(&geonames_get_city) GetCity;
  decltype(&geonames_city_free) CityFree;
  decltype(&g_variant_get_type_string) TypeString;
  decltype(&g_variant_get) Get;
};

Geonames Library() {
  void* lib = ::dlopen(KV_GEONAMES_SONAME, RTLD_NOW | RTLD_LOCAL);
  const auto missing = [](const char* what) {
    const char* why = ::dlerror();
    return AtlasError(std::string("атлас городов (") + what + ") не загружается" +
                      (why ? std::string(": ") + why : std::string()));
  };
  if (!lib) throw missing(KV_GEONAMES_SONAME);
  Geonames g{};
  const auto bind = [&](auto& fn, const char* name) {
    fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(lib, name));
    if (!fn) throw missing(name);
  };
  bind(g.GetNCities, "geonames_get_n_cities");
  bind(g.GetCity, "geonames_get_city");
  bind(g.CityFree, "geonames_city_free");
  bind(g.TypeString, "g_variant_get_type_string");
  bind(g.Get, "g_variant_get");
  return g;  // the library stays for the process: the atlas is kept
}

std::string Translated(const std::unordered_map<std::string, std::string>& ru,
                       const std::string& key, const std::string& otherwise) {
  const auto it = ru.find(key);
  return it == ru.end() || it->second.empty() ? otherwise : it->second;
}

std::vector<std::string> SplitCommas(std::string_view s) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = s.find(',', start);
    parts.emplace_back(s.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return parts;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

// Edit distance in characters, given up above limit.
std::size_t Distance(const std::u32string& a, const std::u32string& b, std::size_t limit) {
  if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) return limit + 1;
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0], best = row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = up;
      best = std::min(best, row[j]);
    }
    if (best > limit) return limit + 1;
  }
  return row[b.size()];
}

std::u32string Ucs4(const std::string& utf8) {
  const QList<uint> v = QString::fromStdString(utf8).toUcs4();
  return std::u32string(v.begin(), v.end());
}

void ByPopulation(std::vector<const AtlasCity*>& v) {
  std::stable_sort(v.begin(), v.end(), [](const AtlasCity* a, const AtlasCity* b) {
    return a->Population > b->Population;
  });
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

}  // namespace

std::string FoldName(std::string_view utf8) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toLower();
  s.replace(QChar(u'ё'), QChar(u'е')).replace(QChar(u'-'), QChar(u' '));
  return s.simplified().toStdString();
}

std::string AtlasCity::Title() const {
  return Name + " — " + (Region.empty() || Region == Country ? "" : Region + ", ") + Country;
}

Atlas::Atlas() {
  const Geonames g = Library();
  const auto ru = ReadCatalog(kRussianNames);
  const gint n = g.GetNCities();
  cities_.reserve(static_cast<std::size_t>(std::max(n, 0)));
  for (gint i = 0; i < n; ++i) {
    std::unique_ptr<GeonamesCity, void (*)(GeonamesCity*)> c(g.GetCity(i), g.CityFree);
    // The record itself, not the accessors: they translate by the user's
    // locale, and both the Latin and the Russian names are wanted.
    if (!c || std::strcmp(g.TypeString(c.get()), "(sssssssudd)") != 0)
      throw AtlasError("атлас городов (libgeonames) записан в незнакомом виде");
    const gchar *id, *name, *regionCode, *region, *countryCode, *country, *zone;
    guint32 population;
    gdouble latitude, longitude;
    g.Get(c.get(), "(&s&s&s&s&s&s&sudd)", &id, &name, &regionCode, &region, &countryCode, &country,
          &zone, &population, &latitude, &longitude);
    AtlasCity city;
    city.NameEn = name;
    city.RegionEn = region;
    city.CountryEn = country;
    city.CountryCode = countryCode;
    city.Zone = zone;
    city.Latitude = latitude;
    city.Longitude = longitude;
    city.Population = population;
    city.Name = Translated(ru, id, city.NameEn);
    city.Region = Translated(ru, city.CountryCode + "." + regionCode, city.RegionEn);
    city.Country = Translated(ru, city.CountryCode, city.CountryEn);
    cities_.push_back(std::move(city));
  }
  if (cities_.empty()) throw AtlasError("атлас городов (libgeonames) пуст");
  index_.reserve(2 * cities_.size());
  for (std::uint32_t i = 0; i < cities_.size(); ++i) {
    const std::string ru = FoldName(cities_[i].Name), en = FoldName(cities_[i].NameEn);
    index_.emplace_back(ru, i);
    if (en != ru) index_.emplace_back(en, i);
  }
  std::sort(index_.begin(), index_.end());
}

const Atlas& Atlas::Get() {
  static const Atlas atlas;
  return atlas;
}

std::vector<const AtlasCity*> Atlas::Search(std::string_view prefix, std::size_t limit) const {
  const std::string key = FoldName(prefix);
  std::vector<const AtlasCity*> found;
  if (key.empty()) return found;
  for (auto it = std::lower_bound(index_.begin(), index_.end(), std::make_pair(key, 0u));
       it != index_.end() && StartsWith(it->first, key); ++it)
    found.push_back(&cities_[it->second]);
  ByPopulation(found);
  if (found.size() > limit) found.resize(limit);
  return found;
}

AtlasLookup Atlas::Find(std::string_view text) const {
  AtlasLookup r;
  const std::vector<std::string> parts = SplitCommas(text);
  const std::string name = FoldName(parts[0]);
  std::vector<std::string> qualifiers;
  for (std::size_t i = 1; i < parts.size(); ++i)
    if (std::string q = FoldName(parts[i]); !q.empty()) qualifiers.push_back(q);
  if (name.empty()) return r;
  const auto fits = [&qualifiers](const AtlasCity& c) {
    for (const std::string& q : qualifiers) {
      bool any = FoldName(c.CountryCode) == q;
      for (const std::string* s : {&c.Region, &c.RegionEn, &c.Country, &c.CountryEn})
        any = any || StartsWith(FoldName(*s), q);
      if (!any) return false;
    }
    return true;
  };
  std::vector<const AtlasCity*> exact, begun;
  for (auto it = std::lower_bound(index_.begin(), index_.end(), std::make_pair(name, 0u));
       it != index_.end() && StartsWith(it->first, name); ++it) {
    const AtlasCity& c = cities_[it->second];
    if (fits(c)) (it->first == name ? exact : begun).push_back(&c);
  }
  ByPopulation(exact);
  ByPopulation(begun);
  if (!exact.empty()) {
    r.City = exact.front();
  } else if (begun.size() == 1) {
    r.City = begun.front();
  } else if (!begun.empty()) {
    r.Candidates = std::move(begun);
  } else {
    r.Nearest = NearestNames(parts[0]);
  }
  return r;
}

std::vector<const AtlasCity*> Atlas::NearestNames(std::string_view text, std::size_t n) const {
  const std::u32string key = Ucs4(FoldName(text));
  std::vector<std::pair<std::size_t, const AtlasCity*>> scored;
  const std::size_t limit = std::max<std::size_t>(2, key.size() / 3);
  for (const auto& [folded, i] : index_) {
    const std::size_t d = Distance(key, Ucs4(folded), limit);
    if (d <= limit) scored.emplace_back(d, &cities_[i]);
  }
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second->Population > b.second->Population;
  });
  std::vector<const AtlasCity*> nearest;
  std::vector<std::string> names;
  for (const auto& [d, c] : scored) {
    if (nearest.size() == n) break;
    if (std::find(names.begin(), names.end(), c->Name) != names.end()) continue;
    names.push_back(c->Name);
    nearest.push_back(c);
  }
  return nearest;
}

}  // namespace kv
