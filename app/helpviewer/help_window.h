// The help viewer's window: a page of the help file in a rich-text browser
// that reads every object it shows (pages, stylesheet, pictures) straight
// from the CHM, and nothing from anywhere else.
#pragma once

#include <QMainWindow>
#include <QUrl>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_request.h"

class QAction;
class QTextBrowser;

namespace kv::help {

inline constexpr char kScheme[] = "chm";

// Tables within tables the viewer lays out. The layout follows each level
// down the stack and, sizing the columns, takes about half again as long
// per level: 14 take seconds, 32 minutes. The help's own pages use one.
inline constexpr int kMaxNesting = 8;

// What the viewer lays out for the bytes of page `path` of help file
// `file`: the page in the charset it declares, or the note of TooDeepPage
// for one nested deeper than kMaxNesting. Parsed once on its own, without
// layout and without reading anything, to find that out.
QString PageText(const QByteArray& body, const QString& path, const QString& file);

// The address of a page of the open help file ("30.html#calc" -> chm:/30.html#calc);
// an address of another kind (http:, mailto:) comes back as it is.
QUrl PageUrl(const QString& local);

class HelpWindow : public QMainWindow {
 public:
  explicit HelpWindow(const HelpRequest& request, QWidget* parent = nullptr);

  void ShowPage(const QString& local);
  QTextBrowser* View() const { return view_; }
  QAction* BackAction() const { return back_; }
  QAction* ForwardAction() const { return forward_; }
  QAction* HomeAction() const { return home_; }

 private:
  void Follow(const QUrl& url);
  void UpdateTitle();

  ChmArchive archive_;
  QString homePage_;
  QTextBrowser* view_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QAction* home_ = nullptr;
};

}  // namespace kv::help
