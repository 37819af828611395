#include "app/helpviewer/help_sitemap.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include "app/helpviewer/chm_archive.h"

namespace kv::help {

QString DecodeHtml(const QByteArray& bytes) {
  QStringDecoder dec = QStringDecoder::decoderForHtml(bytes);
  // Without a declaration the decoder guesses UTF-8, which our pages are not.
  static const QRegularExpression declared(QStringLiteral("charset\\s*="),
                                           QRegularExpression::CaseInsensitiveOption);
  if (!dec.isValid() || !QString::fromLatin1(bytes.left(1024)).contains(declared))
    dec = QStringDecoder("windows-1251");
  if (!dec.isValid()) return QString::fromLatin1(bytes);
  return dec.decode(bytes);
}

QString DecodeEntities(const QString& text) {
  static const QHash<QString, QChar> named = {
      {QStringLiteral("amp"), u'&'},    {QStringLiteral("lt"), u'<'},
      {QStringLiteral("gt"), u'>'},     {QStringLiteral("quot"), u'"'},
      {QStringLiteral("apos"), u'\''},  {QStringLiteral("nbsp"), QChar(0xa0)},
      {QStringLiteral("laquo"), u'«'},  {QStringLiteral("raquo"), u'»'},
      {QStringLiteral("mdash"), u'—'},  {QStringLiteral("ndash"), u'–'},
      {QStringLiteral("deg"), u'°'},    {QStringLiteral("copy"), u'©'},
      {QStringLiteral("hellip"), u'…'}, {QStringLiteral("times"), u'×'},
      {QStringLiteral("minus"), u'−'},  {QStringLiteral("middot"), u'·'}};
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype semi = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
    if (semi < 0 || semi - i > 10) {
      out += text[i];
      continue;
    }
    const QString name = text.mid(i + 1, semi - i - 1);
    char32_t code = 0;
    bool ok = false;
    if (name.startsWith(u"#x", Qt::CaseInsensitive))
      code = name.mid(2).toUInt(&ok, 16);
    else if (name.startsWith(u'#'))
      code = name.mid(1).toUInt(&ok, 10);
    else if (const auto it = named.constFind(name.toLower()); it != named.constEnd())
      code = it->unicode(), ok = true;
    if (!ok || code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
      out += text[i];
      continue;
    }
    out += QString::fromUcs4(&code, 1);
    i = semi;
  }
  return out;
}

namespace {

// One tag: its lower-case name ("ul", "/ul", "param") and its attributes.
struct Tag {
  QString name;
  QHash<QString, QString> attrs;
};

// The next tag from `at` on; false when none is left.
bool NextTag(const QString& s, qsizetype& at, Tag& tag) {
  static const QRegularExpression attr(
      QStringLiteral(R"re(([A-Za-z_:][-\w:.]*)\s*(?:=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))?)re"));
  for (;;) {
    const qsizetype lt = s.indexOf(u'<', at);
    if (lt < 0) return false;
    if (s.mid(lt, 4) == u"<!--") {
      const qsizetype end = s.indexOf(u"-->", lt + 4);
      if (end < 0) return false;
      at = end + 3;
      continue;
    }
    // A '>' inside a quoted value does not end the tag.
    qsizetype gt = lt + 1;
    QChar quote;
    for (; gt < s.size(); ++gt) {
      const QChar c = s[gt];
      if (!quote.isNull()) {
        if (c == quote) quote = QChar();
      } else if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (c == u'>') {
        break;
      }
    }
    if (gt >= s.size()) return false;
    const QString body = s.mid(lt + 1, gt - lt - 1);
    at = gt + 1;
    qsizetype n = 0;
    while (n < body.size() && (body[n].isLetterOrNumber() || body[n] == u'/' || body[n] == u'!'))
      ++n;
    tag.name = body.left(n).toLower();
    tag.attrs.clear();
    for (auto it = attr.globalMatch(body.mid(n)); it.hasNext();) {
      const auto m = it.next();
      QString v = m.captured(2);
      if (v.isEmpty()) v = m.captured(3);
      if (v.isEmpty()) v = m.captured(4);
      tag.attrs.insert(m.captured(1).toLower(), DecodeEntities(v));
    }
    return true;
  }
}

}  // namespace

QList<SitemapEntry> ParseSitemap(const QByteArray& file) {
  const QString s = DecodeHtml(file);
  QList<SitemapEntry> root;
  // The lists open at the moment: each a list of entries, the newest last.
  // An entry's children are the list that opens right after it.
  QList<QList<SitemapEntry>*> open{&root};
  int depth = 0;  // <UL>s open, including those beyond the limit
  SitemapEntry current;
  bool inObject = false;
  Tag tag;
  for (qsizetype at = 0; NextTag(s, at, tag);) {
    if (tag.name == u"ul") {
      ++depth;
      // The first <UL> is the top list itself.
      if (depth == 1) continue;
      QList<SitemapEntry>* parent = open.back();
      if (open.size() < kMaxSitemapDepth && !parent->isEmpty())
        open.push_back(&parent->back().children);
      else
        open.push_back(parent);
    } else if (tag.name == u"/ul") {
      if (depth > 1 && open.size() > 1) open.pop_back();
      if (depth > 0) --depth;
    } else if (tag.name == u"object") {
      inObject =
          tag.attrs.value(QStringLiteral("type")).compare(u"text/sitemap", Qt::CaseInsensitive) ==
          0;
      current = {};
    } else if (tag.name == u"param" && inObject) {
      const QString name = tag.attrs.value(QStringLiteral("name")).toLower();
      const QString value = tag.attrs.value(QStringLiteral("value")).trimmed();
      if (name == u"name" && current.name.isEmpty())
        current.name = value;
      else if (name == u"local" && !value.isEmpty())
        current.locals << NormalizeLocal(value);
    } else if (tag.name == u"/object" && inObject) {
      inObject = false;
      if (!current.name.isEmpty()) open.back()->push_back(std::move(current));
      current = {};
    }
  }
  return root;
}

}  // namespace kv::help
