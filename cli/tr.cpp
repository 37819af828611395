#include "tr.h"

#include <QTranslator>

#include <cstdlib>

namespace kvcli {

namespace {

std::string_view Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The locale of messages as the C library picks it, without asking the C
// library: the Russian locale need not be installed for Russian words.
// LANGUAGE, a list of languages, counts only under a locale other than C,
// as for gettext.
std::string_view ChooseLanguage() {
  std::string_view locale = Env("LC_ALL");
  if (locale.empty()) locale = Env("LC_MESSAGES");
  if (locale.empty()) locale = Env("LANG");
  if (locale.empty() || locale == "C" || locale.starts_with("C.") || locale == "POSIX") return "en";
  std::string_view list = Env("LANGUAGE");
  if (list.empty()) list = locale;
  // The first language of the list that kvlove speaks.
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    const std::string_view language = entry.substr(0, entry.find_first_of("_.@"));
    if (language == "ru") return "ru";
    if (language == "en") return "en";
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return "en";
}

const QTranslator* Translator() {
  static const QTranslator* const translator = []() -> const QTranslator* {
    if (ChooseLanguage() == "en") return nullptr;
    auto* t = new QTranslator;
    // Built in by qt_add_lrelease and qt_add_resources (cli/CMakeLists.txt).
    if (t->load(QStringLiteral(":/i18n/kvlove_ru.qm"))) return t;
    delete t;
    return nullptr;
  }();
  return translator;
}

}  // namespace

std::string Kvlove::tr(const char* source, std::initializer_list<std::string_view> args) {
  std::string text;
  if (const QTranslator* t = Translator()) {
    const QString translated = t->translate("Kvlove", source);
    if (!translated.isEmpty()) text = translated.toStdString();
  }
  if (text.empty()) text = source;
  if (args.size() == 0) return text;
  // One pass, so that a %1 inside an argument stays as it is.
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' &&
        static_cast<std::size_t>(text[i + 1] - '1') < args.size()) {
      out += args.begin()[text[i + 1] - '1'];
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace kvcli
