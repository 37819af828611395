#include "KV_Love.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>
#include <clocale>
#include <filesystem>

#include "core/inputs.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/textfile.h"
#include "compat/charts.h"
#include "compat/scan.h"
#include "degrees/degree_report.h"
#include "eclipse/eclipse_list.h"
#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"
#include "painter/chart_painter.h"
#include "accessibility.h"
#include "accessible.h"
#include "compat_chart.h"
#include "desktop.h"
#include "entries.h"
#include "jpeg.h"
#include "place_tabs.h"
#include "print_tabs.h"
#include "platform.h"

namespace kvapp {

namespace {

// A tab page; the page control around it and the window are a little larger.
constexpr int kTabWidth = 984;
constexpr int kTabHeight = 636;
constexpr int kWindowWidth = 992;
constexpr int kWindowHeight = 666;

QFont Font(const QString& family, int px, bool bold = false) {
  QFont f(InstalledFace(family));
  f.setPixelSize(px);
  f.setBold(bold);
  return f;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int y, int px,
                  const QColor& fg = Qt::white, const QColor& bg = Qt::black) {
  auto* l = new QLabel(U(text), parent);
  l->setTextFormat(Qt::PlainText);
  l->setFont(Font(QStringLiteral("Arial"), px));
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, fg);
  p.setColor(QPalette::Window, bg);
  l->setPalette(p);
  l->setAutoFillBackground(true);
  l->move(x, y);
  l->adjustSize();
  return l;
}

// The field colour of an edit, list or text area, with black text.
void SetFieldColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, c);
  p.setColor(QPalette::Text, Qt::black);
  w->setPalette(p);
}

const QColor kFieldYellow(0xFF, 0xFC, 0xD7);
const QColor kFieldCream(0xFF, 0xFF, 0xEA);

TSpinEdit* MakeSpinEdit(QWidget* parent, int x, int y, int w, int h, kv::InputRange range,
                        int value, int px = 15) {
  auto* s = new TSpinEdit(parent);
  // The font first: text set before it would be laid out twice.
  s->setFont(Font(QStringLiteral("Arial"), px));
  s->setRange(range.lo, range.hi);
  s->setDefaultValue(value);
  SetFieldColour(s, kFieldYellow);
  s->setGeometry(x, y, w, h);
  return s;
}

// The buttons' two glyphs, drawn here once: the style's stock icons would
// cost a look-up in the desktop's icon theme at every start.
QIcon DrawGlyph(const std::function<void(QPainter&)>& draw) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return QIcon(pm);
}

QIcon OkGlyph() {
  return DrawGlyph([](QPainter& p) {
    p.setPen(QPen(QColor(0x1E, 0x8C, 0x3A), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{3, 8.5}, {6.5, 12}, {13, 4}};
    p.drawPolyline(tick, 3);
  });
}

QIcon HelpGlyph() {
  return DrawGlyph([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x6F, 0xC9));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 12.3), 1.1, 1.1);
    QPainterPath hook;
    hook.moveTo(5.4, 6.1);
    hook.cubicTo(5.4, 2.9, 10.6, 2.9, 10.6, 6.0);
    hook.cubicTo(10.6, 7.7, 8, 7.9, 8, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
  });
}

// Two arrows round a circle: the fields go back to where they started.
QIcon ResetGlyph() {
  return DrawGlyph([](QPainter& p) {
    const QColor blue(0x2A, 0x6F, 0xC9);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    const QPointF head[] = {{7.2, 0.6}, {10.6, 3.2}, {7.0, 5.8}};
    p.drawPolygon(head, 3);
  });
}

// The compute buttons carry the OK glyph and red text, the others the help glyph.
QPushButton* MakeButton(QWidget* parent, const char* text, int x, int y, int w, int h,
                        const QIcon& glyph, bool compute) {
  auto* b = new QPushButton(U(text), parent);
  b->setAutoDefault(true);  // Return and Enter press the focused button
  b->setFont(Font(QStringLiteral("System"), 15, true));
  b->setIcon(glyph);
  if (compute) {
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, Qt::red);
    b->setPalette(p);
  }
  b->setGeometry(x, y, w, h);
  return b;
}

void SetColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

TImage* MakeBackground(QWidget* tab) {
  auto* img = new TImage(tab);
  img->setGeometry(0, 0, kTabWidth, kTabHeight);
  SetColour(img, Qt::black);
  return img;
}

// The page control's pane is a little larger than a tab page: keep the page
// at its size, centred, as the toolkit's page control does.
void PutPage(QTabWidget* pages, int index, QWidget* page) {
  auto* l = new QGridLayout(pages->widget(index));
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(page, 0, 0, Qt::AlignCenter);
  // In place and shown at once, also when its tab is in front already.
  l->activate();
  page->show();
}

}  // namespace

namespace {
// A spin edit is announced with what it holds and its range.
void Describe(TSpinEdit* s, const char* name, const char* more = "") {
  s->setAccessibleName(U(name));
  s->setAccessibleDescription(U("от %1 до %2").arg(s->minimum()).arg(s->maximum()) + U(more));
}

void Describe(QWidget* w, const char* name, const char* description = "") {
  w->setAccessibleName(U(name));
  w->setAccessibleDescription(U(description));
}

void DescribeHelp(QPushButton* b) { Describe(b, "Помощь", "Справка по этой вкладке, клавиша F1"); }
}  // namespace

