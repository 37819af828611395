// The real window, offscreen: its controls, its start-up and the small
// behaviours of the shell.
#include <QDesktopServices>
#include <QTextBlock>

#include "app/place_tabs.h"
#include "window_fixture.h"

namespace {

QWidget* TabOf(QWidget* w) {
  QWidget* tab = w;
  while (tab->parentWidget() && !tab->objectName().startsWith(QLatin1String("TabSheet")))
    tab = tab->parentWidget();
  return tab;
}

QRect InTab(QWidget* w, QWidget* tab) { return QRect(w->mapTo(tab, QPoint(0, 0)), w->size()); }

// Stands in for the user's own browser.
class UrlReceiver : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
  Q_INVOKABLE void open(const QUrl& u) { opened << u; }
};

}  // namespace

TEST_F(WindowTest, ControlsHaveTheirNamesCaptionsAndPlaces) {
  CopyPicture();
  auto& f = Start();
  EXPECT_EQ(f.windowTitle(), U("  Программа \"Korvella Love\""));
  EXPECT_EQ(f.size(), QSize(992, 666));
  EXPECT_FALSE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(f.minimumSize(), f.maximumSize());  // not resizable

  ASSERT_EQ(f.PageControl1->count(), 5);
  const char* tabs[] = {"Начало", "Совместимость", " Планеты Вашего гороскопа ", " Лунные дни ",
                        " Затмения "};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.PageControl1->tabText(i), U(tabs[i]));
  for (QWidget* t : {f.TabSheet1, f.TabSheet2, f.TabSheet3, f.TabSheet4, f.TabSheet5})
    EXPECT_EQ(t->size(), QSize(984, 636));

  struct Spin {
    const char* name;
    int lo, hi;
    const char* text;
    QRect geometry;  // within its tab; an empty size is not checked
  };
  const QString year = QString::number(QDate::currentDate().year());
  const Spin spins[] = {
      {"SpinEdit1", 1, 31, "15", {30, 574, 51, 27}},
      {"SpinEdit2", 1, 12, "6", {91, 574, 50, 27}},
      {"SpinEdit3", -2000, 3000, "1985", {151, 574, 67, 27}},
      {"SpinEdit4", 1900, 2050, "1980", {405, 574, 67, 27}},
      {"SpinEdit5", 1, 31, "15", {248, 575, 0, 0}},
      {"SpinEdit6", 1, 12, "6", {306, 575, 0, 0}},
      {"SpinEdit7", 1900, 2100, "1985", {363, 575, 0, 0}},
      {"SpinEdit8", 0, 23, "12", {452, 575, 0, 0}},
      {"SpinEdit9", 0, 59, "15", {507, 575, 0, 0}},
      {"SpinEdit22", 0, 3000, nullptr, {801 + 72, 5, 60, 24}},
      {"SpinEdit21", 1900, 2050, nullptr, {433, 575, 67, 27}},
  };
  for (const auto& s : spins) {
    auto* w = f.findChild<kvapp::TSpinEdit*>(QString::fromLatin1(s.name));
    ASSERT_NE(w, nullptr) << s.name;
    EXPECT_EQ(w->minimum(), s.lo) << s.name;
    EXPECT_EQ(w->maximum(), s.hi) << s.name;
    EXPECT_EQ(w->text(), s.text ? U(s.text) : year) << s.name;
    const QRect g = InTab(w, TabOf(w));
    EXPECT_EQ(g.topLeft(), s.geometry.topLeft()) << s.name;
    if (!s.geometry.size().isEmpty()) {
      EXPECT_EQ(g.size(), s.geometry.size()) << s.name;
    }
  }

  struct Caption {
    const char* name;
    const char* text;
    QPoint pos;
  };
  const Caption captions[] = {
      {"Label31", " Ваша дата рождения ", {31, 556}},
      {"Label33", " Анализировать, начиная с  ", {235, 579}},
      {"Label5", "  Имя  ", {40, 557}},
      {"Label3", " Дата и время  ", {160, 573}},
      {"Label4", "  рождения ", {175, 584}},
      {"Label1", "День       Месяц        Год ", {251, 557}},
      {"Label2", " Час     Минуты  ", {455, 557}},
      {"Label9", " Установите нужный год и щелкните на кнопке \"Рассчитать\"    Год ", {9, 580}},
      {"BitBtn10", "Рассчитать!", {717, 573}},
      {"BitBtn1", "Рассчитать!", {717, 573}},
      {"BitBtn7", "Рассчитать", {717, 573}},
      {"BitBtn6", " Помощь", {843, 573}},
      {"BitBtn2", " Помощь", {843, 573}},
      {"BitBtn3", "Помощь", {843, 573}},
      {"BitBtn8", "Помощь", {843, 573}},
      {"BitBtn5", "Рассчитать", {801 + 27, 33}},
      {"BitBtn9", "Помощь", {801 + 28, 61}},
      {"Label8", "Год", {801 + 42, 7}},
  };
  for (const auto& c : captions) {
    auto* w = f.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(w, nullptr) << c.name;
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
    if (auto* b = qobject_cast<QPushButton*>(w)) text = b->text();
    EXPECT_EQ(text, U(c.text)) << c.name;
    EXPECT_EQ(w->mapTo(TabOf(w), QPoint(0, 0)), c.pos) << c.name;
  }
  for (const char* b :
       {"BitBtn10", "BitBtn1", "BitBtn7", "BitBtn6", "BitBtn2", "BitBtn3", "BitBtn8"})
    EXPECT_EQ(f.findChild<QWidget*>(QString::fromLatin1(b))->size(), QSize(122, 26)) << b;

  EXPECT_EQ(InTab(f.Panel8, f.TabSheet2), QRect(105, 28, 722, 220));
  EXPECT_EQ(InTab(f.Panel2, f.TabSheet2), QRect(105, 265, 722, 220));
  EXPECT_EQ(f.Image3->size(), QSize(720, 218));
  EXPECT_EQ(f.Image4->size(), QSize(720, 218));
  EXPECT_EQ(InTab(f.Panel1, f.TabSheet3), QRect(24, 24, 930, 520));
  EXPECT_EQ(InTab(f.Edit2, f.TabSheet3), QRect(38, 575, 113, 23));
  EXPECT_EQ(InTab(f.Panel3, f.TabSheet4), QRect(801, 0, 183, 636));
  EXPECT_EQ(InTab(f.RadioGroup1, f.Panel3), QRect(10, 94, 164, 138));
  EXPECT_EQ(f.RadioGroup1->title(), U("  Лунный месяц  "));
  ASSERT_EQ(f.RadioGroup1Items->buttons().size(), 14);
  EXPECT_EQ(f.RadioGroup1Items->button(0)->text(), QStringLiteral("  01"));
  EXPECT_EQ(f.RadioGroup1Items->button(13)->text(), QStringLiteral("  14"));
  EXPECT_LT(f.RadioGroup1Items->button(6)->y(), f.RadioGroup1Items->button(7)->y() + 1 + 200);
  EXPECT_EQ(f.RadioGroup1Items->button(7)->y(),
            f.RadioGroup1Items->button(0)->y());  // second column
  EXPECT_EQ(InTab(f.Panel6, f.Panel3), QRect(7, 241, 170, 344));
  EXPECT_EQ(f.Panel4->caption(), U("  День            Дата"));
  EXPECT_EQ(InTab(f.ListBox2, f.TabSheet5), QRect(25, 41, 749, 320));
  EXPECT_TRUE(f.Memo1->isReadOnly());
  EXPECT_EQ(f.Image1->pixmap().size(), QSize(984, 636));
}

