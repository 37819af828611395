// The help viewer's window: a page of the help file in a rich-text browser
// that reads every object it shows (pages, stylesheet, pictures) straight
// from the CHM, and nothing from anywhere else.
#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QUrl>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_request.h"

class QAction;
class QToolBar;
class QTextBrowser;

namespace kv::help {

class HelpPanes;

inline constexpr char kScheme[] = "chm";

// An action of the viewer's window with its keys, named with them in its tooltip.
QAction* NewAction(QWidget* owner, const QIcon& icon, const QString& text,
                   const QList<QKeySequence>& keys);

// Tables within tables the viewer lays out. The layout follows each level
// down the stack and, sizing the columns, takes about half again as long
// per level: 14 take seconds, 32 minutes. The help's own pages use one.
inline constexpr int kMaxNesting = 8;

// What the viewer lays out for the bytes of page `path` of help file
// `file`: the page in the charset it declares, or the note of TooDeepPage
// for one nested deeper than kMaxNesting. Parsed once on its own, without
// layout and without reading anything, to find that out.
QString ViewedPageText(const QByteArray& body, const QString& path, const QString& file);

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

  // The panes, zoom, print and close of the viewer (help_window_tools.cpp).
  HelpPanes* Panes() const { return panes_; }
  int ZoomPercent() const;
  void Zoom(int steps);  // 0: back to 100 %
  // With no file: the print dialog; with one: a PDF of the page, unasked.
  bool Print(const QString& pdfFile = {});
  // Where the print module is looked for: the program's folder unless set.
  void SetModuleDir(const QString& dir) { moduleDir_ = dir; }
  // A request handed over by a later start: the page, then the window in front.
  void ShowRequested(const QString& local);
  void BringToFront();
  QAction* ZoomInAction() const { return zoomIn_; }
  QAction* ZoomOutAction() const { return zoomOut_; }
  QAction* ZoomResetAction() const { return zoomReset_; }
  QAction* PrintAction() const { return print_; }

 private:
  void Follow(const QUrl& url);
  void UpdateTitle();
  void SetUpTools(QToolBar* bar);
  void PageLoaded(const QUrl& url);
  void OpenHit(const QString& path, const QStringList& words);

  ChmArchive archive_;
  QString homePage_;
  QTextBrowser* view_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QAction* home_ = nullptr;

  HelpPanes* panes_ = nullptr;
  QAction* zoomIn_ = nullptr;
  QAction* zoomOut_ = nullptr;
  QAction* zoomReset_ = nullptr;
  QAction* print_ = nullptr;
  int zoom_;  // index into kZoomSteps
  QString moduleDir_;
};

}  // namespace kv::help