TZKV_LoveForm::TZKV_LoveForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ZKV_LoveForm"));
  messageBox = [this](const QString& text, bool critical) {
    if (critical)
      QMessageBox::critical(this, QStringLiteral("Korvella Love"), text, QMessageBox::Ok);
    else
      QMessageBox::information(this, QStringLiteral("Korvella Love"), text, QMessageBox::Ok);
  };
  setWindowTitle(U("  Программа \"Korvella Love\""));
  ExposeAsFrame(this);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  okGlyph_ = OkGlyph();
  helpGlyph_ = HelpGlyph();

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setFont(Font(QStringLiteral("Arial"), 12));
  PageControl1->setGeometry(0, 0, kWindowWidth, kWindowHeight);
  PageControl1->setDocumentMode(true);

  for (const char* title :
       {"Начало", "Совместимость", " Планеты Вашего гороскопа ", " Лунные дни ", " Затмения "})
    PageControl1->addTab(new QWidget, U(title));
  // The compatibility run's clock: a step, then a pause.
  compatTimer_ = new QTimer(this);
  compatTimer_->setInterval(kv::kCompatPause);
  compatTimer_->setTimerType(Qt::PreciseTimer);

  // The start page only: the other tabs are built when first needed
  // (BuildTabs), since they cost most of a start and the first frame
  // shows none of them.
  BuildTab1();
  places_ = new PlaceTabs(*this);
  printing_ = new PrintTabs(*this);
  Image1->setObjectName(QStringLiteral("Image1"));
  BitBtn6->setObjectName(QStringLiteral("BitBtn6"));
  BitBtn11->setObjectName(QStringLiteral("BitBtn11"));
  QWidget::setTabOrder(BitBtn11, BitBtn6);  // left to right, once the tab is in the window
  Describe(PageControl1, "Разделы программы");
  // The blanks that widen the tabs on screen are not read.
  for (int i = 0; i < PageControl1->count(); ++i)
    PageControl1->tabBar()->setAccessibleTabName(i, PageControl1->tabText(i).trimmed());
  DescribeHelp(BitBtn6);
  Describe(BitBtn11, "Сбросить",
           "Возвращает имя, даты, время и место рождения и годы всех вкладок к начальным "
           "значениям");
  BitBtn11->setToolTip(BitBtn11->accessibleDescription());
  On(BitBtn11, &QPushButton::clicked, &TZKV_LoveForm::BitBtn11Click);
  On(BitBtn6, &QPushButton::clicked, &TZKV_LoveForm::BitBtn6Click);
  On(compatTimer_, &QTimer::timeout, &TZKV_LoveForm::CompatTick);
  On(PageControl1, &QTabWidget::currentChanged, &TZKV_LoveForm::PageControl1Change);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { Dispatch([this] { ShowCurrentHelp(); }); });
  new TFocusRing(this);
  FormCreate();
}

void TZKV_LoveForm::BuildTabs() {
  if (tabsBuilt_) return;
  tabsBuilt_ = true;
  BuildTab2();
  BuildTab3();
  BuildTab4();
  BuildTab5();
  places_->BuildFields();
  printing_->AttachMenus();
  NameControls();
  DescribeControls();
  ConnectHandlers();
  // As the start-up work left them, when it is done already.
  if (startupDone_) ResetTabs();
}

TZKV_LoveForm::~TZKV_LoveForm() = default;

QPushButton* TZKV_LoveForm::MakeComputeButton(QWidget* parent, const char* text, int x, int y,
                                              int h) {
  return MakeButton(parent, text, x, y, 122, h, okGlyph_, true);
}

QPushButton* TZKV_LoveForm::MakeHelpButton(QWidget* parent, const char* text, int x, int y) {
  return MakeButton(parent, text, x, y, 122, 26, helpGlyph_, false);
}

void TZKV_LoveForm::BuildTab1() {
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  TabSheet1->setFixedSize(kTabWidth, kTabHeight);
  Image1 = MakeBackground(TabSheet1);
  BitBtn6 = MakeHelpButton(TabSheet1, " Помощь");
  // Beside help on the page every start opens at: the one place for all tabs.
  BitBtn11 = MakeButton(TabSheet1, "Сбросить", 717, 573, 122, 26, ResetGlyph(), false);
  PutPage(PageControl1, 0, TabSheet1);
}