TEST_F(WindowTest, StartupRecordsTheDirectoriesAndResetsTheWindow) {
  CopyPicture();
  auto& f = Start();
  const std::string M = MainDir();
  EXPECT_EQ(kv::MainDir, M);
  EXPECT_EQ(kv::MainDir.back(), '/');
  EXPECT_EQ(kv::SysDir, M + "System/");
  EXPECT_EQ(kv::TmpFile1_Name, M + "System/TmpFile1.tmp");
  EXPECT_EQ(kv::TmpFile2_Name, M + "System/TmpFile2.tmp");
  EXPECT_EQ(kv::LunDay_Name, M + "System/F_LunDay.tmp");
  EXPECT_EQ(kv::Obs_Longitude, 0.0);
  EXPECT_EQ(kv::Obs_Latitude, 51.5);

  QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvella_Love"));
  EXPECT_EQ(s.value("rMainDir").toString().toStdString(), M);
  EXPECT_EQ(s.value("rSysDir").toString().toStdString(), M + "System/");

  EXPECT_TRUE(f.Panel8->isHidden());
  EXPECT_TRUE(f.Panel2->isHidden());
  EXPECT_TRUE(f.Panel1->isHidden());
  EXPECT_EQ(f.PageControl1->currentIndex(), 0);
  EXPECT_EQ(f.RadioGroup1ItemIndex(), -1);
  EXPECT_EQ(f.ListBox1->count(), 0);
  EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
  EXPECT_EQ(f.Memo1->font().pointSize(), 12);
  EXPECT_TRUE(messages_.empty());
}

