// A help page as anyone may have built a help file: any bytes read, laid
// out and drawn by the viewer's own browser, offscreen.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextBrowser>
#include <cstdint>
#include <cstdlib>

#include "app/helpviewer/help_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One application and one window for the whole run, as in the viewer.
  static kv::help::HelpWindow* window = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "help_page_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // No help file: the browser serves a placeholder for every picture and
    // stylesheet, and reads nothing from the disk.
    auto* w = new kv::help::HelpWindow({QStringLiteral("/nonexistent/LoveHelp.chm"), {}});
    w->resize(600, 400);
    return w;
  }();
  const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QTextBrowser* view = window->View();
  view->setHtml(
      kv::help::ViewedPageText(body, QStringLiteral("page.html"), QStringLiteral("LoveHelp.chm")));
  QTextDocument* doc = view->document();
  doc->setTextWidth(580);
  if (!(doc->size().width() >= 0)) std::abort();  // laid out whole
  QImage canvas(300, 300, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&canvas);
  doc->drawContents(&painter, QRectF(0, 0, 300, 300));
  doc->documentLayout()->hitTest(QPointF(150, 150), Qt::FuzzyHit);
  return 0;
}