void TZKV_LoveForm::BuildTab2() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  TabSheet2->setFixedSize(kTabWidth, kTabHeight);
  Image7 = MakeBackground(TabSheet2);
  Label31 = MakeLabel(TabSheet2, " Ваша дата рождения ", 31, 556, 15);
  SpinEdit1 = MakeSpinEdit(TabSheet2, 30, 574, 51, 27, kv::kDayInput, 15);
  SpinEdit2 = MakeSpinEdit(TabSheet2, 91, 574, 50, 27, kv::kMonthInput, 6);
  SpinEdit3 = MakeSpinEdit(TabSheet2, 151, 574, 67, 27, kv::kCompatBirthYearInput, 1985);
  Label33 = MakeLabel(TabSheet2, " Анализировать, начиная с  ", 235, 579, 12);
  SpinEdit4 = MakeSpinEdit(TabSheet2, 405, 574, 67, 27, kv::kCompatStartYearInput, 1980);
  BitBtn10 = MakeComputeButton(TabSheet2, "Рассчитать!");
  BitBtn2 = MakeHelpButton(TabSheet2, " Помощь");
  Panel8 = new TPanel(TabSheet2);
  // Each chart in a panel one pixel wider on every side.
  constexpr int kPanelWidth = kv::kChartWidth + 2, kPanelHeight = kv::kChartHeight + 2;
  Panel8->setGeometry(105, 28, kPanelWidth, kPanelHeight);
  Image3 = new TCompatChart(Panel8);
  Image3->setGeometry(1, 1, kv::kChartWidth, kv::kChartHeight);
  Panel2 = new TPanel(TabSheet2);
  Panel2->setGeometry(105, 265, kPanelWidth, kPanelHeight);
  Image4 = new TCompatChart(Panel2);
  Image4->setGeometry(1, 1, kv::kChartWidth, kv::kChartHeight);
  for (auto* i : {Image3, Image4}) SetColour(i, Qt::white);
  Scale3 = new TCompatScale(Panel8);
  Scale4 = new TCompatScale(Panel2);
  // Right of the charts, as wide as the tab leaves there.
  ListBox3 = new QListWidget(TabSheet2);
  ListBox3->setGeometry(Panel8->geometry().right() + 8, Panel8->y(),
                        kTabWidth - Panel8->geometry().right() - 14,
                        Panel2->geometry().bottom() - Panel8->y() + 1);
  ListBox3->setFont(Font(QStringLiteral("Courier"), 14));
  ListBox3->setFrameShape(QFrame::NoFrame);
  ListBox3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetFieldColour(ListBox3, kFieldCream);
  ListBox3->hide();
  QWidget::setTabOrder(BitBtn10, Image3);
  QWidget::setTabOrder(Image3, Image4);
  QWidget::setTabOrder(Image4, ListBox3);
  QWidget::setTabOrder(ListBox3, BitBtn2);
  PutPage(PageControl1, 1, TabSheet2);
}

void TZKV_LoveForm::BuildTab3() {
  TabSheet3 = new QWidget;
  TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
  TabSheet3->setFixedSize(kTabWidth, kTabHeight);
  Image6 = MakeBackground(TabSheet3);
  Label5 = MakeLabel(TabSheet3, "  Имя  ", 40, 557, 15);
  Edit2 = new QLineEdit(TabSheet3);
  Edit2->setGeometry(38, 575, 113, 23);
  Edit2->setFont(Font(QStringLiteral("Arial"), 15));
  SetFieldColour(Edit2, kFieldYellow);
  Label3 = MakeLabel(TabSheet3, " Дата и время  ", 160, 573, 12);
  Label4 = MakeLabel(TabSheet3, "  рождения ", 175, 584, 12);
  Label1 = MakeLabel(TabSheet3, "День       Месяц        Год ", 251, 557, 15);
  SpinEdit5 = MakeSpinEdit(TabSheet3, 248, 575, 51, 27, kv::kDayInput, 15);
  SpinEdit6 = MakeSpinEdit(TabSheet3, 306, 575, 50, 27, kv::kMonthInput, 6);
  SpinEdit7 = MakeSpinEdit(TabSheet3, 363, 575, 67, 27, kv::kReportYearInput, 1985);
  Label2 = MakeLabel(TabSheet3, " Час     Минуты  ", 455, 557, 15);
  SpinEdit8 = MakeSpinEdit(TabSheet3, 452, 575, 50, 27, kv::kHourInput, 12);
  SpinEdit9 = MakeSpinEdit(TabSheet3, 507, 575, 50, 27, kv::kMinuteInput, 15);
  BitBtn1 = MakeComputeButton(TabSheet3, "Рассчитать!");
  BitBtn3 = MakeHelpButton(TabSheet3, "Помощь");
  Panel1 = new TPanel(TabSheet3);
  Panel1->setGeometry(24, 24, 930, 520);
  SetColour(Panel1, Qt::white);
  new QVBoxLayout(Panel1);
  Panel1->layout()->setContentsMargins(1, 1, 1, 1);
  PutPage(PageControl1, 2, TabSheet3);
}

void TZKV_LoveForm::BuildTab4() {
  TabSheet4 = new QWidget;
  TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
  TabSheet4->setFixedSize(kTabWidth, kTabHeight);

  Panel3 = new TPanel(TabSheet4);
  Panel3->setGeometry(kTabWidth - 183, 0, 183, kTabHeight);
  SetColour(Panel3, QColor(0xBE, 0xDC, 0xC8));
  Label8 = MakeLabel(Panel3, "Год", 42, 7, 15, Qt::black, QColor(0xBE, 0xDC, 0xC8));
  SpinEdit22 = MakeSpinEdit(Panel3, 72, 5, 60, 24, kv::kLunarYearInput, 0, 12);
  BitBtn5 = MakeComputeButton(Panel3, "Рассчитать", 27, 33, 25);
  BitBtn9 = MakeHelpButton(Panel3, "Помощь", 28, 61);

  RadioGroup1 = new QGroupBox(U("  Лунный месяц  "), Panel3);
  RadioGroup1->setGeometry(10, 94, 164, 138);
  RadioGroup1->setFont(Font(QStringLiteral("Arial"), 12));
  RadioGroup1Items = new QButtonGroup(RadioGroup1);
  auto* grid = new QGridLayout(RadioGroup1);
  grid->setContentsMargins(8, 4, 4, 4);
  grid->setVerticalSpacing(0);
  for (int i = 0; i < 14; ++i) {
    auto* r =
        new TRadioButton(QStringLiteral("  %1").arg(i + 1, 2, 10, QLatin1Char('0')), RadioGroup1);
    r->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
    RadioGroup1Items->addButton(r, i);
    grid->addWidget(r, i % 7, i / 7);  // two columns, filled top to bottom
  }

  Panel6 = new TPanel(Panel3);
  Panel6->setGeometry(7, 241, 170, 344);
  Panel4 = new TPanel(Panel6, false);
  Panel4->setGeometry(1, 1, 168, 16);
  SetColour(Panel4, QColor(0xEB, 0xB0, 0x70));
  Panel4->setFont(Font(QStringLiteral("Arial Cyr"), 15));
  Panel4->setCaption(U("  День            Дата"), Qt::AlignLeft | Qt::AlignVCenter);
  ListBox1 = new TListBox(Panel6);
  ListBox1->setGeometry(1, 17, 168, 326);
  ListBox1->setFont(Font(QStringLiteral("Courier"), 15));
  ListBox1->setFrameShape(QFrame::NoFrame);
  SetFieldColour(ListBox1, kFieldYellow);

  Panel5 = new TPanel(TabSheet4);
  Panel5->setGeometry(0, 0, kTabWidth - 183, kTabHeight);
  Panel7 = new TPanel(Panel5);
  Panel7->setGeometry(1, 1, kTabWidth - 185, 25);
  Panel7->setFont(Font(QStringLiteral("Arial"), 15, true));
  Panel7->setCaption(QString(), Qt::AlignLeft | Qt::AlignVCenter);
  Memo1 = new QPlainTextEdit(Panel5);
  Memo1->setGeometry(1, 26, kTabWidth - 185, kTabHeight - 27);
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setFont(Font(QStringLiteral("Courier"), 15));
  SetFieldColour(Memo1, kFieldCream);
  PutPage(PageControl1, 3, TabSheet4);
}