// Tabs 2 to 5 wait for the first change of tab and then look as the
// start-up work left them, the kept place in its fields.
TEST_F(WindowTest, OtherTabsAreBuiltAtTheFirstChangeOfTabAsTheStartUpLeftThem) {
  CopyPicture();
  {
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Korvella_Love"));
    s.setValue("rPlace", U("Москва — Москва, Россия"));
    s.setValue("rPlaceLatitude", "55.75");
    s.setValue("rPlaceLongitude", "37.62");
    s.setValue("rPlaceZone", "Europe/Moscow");
  }
  buildTabs_ = false;
  auto& f = Start();
  EXPECT_FALSE(f.tabsBuilt());
  EXPECT_EQ(f.TabSheet4, nullptr);
  EXPECT_EQ(f.Places().LunarPlaceEdit, nullptr);
  ASSERT_TRUE(f.Places().UserPlace());

  f.PageControl1->setCurrentIndex(3);
  ASSERT_TRUE(f.tabsBuilt());
  EXPECT_TRUE(f.TabSheet4->isVisible());
  EXPECT_EQ(f.TabSheet4->geometry(), f.TabSheet1->geometry());  // centred as the first
  EXPECT_TRUE(f.Memo1->toPlainText().contains(U("Установите")));
  EXPECT_EQ(f.Memo1->font().pointSize(), 12);
  const QString year = QString::number(QDate::currentDate().year());
  EXPECT_EQ(f.SpinEdit21->text(), year);
  EXPECT_EQ(f.SpinEdit22->text(), year);
  EXPECT_EQ(f.RadioGroup1ItemIndex(), -1);
  EXPECT_TRUE(f.Panel8->isHidden() && f.Panel2->isHidden() && f.Panel1->isHidden());
  for (TImage* i : {f.Image5, f.Image6, f.Image7})
    EXPECT_EQ(i->pixmap().cacheKey(), f.Image1->pixmap().cacheKey())
        << i->objectName().toStdString();
  // Their handlers too.
  f.ListBox2->show();
  f.SpinEdit21->setText(QStringLiteral("2001"));
  EXPECT_TRUE(f.ListBox2->isHidden());

  // The kept place, with the button that empties its field; emptied, it is forgotten.
  kvapp::PlaceEdit* field = f.Places().LunarPlaceEdit;
  EXPECT_EQ(field->text(), U("Москва, Россия"));
  ASSERT_FALSE(field->actions().isEmpty());
  QAction* clear = field->actions().front();
  EXPECT_TRUE(clear->isVisible());
  field->setFocus();
  clear->trigger();
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_FALSE(clear->isVisible());
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_FALSE(f.Places().UserPlace());
  EXPECT_TRUE(f.Places().EclipsePlaceEdit->text().isEmpty());
  f.Places().BirthPlaceEdit->setText(U("Тверь"));  // a field too narrow for the button
  EXPECT_FALSE(f.Places().BirthPlaceEdit->actions().front()->isVisible());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(WindowTest, MissingPictureIsReportedOnce) {
  auto& f = Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], U(" Нет фоновой картинки "));
  EXPECT_FALSE(critical_[0]);
  // Activation comes again after another window; the message does not.
  QWidget other;
  other.show();
  other.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
  f.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
  EXPECT_EQ(messages_.size(), 1u);
  // The rest of the start-up ran.
  EXPECT_TRUE(f.Panel8->isHidden());
  EXPECT_EQ(kv::LunDay_Name, MainDir() + "System/F_LunDay.tmp");
}

TEST_F(WindowTest, DamagedPictureIsReportedAndStartupGoesOn) {
  std::ofstream(main_ / "Html/images/moon.jpg") << "not a picture";
  auto& f = Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(critical_[0]);
  EXPECT_TRUE(messages_[0].contains(QStringLiteral("moon.jpg")));
  EXPECT_TRUE(f.Panel8->isHidden());
}

