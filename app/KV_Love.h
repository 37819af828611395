// The main window of Korvella Love: five tabs, start-up, dispatch of every
// button to its unit, and help.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QPixmap>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "compat/scan.h"
#include "lunar/phases.h"
#include "compat_chart.h"
#include "entries.h"
#include "platform.h"
#include "widgets.h"

namespace kvpaint {
class ChartPainter;
}

namespace kvapp {

using kvpaint::ChartPainter;
class CompatWindowRun;
class PlaceTabs;
class PrintTabs;

class TZKV_LoveForm : public QWidget {
  Q_OBJECT
 public:
  explicit TZKV_LoveForm(QWidget* parent = nullptr);
  ~TZKV_LoveForm() override;

  // Every message box of the window goes through here, so that tests can
  // watch them instead of a modal box (text, critical = error box).
  std::function<void(const QString& text, bool critical)> messageBox;
  void ShowError(const QString& text) { messageBox(text, true); }
  // Every start of the help viewer too: false when it could not be started.
  std::function<bool(const QString& helpFile, const QString& topic)> helpViewer = StartHelpViewer;

  void FormCreate();
  void FormActivate();
  void PageControl1Change();
  void BitBtn10Click();
  void BitBtn1Click();
  void BitBtn5Click();
  void RadioGroup1Click();
  void ListBox1Click();
  void BitBtn7Click();
  void BitBtn6Click() { ShowHelpPage(10); }
  void BitBtn2Click() { ShowHelpPage(30); }
  void BitBtn3Click() { ShowHelpPage(40); }
  void BitBtn9Click() { ShowHelpPage(50); }
  void BitBtn8Click() { ShowHelpPage(60); }
  void BitBtn11Click();  // «Сбросить»
  void Image7Click();
  void Image6Click();
  void Image5Click();
  void SpinEdit21Change();
  void ShowHelpPage(int n);
  // A later start of the program in the same main directory asks for this.
  void BringToFront();

  // The pause between two steps of the compatibility run, kv::kCompatPause;
  // tests that are not about its pace shorten it.
  void SetCompatPause(std::chrono::milliseconds pause) { compatTimer_->setInterval(pause); }

  bool startupDone() const { return startupDone_; }
  // The contents of tabs 2 to 5, built at the first change of tab; the
  // controls below on those tabs are null until then.
  void BuildTabs();
  bool tabsBuilt() const { return tabsBuilt_; }
  bool compatRunning() const { return compatRun_ != nullptr; }
  // The user's place, a birth's, and today (place_tabs.h).
  PlaceTabs& Places() { return *places_; }
  // Printing and PDFs of the tab in front (print_tabs.h).
  PrintTabs& Printing() { return *printing_; }

  // What the results on show were made from, for their printed titles:
  // the compatibility run's inputs (of its last pass begun) and whether
  // both its charts are complete; the report's name and birth date.
  kv::CompatInputs compatInputs;
  bool compatFinished = false;
  QString reportName, reportDate;
  // What the lunar tab's text area says before any result.
  static QString LunarHint();
  const PlaceTabs& Places() const { return *places_; }
  // The lunar tab's phase table of a year written to its listing file, the
  // listing kept as the one the lunar month table now holds.
  kv::TPhaseTable WritePhases(std::int32_t year);

  // Controls, named as the program names them.
  QTabWidget* PageControl1;
  QWidget *TabSheet1, *TabSheet2 = nullptr, *TabSheet3 = nullptr, *TabSheet4 = nullptr,
                      *TabSheet5 = nullptr;
  // Tab 1
  TImage* Image1;
  QPushButton *BitBtn6, *BitBtn11;
  // Tab 2
  TImage* Image7;
  QLabel *Label31, *Label33;
  TSpinEdit *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;
  QPushButton *BitBtn10, *BitBtn2;
  TPanel *Panel8, *Panel2;
  TCompatChart *Image3, *Image4;
  TCompatScale *Scale3, *Scale4;  // the levels beside each chart
  // The 10 highest and 10 lowest days of each year of the last run.
  QListWidget* ListBox3;
  std::unique_ptr<ChartPainter> Chart3, Chart4;  // what Image3 and Image4 show, from the first run
  // Tab 3
  TImage* Image6;
  QLabel *Label5, *Label3, *Label4, *Label1, *Label2;
  QLineEdit* Edit2;
  TSpinEdit *SpinEdit5, *SpinEdit6, *SpinEdit7, *SpinEdit8, *SpinEdit9;
  QPushButton *BitBtn1, *BitBtn3;
  TPanel* Panel1;
  TWebBrowser* WebBrowser2 = nullptr;  // made when the first report is shown
  // Tab 4
  TPanel *Panel3, *Panel6, *Panel4, *Panel5, *Panel7;
  QLabel* Label8;
  TSpinEdit* SpinEdit22;
  QPushButton *BitBtn5, *BitBtn9;
  QGroupBox* RadioGroup1;
  QButtonGroup* RadioGroup1Items;
  TListBox* ListBox1;
  QPlainTextEdit* Memo1;
  // Tab 5
  TImage* Image5;
  QListWidget* ListBox2;
  QLabel* Label9;
  TSpinEdit* SpinEdit21;
  QPushButton *BitBtn7, *BitBtn8;

  int RadioGroup1ItemIndex() const;
  void SetRadioGroup1ItemIndex(int i);  // -1: none chosen

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Runs a handler as one event: an error that leaves it is shown in a
  // message box and the program goes on with what the handler had done.
  void Dispatch(const std::function<void()>& handler);
  template <class W, class Signal>
  void On(W* w, Signal s, void (TZKV_LoveForm::*handler)()) {
    connect(w, s, this, [this, handler] { Dispatch([this, handler] { (this->*handler)(); }); });
  }
  QPushButton* MakeComputeButton(QWidget* parent, const char* text, int x = 717, int y = 573,
                                 int h = 26);
  QPushButton* MakeHelpButton(QWidget* parent, const char* text, int x = 843, int y = 573);
  void BuildTab1();
  void BuildTab2();
  void BuildTab3();
  void BuildTab4();
  void BuildTab5();
  void ResetTabs();  // the start-up state of tabs 2 to 5
  void LoadMemo1(const std::string& utf8Text);
  void ConnectHandlers();
  void NameControls();
  void DescribeControls();
  void DescribeCharts();
  // The charts' days and the list of extremes from the run in progress or just over.
  void ShowChartDays();
  void FillExtremeDays();
  void ShowCurrentHelp();

  // The phase listing this window last wrote, the one its lunar month table
  // holds (Windows-1251), at a place or not: shown again above the lunar
  // days of a month, whatever another program writes to the listing file
  // meanwhile.
  std::optional<std::string> phaseListing_;
  std::int32_t phaseYear_ = 0;  // the year of that listing
  int monthBefore_ = -1;        // the lunar month chosen before the one being chosen
  QIcon okGlyph_, helpGlyph_;   // made once for the buttons
  bool startupQueued_ = false;
  bool startupDone_ = false;
  bool tabsBuilt_ = false;
  KeptEntries kept_;    // read at the start, put in the fields once they are built
  QPixmap background_;  // the picture behind four tabs, once loaded
  // The compatibility run in progress, stepped by its timer, one point a tick.
  void CompatTick();
  void EndCompatRun();
  QTimer* compatTimer_ = nullptr;
  std::unique_ptr<CompatWindowRun> compatRun_;
  friend class CompatWindowRun;
  PlaceTabs* places_ = nullptr;    // a child of the window
  PrintTabs* printing_ = nullptr;  // a child of the window
  friend class PrintTabs;
};

}  // namespace kvapp
