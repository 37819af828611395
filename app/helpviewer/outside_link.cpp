#include "app/helpviewer/outside_link.h"

#include <QUrlQuery>

namespace kv::help {

QUrl OutsideLink(const QUrl& link) {
  if (!link.isValid()) return {};
  const QString scheme = link.scheme().toLower();
  if (scheme == u"http" || scheme == u"https") return link.host().isEmpty() ? QUrl() : link;
  if (scheme != u"mailto") return {};
  // Mail programs act on headers they are given (attach, cc, bcc, from, a
  // second "to"): only the subject and the body are kept.
  QUrlQuery kept;
  for (const auto& [key, value] : QUrlQuery(link).queryItems(QUrl::FullyEncoded)) {
    const QString k = key.toLower();
    if (k == u"subject" || k == u"body") kept.addQueryItem(k, value);
  }
  QUrl out;
  out.setScheme(QStringLiteral("mailto"));
  out.setPath(link.path(QUrl::FullyEncoded), QUrl::StrictMode);
  if (!kept.isEmpty()) out.setQuery(kept.query(QUrl::FullyEncoded), QUrl::StrictMode);
  return out.isValid() ? out : QUrl();
}

}  // namespace kv::help