TEST_F(WindowTest, UnwritableSettingsAreReportedAndEveryTabWorks) {
  CopyPicture();
  // A folder where the settings file should be: nothing can be stored.
  fs::create_directories(root_ / "config" / "Korvella_Love.ini");
  auto& f = Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(critical_[0]);
  EXPECT_TRUE(messages_[0].contains(QStringLiteral("Korvella_Love.ini")))
      << messages_[0].toStdString();
  // The start-up went on with the current directory's directories.
  EXPECT_TRUE(f.Panel8->isHidden());
  EXPECT_EQ(kv::LunDay_Name, MainDir() + "System/F_LunDay.tmp");
  EXPECT_EQ(kv::Obs_Latitude, 51.5);
  EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("15"));
  f.PageControl1->setCurrentIndex(3);
  EXPECT_TRUE(f.Memo1->toPlainText().contains(U("Установите")));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  f.RadioGroup1Items->button(1)->click();
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_GE(f.ListBox1->count(), 27);
}

TEST_F(WindowTest, LunarTabHintReplacesTheTextArea) {
  CopyPicture();
  auto& f = Start();
  f.Memo1->setPlainText(QStringLiteral("something else"));
  f.PageControl1->setCurrentIndex(3);
  EXPECT_EQ(
      f.Memo1->toPlainText(),
      U(" \n \n  Установите в окошке \"Год\" нужную дату и щелкните\n  на кнопке\"Рассчитать\" \n "));
  f.Memo1->setPlainText(QStringLiteral("kept"));
  f.PageControl1->setCurrentIndex(1);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("kept"));
}

TEST_F(WindowTest, BackgroundClicksHideTheResults) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  f.Panel8->show();
  f.Panel2->show();
  QTest::mouseClick(f.Image7, Qt::LeftButton, {}, QPoint(900, 300));
  EXPECT_FALSE(f.Panel8->isVisible());
  EXPECT_FALSE(f.Panel2->isVisible());
  QTest::mouseClick(f.Image7, Qt::LeftButton, {}, QPoint(900, 300));  // already hidden: no harm
  EXPECT_FALSE(f.Panel8->isVisible());

  f.PageControl1->setCurrentIndex(2);
  f.Panel1->show();
  QTest::mouseClick(f.Image6, Qt::LeftButton, {}, QPoint(970, 600));
  EXPECT_FALSE(f.Panel1->isVisible());

  f.PageControl1->setCurrentIndex(4);
  f.ListBox2->show();
  QTest::mouseClick(f.Image5, Qt::LeftButton, {}, QPoint(900, 500));
  EXPECT_FALSE(f.ListBox2->isVisible());
  f.ListBox2->show();
  f.SpinEdit21->setFocus();
  QTest::keyClick(f.SpinEdit21, Qt::Key_Up);
  EXPECT_FALSE(f.ListBox2->isVisible());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(WindowTest, SpinEditsKeepWhatIsTypedAndStepWithinTheirRange) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  f.SpinEdit1->setFocus();
  f.SpinEdit1->selectAll();
  QTest::keyClick(f.SpinEdit1, Qt::Key_Backspace);
  EXPECT_EQ(f.SpinEdit1->text(), QString());
  QTest::keyClicks(f.SpinEdit1, QStringLiteral("-"));
  EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("-"));
  QTest::keyClicks(f.SpinEdit1, QStringLiteral("x"));  // not a digit: refused
  EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("-"));
  f.BitBtn10->setFocus();  // a half-typed text survives leaving the control
  EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("-"));

  f.SpinEdit2->setText(QStringLiteral("12"));
  f.SpinEdit2->stepBy(1);
  EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("12"));
  f.SpinEdit2->stepBy(-3);
  EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("9"));
  f.SpinEdit3->setFocus();
  f.SpinEdit3->setText(QStringLiteral("5000"));
  f.BitBtn10->setFocus();
  EXPECT_EQ(f.SpinEdit3->text(), QStringLiteral("3000"));
}

TEST_F(WindowTest, DecimalPointWhateverTheLocale) {
  if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 is not generated";
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  ASSERT_STREQ(buf, "1,5");  // the locale is real
  CopyPicture();
  Start();
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  EXPECT_STREQ(buf, "1.5");
  EXPECT_EQ(QLocale().toString(1.5), QStringLiteral("1.5"));
  EXPECT_EQ(QLocale().toDouble(QStringLiteral("2.25")), 2.25);
  std::setlocale(LC_ALL, "C");
}

