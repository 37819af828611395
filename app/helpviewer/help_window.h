// The help viewer's window: the table of contents on the left, the page on
// the right, pages served straight from the CHM under the "chm:" scheme.
#pragma once

#include <QMainWindow>
#include <QUrl>

#include <memory>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_request.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineProfile;
class QWebEngineView;

namespace kv::help {

inline constexpr char kScheme[] = "chm";

// Before QApplication is created: registers the scheme and sets what Qt
// WebEngine needs here (no sandbox as root, no GPU without a display).
void PrepareApplication();

// The address of a page of the open help file ("30.html#calc" -> chm:/30.html#calc).
QUrl PageUrl(const QString& local);

class HelpWindow : public QMainWindow {
 public:
  explicit HelpWindow(const HelpRequest& request, QWidget* parent = nullptr);
  ~HelpWindow() override;

  void ShowPage(const QString& local);
  QWebEngineView* View() const { return view_; }
  QTreeWidget* Contents() const { return toc_; }

 private:
  void FillContents(QTreeWidgetItem* parent, const std::vector<TocEntry>& entries);
  void SyncContents(const QUrl& url);
  void UpdateTitle(const QString& pageTitle);

  std::shared_ptr<const ChmArchive> archive_;
  QString home_;
  QWebEngineProfile* profile_ = nullptr;
  QTreeWidget* toc_ = nullptr;
  QWebEngineView* view_ = nullptr;
};

}  // namespace kv::help
