#include "app/helpviewer/help_search.h"

#include <QRegularExpression>

#include <algorithm>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_sitemap.h"

namespace kv::help {

namespace {

constexpr int kExcerptBefore = 40;
constexpr int kExcerptLength = 140;

// The positions where `word` begins a word of `folded`.
QList<qsizetype> Occurrences(const QString& folded, const QString& word) {
  QList<qsizetype> at;
  for (qsizetype i = folded.indexOf(word); i >= 0; i = folded.indexOf(word, i + 1))
    if (i == 0 || !folded[i - 1].isLetterOrNumber()) at << i;
  return at;
}

}  // namespace

QString Folded(const QString& text) {
  QString f = text;
  for (QChar& c : f) c = c == u'ё' || c == u'Ё' ? QChar(u'е') : c.toLower();
  return f;
}

QStringList QueryWords(const QString& query) {
  static const QRegularExpression split(QStringLiteral("[^\\w]+"),
                                        QRegularExpression::UseUnicodePropertiesOption);
  QStringList words = Folded(query).split(split, Qt::SkipEmptyParts);
  words.removeDuplicates();
  return words;
}

PageText PageTextOf(const QString& path, const QByteArray& html) {
  QString s = DecodeHtml(html);
  static const QRegularExpression title(
      QStringLiteral("<title[^>]*>(.*?)</title>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression hidden(
      QStringLiteral("<(head|script|style)\\b.*?</\\1\\s*>|<!--.*?-->"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  PageText page{path, {}, {}};
  if (const auto m = title.match(s); m.hasMatch())
    page.title = DecodeEntities(m.captured(1)).simplified();
  if (page.title.isEmpty()) page.title = path;
  s.remove(hidden);
  s.replace(tag, QStringLiteral(" "));
  page.text = DecodeEntities(s).replace(QChar(0xa0), u' ').replace(blanks, QStringLiteral(" "));
  page.text = page.text.trimmed();
  return page;
}

SearchIndex SearchIndex::Of(const ChmArchive& archive) {
  QList<PageText> pages;
  for (const QString& path : archive.Objects()) {
    if (!path.endsWith(u".html", Qt::CaseInsensitive) &&
        !path.endsWith(u".htm", Qt::CaseInsensitive))
      continue;
    if (const std::optional<QByteArray> html = archive.Read(path)) pages << PageTextOf(path, *html);
  }
  return SearchIndex(std::move(pages));
}

QList<SearchHit> SearchIndex::Find(const QString& query) const {
  const QStringList words = QueryWords(query);
  if (words.isEmpty()) return {};
  if (!ready_) {
    for (const PageText& p : pages_) folded_ << Folded(p.text);
    ready_ = true;
  }
  QList<SearchHit> hits;
  for (qsizetype k = 0; k < pages_.size(); ++k) {
    SearchHit hit{pages_[k].path, pages_[k].title, 0, {}};
    qsizetype first = -1;
    for (const QString& w : words) {
      const QList<qsizetype> at = Occurrences(folded_[k], w);
      if (at.isEmpty()) {
        hit.count = 0;
        break;
      }
      hit.count += int(at.size());
      if (first < 0) first = at.front();
    }
    if (hit.count == 0) continue;
    const QString& text = pages_[k].text;
    qsizetype from = std::max<qsizetype>(0, first - kExcerptBefore);
    // From the start of a word.
    if (from > 0) {
      const qsizetype blank = text.indexOf(u' ', from);
      if (blank >= 0 && blank < first) from = blank + 1;
    }
    hit.excerpt = text.mid(from, kExcerptLength).trimmed();
    if (from > 0) hit.excerpt.prepend(u'…');
    if (from + kExcerptLength < text.size()) hit.excerpt.append(u'…');
    hits << hit;
  }
  std::stable_sort(hits.begin(), hits.end(),
                   [](const SearchHit& a, const SearchHit& b) { return a.count > b.count; });
  return hits;
}

}  // namespace kv::help