TEST_F(WindowTest, HelpWithoutItsFileNamesTheFullPath) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(critical_[0]);
  EXPECT_EQ(messages_[0].toStdString(), "Unable to open help file " + MainDir() + "LoveHelp.chm");
  // The program goes on unchanged.
  EXPECT_EQ(f.PageControl1->currentIndex(), 1);
}

TEST_F(WindowTest, EclipseButtonListsTheYear) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(4);
  f.SpinEdit21->setText(QStringLiteral("1999"));
  EXPECT_FALSE(f.ListBox2->isVisible());
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  EXPECT_TRUE(f.ListBox2->isVisible());
  ASSERT_EQ(f.ListBox2->count(), 5 + 4 + 7);
  EXPECT_EQ(f.ListBox2->item(1)->text(), U("                       ОБСТОЯТЕЛЬСТВА ЗАТМЕНИЙ "));
  EXPECT_TRUE(f.ListBox2->item(5)->text().startsWith(QStringLiteral(" 1  31.01.1999")));
  EXPECT_TRUE(f.ListBox2->item(8)->text().contains(U("Солнечное полное")));
  EXPECT_TRUE(f.ListBox2->item(8)->text().contains(QStringLiteral("11.08.1999  11:04")));
  // A year that is not a number: the message names the field, and the list
  // keeps the year before (hidden, as by any change of the year).
  f.SpinEdit21->setText(QStringLiteral("19x"));
  f.SpinEdit21->setText(QString());
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], U("Год: «» — не целое число; введите год от 1900 до 2050"));
  EXPECT_FALSE(f.ListBox2->isVisible());
  ASSERT_EQ(f.ListBox2->count(), 5 + 4 + 7);
  EXPECT_TRUE(f.ListBox2->item(5)->text().startsWith(QStringLiteral(" 1  31.01.1999")));
}

