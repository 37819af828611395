// Full-text search over the pages of the help file. The help compiler's
// own search index is not written (and chmlib cannot read it), so the pages
// are read once, when the first search is made, and searched as text.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv::help {

class ChmArchive;

struct PageText {
  QString path;   // inside the archive, no leading '/'
  QString title;  // its <title>, else its path
  QString text;   // what the reader sees, blanks collapsed
};

struct SearchHit {
  QString path;
  QString title;
  int count = 0;    // how often the words occur on the page together
  QString excerpt;  // the text around the first occurrence
};

// The visible text of an HTML page: no tags, head, scripts or styles;
// entities decoded.
PageText PageTextOf(const QString& path, const QByteArray& html);

// The words of a query, as they are looked for: in lower case, "ё" as "е".
QStringList QueryWords(const QString& query);

// Text folded as the words are: the same length, character for character.
QString Folded(const QString& text);

class SearchIndex {
 public:
  // Every page (.htm, .html) of the archive, in its order.
  static SearchIndex Of(const ChmArchive& archive);
  explicit SearchIndex(QList<PageText> pages = {}) : pages_(std::move(pages)) {}

  // Pages holding every word of the query (as a word or the start of a
  // longer one: «Антарес» finds «Антареса»), the most hits first, then in
  // the pages' order.
  QList<SearchHit> Find(const QString& query) const;
  const QList<PageText>& Pages() const { return pages_; }

 private:
  QList<PageText> pages_;
  mutable QList<QString> folded_;  // filled on the first search
  mutable bool ready_ = false;
};

}  // namespace kv::help
