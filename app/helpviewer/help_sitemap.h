// The help file's contents (toc.hhc) and index (index.hhk): lists of
// <OBJECT type="text/sitemap"> entries in nested <UL>s, as the help
// compiler takes them. No widgets here.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kv::help {

struct SitemapEntry {
  QString name;        // the first "Name": the title, or the index keyword
  QStringList locals;  // its pages, normalised (NormalizeLocal); may be empty
  QList<SitemapEntry> children;
};

// Lists nested deeper than this are read as if they were one level up: a
// damaged file cannot make the panes recurse without end.
inline constexpr int kMaxSitemapDepth = 32;

// Decoded as the file declares in its <meta> charset, else as Windows-1251,
// the code page the Russian help compiler writes in. Anything else of the
// file (properties, scripts, stray text) is left out.
QList<SitemapEntry> ParseSitemap(const QByteArray& file);

// Text from HTML (a page, or a value of a parameter): &amp;, &nbsp;,
// &#1040; and the like turned into their characters.
QString DecodeEntities(const QString& text);

// How the bytes of an HTML file are read: its declared charset, else
// Windows-1251.
QString DecodeHtml(const QByteArray& bytes);

}  // namespace kv::help