TEST_F(WindowTest, ReportButtonWritesThePageAndShowsIt) {
  CopyPicture();
  fs::copy_file(fs::path(KV_DIST_DIR) / "Html/gradus.txt", main_ / "Html/gradus.txt");
  // The Sun of 15 June 1985 stands in degree 84; its paragraph carries a link.
  std::ofstream(main_ / "Html/gradus.txt", std::ios::app | std::ios::binary)
      << "*  84\r\nSee <a href=\"https://example.org/84\">more</a>.\r\n";
  for (int i = 1; i <= 12; ++i) {
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i) + ".gif";
    fs::copy_file(fs::path(KV_DIST_DIR) / "Html/images" / n, main_ / "Html/images" / n);
  }
  auto& f = Start();
  f.PageControl1->setCurrentIndex(2);
  f.Edit2->setText(U("Анна & <Ли>"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  ASSERT_TRUE(fs::exists(main_ / "Html/Gradus_html.html"));
  EXPECT_TRUE(f.Panel1->isVisible());
  ASSERT_NE(f.WebBrowser2, nullptr);
  // The page is shown with its declared charset.
  EXPECT_EQ(f.WebBrowser2->documentTitle(), U(" Планеты Вашего гороскопа "));
  QString text = f.WebBrowser2->toPlainText();
  EXPECT_TRUE(text.contains(U("Анна & <Ли>"))) << text.left(300).toStdString();
  EXPECT_TRUE(text.contains(U("Солнце в момент вашего рождения")));
  // The heading at the style sheet's 20 px, not at a heading's enlargement.
  const QTextCursor heading = f.WebBrowser2->document()->find(U("Планеты вашего гороскопа"));
  EXPECT_EQ(heading.charFormat().font().pixelSize(), 20);
  // The Sun's sign picture, from the main directory whose name has a blank.
  QString picture;
  for (QTextBlock b = f.WebBrowser2->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        picture = it.fragment().charFormat().toImageFormat().name();
  EXPECT_TRUE(picture.endsWith(QStringLiteral("/03.gif"))) << picture.toStdString();
  const QVariant loaded =
      f.WebBrowser2->document()->resource(QTextDocument::ImageResource, QUrl(picture));
  EXPECT_EQ(loaded.value<QPixmap>().size(),
            QImage(QString::fromStdString(MainDir() + "Html/images/03.gif")).size());

  // The paragraph's link goes to the user's own browser.
  UrlReceiver browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
  QTextCursor link = f.WebBrowser2->document()->find(QStringLiteral("more"));
  ASSERT_FALSE(link.isNull());
  link.setPosition(link.selectionStart() + 1);
  QTest::mouseClick(f.WebBrowser2->viewport(), Qt::LeftButton, {},
                    f.WebBrowser2->cursorRect(link).center());
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/84"))});
  EXPECT_EQ(f.WebBrowser2->source(),
            QUrl::fromLocalFile(QString::fromStdString(MainDir() + "Html/Gradus_html.html")));

  // A second report rewrites the same file: the browser shows the new one.
  f.Edit2->setText(U("Вера"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  EXPECT_TRUE(f.WebBrowser2->toPlainText().contains(U("Вера")));
  // A background click hides it again.
  QTest::mouseClick(f.Image6, Qt::LeftButton, {}, QPoint(970, 600));
  EXPECT_FALSE(f.Panel1->isVisible());
}

// A link in a degree text leaves the report for a website or a mail
// program only, and a mail link with its subject and body only.
TEST_F(WindowTest, ReportLinksLeaveForWebsitesAndMailOnly) {
  kvapp::TWebBrowser report;
  UrlReceiver receiver;
  const QStringList schemes = {"https", "mailto", "file", "smb", "ftp"};
  for (const QString& s : schemes) QDesktopServices::setUrlHandler(s, &receiver, "open");
  for (const char* link :
       {"https://example.org/84", "file:///etc/passwd", "smb://host/share", "ftp://host/f",
        "mailto:a@example.org?attach=/etc/passwd&body=Hi&bcc=b@x.org"})
    emit report.anchorClicked(QUrl(QString::fromUtf8(link)));
  for (const QString& s : schemes) QDesktopServices::unsetUrlHandler(s);
  EXPECT_EQ(receiver.opened,
            (QList<QUrl>{QUrl("https://example.org/84"), QUrl("mailto:a@example.org?body=Hi")}));
}

TEST_F(WindowTest, ReportErrorsLeaveThePanelHidden) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(2);
  f.SpinEdit8->setText(QStringLiteral("+"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], U("Час: «+» — не целое число; введите час от 0 до 23"));
  EXPECT_FALSE(fs::exists(main_ / "Html/Gradus_html.html"));
  f.SpinEdit8->setText(QStringLiteral("12"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);  // no gradus.txt
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(messages_[1].contains(QStringLiteral("gradus.txt"))) << messages_[1].toStdString();
  EXPECT_FALSE(f.Panel1->isVisible());
  fs::remove_all(main_ / "Html");
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);  // no Html folder
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_TRUE(messages_[2].contains(QStringLiteral("Gradus_html.html")))
      << messages_[2].toStdString();
  EXPECT_FALSE(f.Panel1->isVisible());
  EXPECT_EQ(f.WebBrowser2, nullptr);
}

namespace {
bool HasColour(const QPixmap& p, QRgb c) {
  const QImage img = p.toImage().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) return true;
  return false;
}
}  // namespace

// Also run on a screen of 200 % (tests/app/CMakeLists.txt).
TEST_F(WindowTest, CompatibilityButtonDrawsBothChartsAndWritesBothFiles) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  // A second press during the run is ignored; a tab change is fine; the
  // start year typed meanwhile is the second pass's.
  int repaintsSeen = 0;
  QTimer::singleShot(0, &f, [&] {
    repaintsSeen = f.Panel8->isVisible() && !f.Panel2->isVisible();
    QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
    f.PageControl1->setCurrentIndex(0);
    f.PageControl1->setCurrentIndex(1);
    f.SpinEdit4->setText(QStringLiteral("1990"));
  });
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  EXPECT_EQ(repaintsSeen, 1);
  const std::string scan1 = ReadBytes(main_ / "Html/Scan1.txt"),
                    scan2 = ReadBytes(main_ / "Html/Scan2.txt");
  EXPECT_NE(scan1.find("    1    3  1 1980"), std::string::npos);
  EXPECT_NE(scan2.find("    1    3  1 1992"), std::string::npos);
  EXPECT_EQ(CountLines(main_ / "Html/Scan1.txt"), 1440);
  EXPECT_EQ(CountLines(main_ / "Html/Scan2.txt"), 1440);
  EXPECT_TRUE(f.Panel8->isVisible());
  EXPECT_TRUE(f.Panel2->isVisible());
  // A screen reader learns the years the charts show once they are drawn.
  EXPECT_EQ(f.Panel8->accessibleDescription(), U("Совместимость по дням 1980–1981 годов"));
  EXPECT_EQ(f.Panel2->accessibleDescription(), U("Совместимость по дням 1992–1993 годов"));
  for (TImage* img : {f.Image3, f.Image4}) {
    // At the screen's pixel ratio: sharp, with the same geometry.
    EXPECT_EQ(img->pixmap().size(), QSize(720, 218) * img->devicePixelRatioF());
    EXPECT_EQ(img->pixmap().deviceIndependentSize(), QSizeF(720, 218));
    EXPECT_TRUE(HasColour(img->pixmap(), qRgb(0, 128, 0)) ||
                HasColour(img->pixmap(), qRgb(255, 0, 0)));
    EXPECT_TRUE(HasColour(img->pixmap(), qRgb(238, 238, 238)));  // the year strips
  }
  EXPECT_FALSE(f.compatRunning());
}

// The one run at the window's own pace: bar after bar, a pass in no less
// than 3.6 s.
TEST_F(WindowTest, CompatibilityRunShowsItsBarsOneByOne) {
  CopyPicture();
  compatPause_ = kv::kCompatPause;
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  bool barByBar = false;
  QTimer::singleShot(1500, &f, [&] {
    // Some bars, no labels yet, and the next bar to come.
    const QImage now = f.Image3->pixmap().toImage();
    barByBar = (HasColour(f.Image3->pixmap(), qRgb(0, 128, 0)) ||
                HasColour(f.Image3->pixmap(), qRgb(255, 0, 0))) &&
               !HasColour(f.Image3->pixmap(), qRgb(238, 238, 238)) &&
               QTest::qWaitFor([&] { return f.Image3->pixmap().toImage() != now; });
  });
  QElapsedTimer t;
  t.start();
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.Panel2->isVisible(); }, 60000));
  EXPECT_GE(t.elapsed(), 3600);  // the first pass: 360 points, 10 ms apart
  EXPECT_TRUE(barByBar);
  EXPECT_TRUE(messages_.empty());
  f.close();  // the second pass would only take as long again
}

