#include <gtest/gtest.h>

#include "app/helpviewer/outside_link.h"

using kv::help::OutsideLink;

namespace {
std::string Out(const char* link) {  // as the desktop receives it, encoded
  return OutsideLink(QUrl(QString::fromUtf8(link))).toEncoded().toStdString();
}
}  // namespace

TEST(OutsideLinkTest, OnlyWebsitesAndMailLeave) {
  EXPECT_EQ(Out("https://example.org/a?b=c#d"), "https://example.org/a?b=c#d");
  EXPECT_EQ(Out("HTTP://example.org/"), "http://example.org/");
  for (const char* kept : {"file:///etc/passwd", "/etc/passwd", "javascript:alert(1)",
                           "ftp://host/f", "smb://host/share", "ms-its:x.chm::/a.html",
                           "chm:/10.html", "data:text/html,x", "http:///nohost", "tel:123"})
    EXPECT_EQ(Out(kept), "") << kept;
}

TEST(OutsideLinkTest, MailKeepsOnlyItsSubjectAndBody) {
  EXPECT_EQ(Out("mailto:a@example.org"), "mailto:a@example.org");
  EXPECT_EQ(Out("mailto:a@example.org?attach=/etc/passwd"), "mailto:a@example.org");
  EXPECT_EQ(Out("mailto:a@example.org?Subject=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&cc=b@x.org"
                "&BCC=c@x.org&attachment=~/.ssh/id_rsa&to=d@x.org&body=a%26b%3Dc"),
            "mailto:a@example.org?subject=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&body=a%26b%3Dc");
  EXPECT_EQ(Out("mailto:?attach=/etc/passwd&subject=x"), "mailto:?subject=x");
}