void TZKV_LoveForm::BuildTab5() {
  TabSheet5 = new QWidget;
  TabSheet5->setObjectName(QStringLiteral("TabSheet5"));
  TabSheet5->setFixedSize(kTabWidth, kTabHeight);
  Image5 = MakeBackground(TabSheet5);
  ListBox2 = new QListWidget(TabSheet5);
  ListBox2->setGeometry(25, 41, 749, 320);
  ListBox2->setFont(Font(QStringLiteral("Courier"), 16));
  ListBox2->setFrameShape(QFrame::NoFrame);
  SetFieldColour(ListBox2, kFieldCream);
  Label9 = MakeLabel(
      TabSheet5, " Установите нужный год и щелкните на кнопке \"Рассчитать\"    Год ", 9, 580, 15);
  SpinEdit21 = MakeSpinEdit(TabSheet5, 433, 575, 67, 27, kv::kEclipseYearInput, 1900);
  BitBtn7 = MakeComputeButton(TabSheet5, "Рассчитать");
  BitBtn8 = MakeHelpButton(TabSheet5, "Помощь");
  PutPage(PageControl1, 4, TabSheet5);
}

// Every control carries the name the program gives it.
void TZKV_LoveForm::NameControls() {
#define KV_NAME(w) w->setObjectName(QStringLiteral(#w))
  // clang-format off
  KV_NAME(Image7); KV_NAME(Label31); KV_NAME(Label33); KV_NAME(SpinEdit1); KV_NAME(SpinEdit2);
  KV_NAME(SpinEdit3); KV_NAME(SpinEdit4); KV_NAME(BitBtn10); KV_NAME(BitBtn2); KV_NAME(Panel8);
  KV_NAME(Panel2); KV_NAME(Image3); KV_NAME(Image4); KV_NAME(Scale3); KV_NAME(Scale4);
  KV_NAME(ListBox3);
  KV_NAME(Image6); KV_NAME(Label5); KV_NAME(Label3); KV_NAME(Label4); KV_NAME(Label1);
  KV_NAME(Label2); KV_NAME(Edit2); KV_NAME(SpinEdit5); KV_NAME(SpinEdit6); KV_NAME(SpinEdit7);
  KV_NAME(SpinEdit8); KV_NAME(SpinEdit9); KV_NAME(BitBtn1); KV_NAME(BitBtn3); KV_NAME(Panel1);
  KV_NAME(Panel3); KV_NAME(Panel6); KV_NAME(Panel4); KV_NAME(Panel5); KV_NAME(Panel7);
  KV_NAME(Label8); KV_NAME(SpinEdit22); KV_NAME(BitBtn5); KV_NAME(BitBtn9); KV_NAME(RadioGroup1);
  KV_NAME(ListBox1); KV_NAME(Memo1);
  KV_NAME(Image5); KV_NAME(ListBox2); KV_NAME(Label9); KV_NAME(SpinEdit21); KV_NAME(BitBtn7);
  KV_NAME(BitBtn8);
  // clang-format on
#undef KV_NAME
}

