// kvlove's own words in the user's language: English in the sources, Russian
// from kvlove_ru.ts (built into kvlove) when the messages' locale is Russian.
// lupdate takes KV_TR_CONTEXT for Q_DECLARE_TR_FUNCTIONS (cli/CMakeLists.txt),
// so every Kvlove::tr("...") and QT_TRANSLATE_NOOP("Kvlove", "...") is found.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include <QtGlobal>  // QT_TRANSLATE_NOOP

#define KV_TR_CONTEXT(context)

namespace kvcli {

class Kvlove {
  KV_TR_CONTEXT(Kvlove)

 public:
  // The translation of source, UTF-8, with %1, %2 ... replaced by args.
  static std::string tr(const char* source, std::initializer_list<std::string_view> args = {});
};

}  // namespace kvcli
