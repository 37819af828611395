// The viewer's side panes, as in other help viewers: the contents and the
// index of the help file, and a full-text search over its pages. Each pane
// is built when it is first shown, its search index at the first search:
// the viewer's start reads nothing for them but what the first pane shows.
#pragma once

#include <QStringList>
#include <QTabWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace kv::help {

class ChmArchive;
class SearchIndex;

class HelpPanes : public QTabWidget {
  Q_OBJECT
 public:
  enum Pane { Contents, Index, Search };
  HelpPanes(const ChmArchive& archive, QWidget* parent = nullptr);
  ~HelpPanes() override;

  // Brings the pane to the front and the keyboard to its first control.
  void ShowPane(Pane pane);
  // Marks the page in the contents, if they list it.
  void SetCurrentPage(const QString& path);

  bool IsBuilt(Pane pane) const;
  QTreeWidget* ContentsTree() const { return tree_; }
  QLineEdit* IndexField() const { return indexField_; }
  QListWidget* IndexList() const { return indexList_; }
  QLineEdit* SearchField() const { return searchField_; }
  QListWidget* SearchResults() const { return results_; }
  QLabel* SearchStatus() const { return status_; }
  // Runs the search for what the search field holds.
  void RunSearch();

 signals:
  void pageRequested(const QString& local);
  // A search hit opened: its page and the words to mark on it.
  void hitOpened(const QString& path, const QStringList& words);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(int pane);
  void BuildContents(QWidget* page);
  void BuildIndex(QWidget* page);
  void BuildSearch(QWidget* page);
  void FilterIndex(const QString& text);
  void OpenIndexEntry();

  const ChmArchive& archive_;
  bool built_[3] = {false, false, false};
  QString currentPage_;
  QTreeWidget* tree_ = nullptr;
  QLineEdit* indexField_ = nullptr;
  QListWidget* indexList_ = nullptr;
  QLineEdit* searchField_ = nullptr;
  QPushButton* searchButton_ = nullptr;
  QLabel* status_ = nullptr;
  QListWidget* results_ = nullptr;
  QStringList words_;  // of the search whose hits are listed
  std::unique_ptr<SearchIndex> index_;
};

}  // namespace kv::help