void TZKV_LoveForm::ConnectHandlers() {
  On(BitBtn10, &QPushButton::clicked, &TZKV_LoveForm::BitBtn10Click);
  On(BitBtn1, &QPushButton::clicked, &TZKV_LoveForm::BitBtn1Click);
  On(BitBtn5, &QPushButton::clicked, &TZKV_LoveForm::BitBtn5Click);
  On(BitBtn7, &QPushButton::clicked, &TZKV_LoveForm::BitBtn7Click);
  On(BitBtn2, &QPushButton::clicked, &TZKV_LoveForm::BitBtn2Click);
  On(BitBtn3, &QPushButton::clicked, &TZKV_LoveForm::BitBtn3Click);
  On(BitBtn9, &QPushButton::clicked, &TZKV_LoveForm::BitBtn9Click);
  On(BitBtn8, &QPushButton::clicked, &TZKV_LoveForm::BitBtn8Click);
  // A press comes before the click that changes the month, by mouse, key or program.
  connect(RadioGroup1Items, &QButtonGroup::idPressed, this,
          [this] { monthBefore_ = RadioGroup1ItemIndex(); });
  On(RadioGroup1Items, &QButtonGroup::idClicked, &TZKV_LoveForm::RadioGroup1Click);
  On(ListBox1, &TListBox::lineChosen, &TZKV_LoveForm::ListBox1Click);
  On(Image7, &TImage::clicked, &TZKV_LoveForm::Image7Click);
  On(Image6, &TImage::clicked, &TZKV_LoveForm::Image6Click);
  On(Image5, &TImage::clicked, &TZKV_LoveForm::Image5Click);
  On(SpinEdit21, &TSpinEdit::changed, &TZKV_LoveForm::SpinEdit21Change);
}

// What a screen reader says of each control: the captions on the picture
// are not enough (one caption stands over three fields), so every control
// has a Russian name, and the captions are linked to their first field.
void TZKV_LoveForm::DescribeControls() {
  for (QPushButton* b : {BitBtn2, BitBtn3, BitBtn9, BitBtn8}) DescribeHelp(b);

  Describe(SpinEdit1, "День рождения");
  Describe(SpinEdit2, "Месяц рождения");
  Describe(SpinEdit3, "Год рождения");
  Describe(SpinEdit4, "Первый год анализа", "; анализируются четыре года с него");
  Describe(BitBtn10, "Рассчитать совместимость",
           "Оценивает каждый второй день четырёх лет как день рождения партнёра");
  Label31->setBuddy(SpinEdit1);
  Label33->setBuddy(SpinEdit4);
  Describe(Panel8, "Первая диаграмма совместимости");
  Describe(Panel2, "Вторая диаграмма совместимости");
  Describe(Image3, "Совместимость, первые два года");
  Describe(Image4, "Совместимость, следующие два года");
  Describe(ListBox3, "Лучшие и худшие дни",
           "Десять дней рождения партнёра с наивысшим и десять с наинизшим уровнем каждого "
           "года");

  Describe(Edit2, "Имя");
  Describe(SpinEdit5, "День рождения");
  Describe(SpinEdit6, "Месяц рождения");
  Describe(SpinEdit7, "Год рождения");
  Describe(SpinEdit8, "Час рождения", " по московскому времени");
  Describe(SpinEdit9, "Минута рождения");
  Describe(BitBtn1, "Рассчитать гороскоп",
           "Показывает градусы Зодиака десяти планет в момент рождения");
  Label5->setBuddy(Edit2);
  for (QLabel* l : {Label3, Label4, Label1}) l->setBuddy(SpinEdit5);
  Label2->setBuddy(SpinEdit8);

  Describe(SpinEdit22, "Год");
  Describe(BitBtn5, "Рассчитать лунные месяцы", "Четырнадцать лунных месяцев года с датами фаз");
  Label8->setBuddy(SpinEdit22);
  Describe(RadioGroup1, "Лунный месяц", "Выбор месяца показывает его лунные дни");
  for (QAbstractButton* b : RadioGroup1Items->buttons())
    b->setAccessibleName(U("Лунный месяц %1").arg(RadioGroup1Items->id(b) + 1));
  SpeakLines(ListBox1, LunarDaySentence);
  Describe(ListBox1, "Лунные дни",
           "Номер лунного дня и дата его начала; выбор показывает описание дня");
  Describe(Memo1, "Лунный календарь", "Лунные месяцы года или описание выбранного лунного дня");

  // How a message names a field: by the caption it stands under, or on the
  // compatibility tab, whose one caption stands over three, by its name.
  const struct {
    TSpinEdit* field;
    const char *label, *what;
  } fields[] = {{SpinEdit1, "День рождения", "день"},
                {SpinEdit2, "Месяц рождения", "месяц"},
                {SpinEdit3, "Год рождения", "год"},
                {SpinEdit4, "Первый год анализа", "год"},
                {SpinEdit5, "День", "день"},
                {SpinEdit6, "Месяц", "месяц"},
                {SpinEdit7, "Год", "год"},
                {SpinEdit8, "Час", "час"},
                {SpinEdit9, "Минуты", "минуты"},
                {SpinEdit22, "Год", "год"},
                {SpinEdit21, "Год", "год"}};
  for (const auto& f : fields) f.field->setField(U(f.label), U(f.what));

  Describe(ListBox2, "Затмения года");
  SpeakLines(ListBox2, EclipseSentence);
  Describe(SpinEdit21, "Год");
  Describe(BitBtn7, "Рассчитать затмения", "Солнечные и лунные затмения года");
  Label9->setBuddy(SpinEdit21);
}

// The chart panels say which years they show, as their year strips do.
void TZKV_LoveForm::DescribeCharts() {
  const auto years = [](const kv::TScanPoints& p) {
    return U("Совместимость по дням %1–%2 годов").arg(p[50].Year).arg(p[200].Year);
  };
  const QString upper = years(kv::Scan1_Points), lower = years(kv::Scan2_Points);
  // The charts themselves also say how their days are walked.
  const QString keys = U("; стрелки, Home, End, PageUp и PageDown выбирают день");
  Panel8->setAccessibleDescription(upper);
  Image3->setAccessibleDescription(upper + keys);
  Panel2->setAccessibleDescription(lower);
  Image4->setAccessibleDescription(lower + keys);
}