TEST_F(WindowTest, ClosingTheWindowMidRunEndsTheRunCleanly) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  QTimer::singleShot(0, &f, [&] { f.close(); });  // after the first bar
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !f.isVisible(); }));
  EXPECT_FALSE(f.compatRunning());
  EXPECT_TRUE(messages_.empty());
  // The stopped pass left no scan file, whole or cut, and nothing beside it.
  for (const auto& e : fs::directory_iterator(main_ / "Html"))
    EXPECT_EQ(e.path().filename(), "images");
}

TEST_F(WindowTest, CompatibilityErrorsStopTheRun) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(1);
  f.SpinEdit4->setText(QStringLiteral("  "));
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            U("Первый год анализа: «  » — не целое число; введите год от 1900 до 2050"));
  EXPECT_FALSE(f.compatRunning());
  f.SpinEdit4->setText(QStringLiteral("1980"));
  fs::remove_all(main_ / "Html");
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(messages_[1].contains(QStringLiteral("Scan1.txt"))) << messages_[1].toStdString();

  // A blank typed during pass 1 stops the run as pass 2 reads it: shown
  // once, the first scan complete, the second as it was.
  fs::create_directories(main_ / "Html");
  std::ofstream(main_ / "Html/Scan2.txt", std::ios::binary) << "earlier\r\n";
  QTimer::singleShot(0, &f, [&] { f.SpinEdit1->setText(QString()); });
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_EQ(messages_[2], U("День рождения: «» — не целое число; введите день от 1 до 31"));
  EXPECT_EQ(CountLines(main_ / "Html/Scan1.txt"), 1440);
  EXPECT_EQ(ReadBytes(main_ / "Html/Scan2.txt"), "earlier\r\n");
  EXPECT_TRUE(f.Panel2->isVisible());
}