// The list right of the charts: per year a heading, its ten highest days,
// a heading and its ten lowest, each read as its date and level.
void TZKV_LoveForm::FillExtremeDays() {
  ListBox3->clear();
  QFont heading = ListBox3->font();
  heading.setBold(true);
  const auto add = [this](const QString& shown, const QString& said) {
    auto* item = new QListWidgetItem(shown, ListBox3);
    item->setData(Qt::AccessibleTextRole, said);
    return item;
  };
  for (const kv::TYearExtremes& y :
       kv::ExtremeDays(kv::ScannedPoints(Image3->Count(), Image4->Count()))) {
    for (const bool high : {true, false}) {
      const std::vector<kv::Scan_Point>& days = high ? y.Highest : y.Lowest;
      add(U(high ? "%1 лучшие" : "%1 худшие").arg(y.Year),
          U(high ? "%1 год, %2 дней с наивысшим уровнем" : "%1 год, %2 дней с наинизшим уровнем")
              .arg(y.Year)
              .arg(days.size()))
          ->setFont(heading);
      for (const kv::Scan_Point& p : days)
        add(QStringLiteral("%1.%2 %3")
                .arg(p.Day, 2, 10, QLatin1Char('0'))
                .arg(p.Month, 2, 10, QLatin1Char('0'))
                .arg(LevelText(p.Level), 4),
            DaySentence(p));
    }
  }
  ListBox3->setVisible(ListBox3->count() > 0);
}

// F1: the help page of the tab in front.
void TZKV_LoveForm::ShowCurrentHelp() {
  static constexpr void (TZKV_LoveForm::*help[])() = {
      &TZKV_LoveForm::BitBtn6Click, &TZKV_LoveForm::BitBtn2Click, &TZKV_LoveForm::BitBtn3Click,
      &TZKV_LoveForm::BitBtn9Click, &TZKV_LoveForm::BitBtn8Click};
  const int tab = PageControl1->currentIndex();
  if (tab >= 0 && tab < static_cast<int>(std::size(help))) (this->*help[tab])();
}

void TZKV_LoveForm::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
  }
}

void TZKV_LoveForm::FormCreate() {
  // Numbers are written and read with "." whatever the user's locale.
  QLocale::setDefault(QLocale::c());
  std::setlocale(LC_NUMERIC, "C");
  setFixedSize(kWindowWidth, kWindowHeight);
  setWindowState(Qt::WindowNoState);
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    move(r.center() - QPoint(1000 / 2, 700 / 2));
  }
}

void TZKV_LoveForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // The start-up work follows the first show, whether or not the desktop
  // ever activates the window, and only that one: a window shown again
  // keeps what the user did. Queued, so that its message boxes appear over
  // the window; it runs at once, long before a first click can arrive.
  if (startupQueued_) return;
  startupQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        Dispatch([this] { FormActivate(); });
        startupDone_ = true;
        // The icon's pictures take as long to decode as a tab to build:
        // they follow the start-up work instead of holding up the window.
        setWindowIcon(ProgramIcon());
      },
      Qt::QueuedConnection);
}

void TZKV_LoveForm::BringToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TZKV_LoveForm::FormActivate() {
  // The main directory is the current one; the system directory is in it.
  const QString D = QDir::currentPath();
  const QString M = QString::fromStdString(kv::WithSeparator(D.toStdString()));
  const QString S = M + QStringLiteral("System/");

  // Both go to the settings and are taken back from there. Settings that
  // cannot be stored or read are reported, and the directories are taken
  // from D itself: without them no tab could work.
  try {
    {
      RegistryKey key;
      if (!key.Open(true))
        throw RegistryError(std::string("Не удаётся создать раздел настроек ") +
                            RegistryKey::kPath);
      // Damaged settings were kept aside and start afresh: the user learns where.
      if (!key.Notice().isEmpty()) ShowError(key.Notice());
      key.WriteString(QStringLiteral("rMainDir"), M);
      key.WriteString(QStringLiteral("rSysDir"), S);
      key.Close();
    }
    RegistryKey key;
    if (!key.Open(false) || !key.ValueExists(QStringLiteral("rMainDir")) ||
        !key.ValueExists(QStringLiteral("rSysDir")))
      throw RegistryError(std::string("Не удаётся прочитать раздел настроек ") +
                          RegistryKey::kPath);
    kv::MainDir = key.ReadString(QStringLiteral("rMainDir")).toStdString();
    kv::SysDir = key.ReadString(QStringLiteral("rSysDir")).toStdString();
    kept_ = ReadEntries(key);
    key.Close();
  } catch (const RegistryError& e) {
    ShowError(QString::fromUtf8(e.what()));
    kv::MainDir = M.toStdString();
    kv::SysDir = S.toStdString();
  }

  // The background picture of four tabs.
  const std::string picture = kv::MainDir + "Html/images/moon.jpg";
  std::error_code noSuchPicture;
  // Anything in its place is tried, so that a FIFO or a device is named as such.
  if (std::filesystem::exists(picture, noSuchPicture)) {
    try {
      // One pixmap shared by all four, converted in the decoded picture's place.
      background_ = QPixmap::fromImage(LoadBackground(picture, devicePixelRatioF()));
      Image1->setPixmap(background_);
    } catch (const std::exception& e) {
      // A damaged picture costs the background, not the rest of the start-up.
      ShowError(QString::fromUtf8(e.what()));
    }
  } else {
    messageBox(U(" Нет фоновой картинки "), false);
  }

  // The first tab in front, the others as at a first start (now or when
  // built); then the temporary file names and the observer of the lunar days.
  {
    const QSignalBlocker block(PageControl1);
    PageControl1->setCurrentIndex(0);
  }
  if (tabsBuilt_) ResetTabs();
  kv::SetTempFileNames();
  kv::SetObserver();
  while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  places_->Start();
}