TEST_F(WindowTest, LunarTabListsMonthsDaysAndADescription) {
  CopyPicture();
  fs::copy_file(fs::path(KV_DIST_DIR) / "System/DayMoon.doc", main_ / "System/DayMoon.doc");
  auto& f = Start();
  f.PageControl1->setCurrentIndex(3);
  // Before any phase table: the listing file is missing.
  f.RadioGroup1Items->button(1)->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].contains(QStringLiteral("F_LunDay.tmp")));

  f.SpinEdit22->setText(QStringLiteral("2008"));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u) << messages_.back().toStdString();
  const QStringList memo = f.Memo1->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GE(memo.size(), 20);
  EXPECT_EQ(memo[2], U(" Лун.месяц Новолуние    I четверть     Полнолуние     III четверть"));
  EXPECT_EQ(memo[4],
            QStringLiteral("    1     09.12.2007    17.12.2007     24.12.2007     31.12.2007"));
  EXPECT_EQ(f.Panel7->caption(), QStringLiteral(" "));

  f.RadioGroup1Items->button(1)->click();
  ASSERT_EQ(messages_.size(), 1u) << messages_.back().toStdString();
  EXPECT_EQ(f.Panel7->caption(), U("   Лунные дни на 2 лунный месяц  2008г."));
  ASSERT_EQ(f.ListBox1->count(), 27);
  EXPECT_EQ(f.ListBox1->item(0)->text(), QStringLiteral("  1   09.01.2008"));
  EXPECT_EQ(f.ListBox1->item(19)->text(), QStringLiteral(" 20   29.01.2008"));

  f.ListBox1->setCurrentRow(0);
  QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {},
                    f.ListBox1->visualItemRect(f.ListBox1->item(0)).center());
  ASSERT_EQ(messages_.size(), 1u) << messages_.back().toStdString();
  const QStringList day = f.Memo1->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GE(day.size(), 6);
  EXPECT_EQ(day[0], QString());
  EXPECT_TRUE(day[1].startsWith(U(" Начало лунного дня    09.01.2008  ")));
  EXPECT_TRUE(day[1].endsWith(QStringLiteral(" GMT")));
  EXPECT_TRUE(day[2].startsWith(U(" Конец лунного дня     10.01.2008  ")));
  EXPECT_FALSE(day[4].trimmed().isEmpty());  // the description follows

  // Without the description file: the error, and the text area stays empty.
  fs::remove(main_ / "System/DayMoon.doc");
  QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {},
                    f.ListBox1->visualItemRect(f.ListBox1->item(1)).center());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(messages_[1].contains(QStringLiteral("DayMoon.doc"))) << messages_[1].toStdString();
  EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
}

TEST_F(WindowTest, MonthChoiceShowsTheWindowsOwnListing) {
  CopyPicture();
  auto& f = Start();
  f.PageControl1->setCurrentIndex(3);
  f.SpinEdit22->setText(QStringLiteral("2008"));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  const QString listing = f.Memo1->toPlainText();
  // kvlove, run meanwhile in the same main directory, rewrites the listing
  // file, then removes it: the window shows its own year all the same.
  std::ofstream(main_ / "System/F_LunDay.tmp", std::ios::binary) << "2027\r\n";
  f.RadioGroup1Items->button(1)->click();
  fs::remove(main_ / "System/F_LunDay.tmp");
  f.RadioGroup1Items->button(2)->click();
  ASSERT_TRUE(messages_.empty()) << messages_[0].toStdString();
  EXPECT_EQ(f.Memo1->toPlainText(), listing);
  ASSERT_EQ(f.ListBox1->count(), 28);  // 3rd lunar month of 2008
  // A choice refused for its year leaves the month before, its days and
  // the listing, whether chosen by program, mouse or arrow key.
  f.SpinEdit22->setText(QStringLiteral("-"));
  f.RadioGroup1Items->button(3)->click();
  QTest::mouseClick(f.RadioGroup1Items->button(5), Qt::LeftButton);
  f.RadioGroup1Items->button(2)->setFocus();
  QTest::keyClick(f.RadioGroup1Items->button(2), Qt::Key_Down);
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_EQ(messages_[0], U("Год: «-» — не целое число; введите год от 0 до 3000"));
  EXPECT_EQ(f.RadioGroup1ItemIndex(), 2);
  EXPECT_EQ(f.ListBox1->count(), 28);
  EXPECT_EQ(f.Memo1->toPlainText(), listing);
}

#include "window_test.moc"