QString TZKV_LoveForm::LunarHint() {
  return U(
      " \n \n  Установите в окошке \"Год\" нужную дату и щелкните\n"
      "  на кнопке\"Рассчитать\" \n ");
}

void TZKV_LoveForm::ResetTabs() {
  // The background picture, results hidden, this year in both year fields,
  // no lunar month chosen, an empty lunar text.
  for (TImage* i : {Image5, Image6, Image7}) i->setPixmap(background_);
  Panel8->hide();
  Panel1->hide();
  Panel2->hide();
  ListBox3->hide();
  const int year = QDate::currentDate().year();
  SpinEdit21->setDefaultValue(year);
  SpinEdit22->setDefaultValue(year);
  SetRadioGroup1ItemIndex(-1);
  ListBox1->clear();
  Memo1->clear();
  QFont f = Memo1->font();
  f.setPointSize(12);
  Memo1->setFont(f);
  places_->ShowPlace();
  // What the user typed last time, over the defaults.
  RestoreEntries(*this, kept_);
}

void TZKV_LoveForm::PageControl1Change() {
  BuildTabs();
  if (PageControl1->currentIndex() != 3) return;
  Memo1->setPlainText(LunarHint());
}

int TZKV_LoveForm::RadioGroup1ItemIndex() const { return RadioGroup1Items->checkedId(); }

void TZKV_LoveForm::SetRadioGroup1ItemIndex(int i) {
  if (i < 0) {
    RadioGroup1Items->setExclusive(false);
    for (auto* b : RadioGroup1Items->buttons()) b->setChecked(false);
    RadioGroup1Items->setExclusive(true);
  } else if (auto* b = RadioGroup1Items->button(i)) {
    b->setChecked(true);
  }
}

void TZKV_LoveForm::LoadMemo1(const std::string& utf8Text) {
  QString text = QString::fromStdString(utf8Text);
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  Memo1->setPlainText(text);
}

void TZKV_LoveForm::Image7Click() {
  Panel8->hide();
  Panel2->hide();
  ListBox3->hide();
}

void TZKV_LoveForm::Image6Click() { Panel1->hide(); }
void TZKV_LoveForm::Image5Click() { ListBox2->hide(); }
void TZKV_LoveForm::SpinEdit21Change() { ListBox2->hide(); }

void TZKV_LoveForm::ShowHelpPage(int n) {
  const std::string F = kv::MainDir + "LoveHelp.chm";
  const QString T = QStringLiteral("::%1.html").arg(n);
  bool ok = false;
  if (kv::FileExists(F)) ok = helpViewer(QString::fromStdString(F), T);
  if (!ok) throw std::runtime_error("Unable to open help file " + F);
}

// The compatibility run as the window shows it: its spin edits, panels
// and images.
class CompatWindowRun : public kv::CompatHost {
 public:
  explicit CompatWindowRun(TZKV_LoveForm& f) : f_(f) {}
  kv::CompatRun run{*this};

  kv::CompatInputs ReadInputs() override {
    kv::CompatInputs in;
    in.Day = f_.SpinEdit1->Value();
    in.Month = f_.SpinEdit2->Value();
    in.Year = f_.SpinEdit3->Value();
    in.StartYear = f_.SpinEdit4->Value();
    f_.compatInputs = in;
    return in;
  }
  void ShowPanels(int pass) override {
    if (pass == 1) {
      f_.Panel8->show();
      f_.Panel2->hide();
    } else {
      f_.Panel2->show();
    }
  }
  kv::ChartCanvas& Canvas(int pass) override {
    std::unique_ptr<ChartPainter>& c = pass == 1 ? f_.Chart3 : f_.Chart4;
    // At the screen's pixel ratio, so that the chart stays sharp at 200 %;
    // made at the first run, not at start-up.
    const qreal ratio = Image(pass)->devicePixelRatioF();
    if (!c)
      c = std::make_unique<ChartPainter>(kv::kChartWidth, kv::kChartHeight, ratio);
    else if (c->Ratio() != ratio)
      c->SetRatio(ratio);  // moved to another screen: the frame redraws it all
    return *c;
  }
  void Drawn(int pass) override {
    Image(pass)->setImage((pass == 1 ? f_.Chart3 : f_.Chart4)->Image());
  }

 private:
  TImage* Image(int pass) const { return pass == 1 ? f_.Image3 : f_.Image4; }
  TZKV_LoveForm& f_;
};

// Each chart knows the days it has drawn so far, for its pointer and keys.
void TZKV_LoveForm::ShowChartDays() {
  if (!compatRun_) return;
  Image3->SetPoints(kv::Scan1_Points, compatRun_->run.PointsDone(1));
  Image4->SetPoints(kv::Scan2_Points, compatRun_->run.PointsDone(2));
}

void TZKV_LoveForm::BitBtn10Click() {
  // One run at a time: a press during a run is ignored.
  if (compatRun_) return;
  compatFinished = false;
  auto run = std::make_unique<CompatWindowRun>(*this);
  // A field without a number stops the press before the charts change.
  run->ReadInputs();
  SaveEntries(*this);
  ListBox3->clear();
  ListBox3->hide();
  run->run.Step();  // pass 1 begins at the press, so its errors are the press's
  compatRun_ = std::move(run);
  ShowChartDays();
  compatTimer_->start();
}

void TZKV_LoveForm::CompatTick() {
  if (!compatRun_) return;
  bool more = false;
  try {
    more = compatRun_->run.Step();
    ShowChartDays();
  } catch (...) {
    ShowChartDays();
    EndCompatRun();  // before the error is shown: its box must not see more ticks
    throw;
  }
  if (!more) {
    EndCompatRun();
    compatFinished = true;
    DescribeCharts();
    FillExtremeDays();
  }
}

void TZKV_LoveForm::EndCompatRun() {
  compatTimer_->stop();
  compatRun_.reset();
}

void TZKV_LoveForm::BitBtn1Click() {
  const std::string name = Edit2->text().toStdString();
  const std::int32_t day = SpinEdit5->Value();
  const std::int32_t month = SpinEdit6->Value();
  const std::int32_t year = SpinEdit7->Value();
  const std::int32_t hour = SpinEdit8->Value();
  const std::int32_t minute = SpinEdit9->Value();
  SaveEntries(*this);
  // At the place of birth when one is chosen, else in Moscow time.
  const std::string& page = places_->Report(name, day, month, year, hour, minute);
  // The browser is made for the first report, so that start-up stays light.
  if (!WebBrowser2) {
    WebBrowser2 = new TWebBrowser(Panel1);
    WebBrowser2->setObjectName(QStringLiteral("WebBrowser2"));
    WebBrowser2->setAccessibleName(U("Планеты вашего гороскопа"));
    Panel1->layout()->addWidget(WebBrowser2);
    printing_->AddMenu(WebBrowser2);
  }
  // Loaded while the panel is hidden, the page is laid out once, when shown.
  WebBrowser2->Navigate(QString::fromStdString(page));
  reportName = Edit2->text();
  reportDate = QStringLiteral("%1.%2.%3")
                   .arg(day, 2, 10, QLatin1Char('0'))
                   .arg(month, 2, 10, QLatin1Char('0'))
                   .arg(year);
  Panel1->show();
}
void TZKV_LoveForm::BitBtn5Click() {
  // The year first: a field without a number leaves what the tab shows.
  const std::int32_t year = SpinEdit22->Value();
  SaveEntries(*this);
  if (places_->LunarMonths(year)) return;
  Memo1->clear();
  ListBox1->clear();
  Panel7->setCaption(QStringLiteral(" "));
  LoadMemo1(kv::FromCp1251Text(WritePhases(year).Listing));
}

kv::TPhaseTable TZKV_LoveForm::WritePhases(std::int32_t year) {
  kv::TPhaseTable table = kv::WritePhaseListing(year);
  phaseListing_ = table.Listing;
  phaseYear_ = year;
  return table;
}

void TZKV_LoveForm::RadioGroup1Click() {
  std::int32_t year;
  try {
    year = SpinEdit22->Value();
  } catch (const FieldError&) {
    // The days listed stay, and so does the month they are of.
    SetRadioGroup1ItemIndex(monthBefore_);
    throw;
  }
  SaveEntries(*this);
  if (places_->LunarMonth(year)) return;
  // The list goes with the lunar days it was built from: both start afresh.
  Memo1->clear();
  ListBox1->clear();
  // Before a calculation of its own, the window shows the listing file an
  // earlier run left (its lunar month table is empty then).
  LoadMemo1(phaseListing_ ? kv::FromCp1251Text(*phaseListing_)
                          : kv::ReadCp1251Text(kv::LunDay_Name));
  const kv::LunarMonthChoice m = kv::ChooseLunarMonth(RadioGroup1ItemIndex() + 1, year);
  Panel7->setCaption(QString::fromStdString(kv::FromCp1251(m.caption)));
  for (const std::string& line : m.days)
    ListBox1->addItem(QString::fromStdString(kv::FromCp1251(line)));
  places_->MarkToday();
}

void TZKV_LoveForm::ListBox1Click() {
  if (places_->LunarDay()) return;
  const int chosen = ListBox1->ChosenRow();
  if (chosen < 0) return;
  Memo1->clear();
  const kv::TLunarDayText day =
      kv::WriteLunarDayText(chosen + 1, [this](const std::string& message) {
        messageBox(QString::fromStdString(kv::FromCp1251(message)), true);
      });
  LoadMemo1(kv::FromCp1251Text(day.Shown()));
  if (const std::string missing = day.Missing(); !missing.empty())
    messageBox(QString::fromStdString(missing), true);
}

void TZKV_LoveForm::BitBtn7Click() {
  const std::int32_t year = SpinEdit21->Value();
  SaveEntries(*this);
  if (places_->Eclipses(year)) return;
  ListBox2->show();
  ListBox2->clear();
  for (const std::string& line : kv::EclipseListLines(year))
    ListBox2->addItem(QString::fromStdString(kv::FromCp1251(line)));
}

void TZKV_LoveForm::BitBtn11Click() {
  BuildTabs();  // the fields it resets
  ResetEntries(*this);
}

void TZKV_LoveForm::closeEvent(QCloseEvent* e) {
  // A run stopped midway leaves the unfinished pass's previous scan file.
  EndCompatRun();
  // What was typed since the last press, for the next start; not before the
  // fields have taken back what the last run kept.
  if (startupDone_ && tabsBuilt_) SaveEntries(*this);
  QWidget::closeEvent(e);
}

}  // namespace kvapp
