// Printing and PDFs of the tab in front: Ctrl+S on each tab, the context
// menus, the printing module loaded at the first print only, and kvlove
// --pdf writing the window's PDFs.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>

#include "app/print_tabs.h"
#include "window_fixture.h"

namespace {

// The text of a PDF as pdftotext reads it; empty when it is not a PDF.
QString PdfText(const fs::path& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The same with every run of blanks and line ends as one blank.
QString Flat(const QString& text) { return text.simplified(); }

bool Loaded(const char* library) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

class PrintTest : public WindowTest {
 protected:
  void CopyData() {
    CopyPicture();
    for (const char* n : {"Html/gradus.txt", "System/DayMoon.doc"})
      fs::copy_file(fs::path(KV_DIST_DIR) / n, main_ / n);
    for (int i = 1; i <= 12; ++i) {
      const std::string n =
          (i < 10 ? "Html/images/0" : "Html/images/") + std::to_string(i) + ".gif";
      fs::copy_file(fs::path(KV_DIST_DIR) / n, main_ / n);
    }
  }
  // Starts the window with its save dialog answered by answer_.
  TZKV_LoveForm& StartPrinting() {
    auto& f = Start();
    f.Printing().moduleDir = QStringLiteral(KV_DIST_DIR);
    f.Printing().askPdfFile = [this](const QString& offered) {
      offered_.push_back(offered);
      return answer_;
    };
    return f;
  }
  // Ctrl+S on the tab in front, saved as out/NAME.
  QString SaveAs(const std::string& name) {
    fs::create_directories(root_ / "out");
    answer_ = QString::fromStdString((root_ / "out" / name).string());
    QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
    return PdfText(root_ / "out" / name);
  }
  QString answer_;
  std::vector<QString> offered_;
};

TEST_F(PrintTest, CtrlSSavesTheResultOfEachTab) {
  CopyData();
  auto& f = StartPrinting();
  // No result yet: nothing is asked, and the user is told why.
  for (int tab : {0, 1, 2, 3, 4}) {
    f.PageControl1->setCurrentIndex(tab);
    EXPECT_EQ(SaveAs("none.pdf"), QString()) << tab;
  }
  EXPECT_TRUE(offered_.empty());
  ASSERT_EQ(messages_.size(), 5u);
  EXPECT_EQ(messages_[1], U("На вкладке «Совместимость» пока нет результата: сначала нажмите "
                            "«Рассчитать»."));

  f.PageControl1->setCurrentIndex(1);
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  QString text = SaveAs("compat.pdf");
  ASSERT_EQ(offered_.size(), 1u);
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(offered_[0], (QFileInfo(documents).isDir() ? documents : QDir::homePath()) +
                             U("/Совместимость 15.06.1985 1980–1983.pdf"));
  for (const char* s :
       {"Дата рождения: 15.06.1985", "1980–1981 годы", "1982–1983 годы", "Условные обозначения"})
    EXPECT_TRUE(Flat(text).contains(U(s))) << s << "\n" << text.toStdString();

  // The folder saved to is offered next time, and kept in the settings.
  f.PageControl1->setCurrentIndex(2);
  f.Edit2->setText(U("Мария"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  text = SaveAs("report.pdf");
  ASSERT_EQ(offered_.size(), 2u);
  EXPECT_EQ(offered_[1],
            QString::fromStdString((root_ / "out").string()) + U("/Гороскоп Мария 15.06.1985.pdf"));
  EXPECT_TRUE(text.contains(U("Мария"))) << text.toStdString();
  EXPECT_TRUE(text.contains(U("Солнце в момент вашего рождения")));
  kvapp::RegistryKey key;
  ASSERT_TRUE(key.Open(false));
  EXPECT_EQ(key.ReadString(QLatin1String(kvapp::PrintTabs::kPdfDirValue)),
            QString::fromStdString((root_ / "out").string()));
  key.Close();

  f.PageControl1->setCurrentIndex(3);
  f.SpinEdit22->setText(QStringLiteral("2008"));
  QTest::mouseClick(f.BitBtn5, Qt::LeftButton);
  f.SpinEdit22->setText(QStringLiteral("2030"));  // typed, not yet calculated
  text = SaveAs("months.pdf");
  EXPECT_TRUE(Flat(text).contains(QStringLiteral("09.12.2007 17.12.2007")));
  EXPECT_TRUE(text.contains(U("Лунный календарь 2008")));
  EXPECT_TRUE(offered_.back().endsWith(U("/Лунный календарь 2008.pdf")));
  f.SpinEdit22->setText(QStringLiteral("2008"));
  f.RadioGroup1Items->button(1)->click();
  QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {},
                    f.ListBox1->visualItemRect(f.ListBox1->item(0)).center());
  text = SaveAs("day.pdf");
  EXPECT_TRUE(offered_.back().endsWith(U("/Лунный день 1 09.01.2008.pdf")));
  EXPECT_TRUE(Flat(text).contains(U("Начало лунного дня 09.01.2008"))) << text.toStdString();
  const QString description = f.Memo1->toPlainText().split(u'\n').value(4).simplified();
  EXPECT_TRUE(Flat(text).contains(description)) << description.toStdString();

  f.PageControl1->setCurrentIndex(4);
  f.SpinEdit21->setText(QStringLiteral("1999"));
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  text = SaveAs("eclipses.pdf");
  EXPECT_TRUE(offered_.back().endsWith(U("/Затмения 1999.pdf")));
  EXPECT_TRUE(text.contains(U("Затмения 1999 года")));
  EXPECT_TRUE(Flat(text).contains(QStringLiteral("11.08.1999 11:04"))) << text.toStdString();

  // Cancelled: nothing written. A folder that is not there: the error names the file.
  answer_.clear();
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  const std::size_t before = messages_.size();
  answer_ = QString::fromStdString((root_ / "nosuch" / "x.pdf").string());
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(messages_.size(), before + 1);
  EXPECT_TRUE(messages_.back().contains(answer_)) << messages_.back().toStdString();
  EXPECT_TRUE(critical_.back());
  // A name without a suffix gets .pdf.
  answer_ = QString::fromStdString((root_ / "out" / "plain").string());
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(fs::exists(root_ / "out" / "plain.pdf"));
}

TEST_F(PrintTest, ContextMenusOfferTheActionsWhereThereIsAResult) {
  auto& f = StartPrinting();
  f.PageControl1->setCurrentIndex(4);
  QStringList seen;
  std::vector<bool> enabled;
  const auto openMenu = [&](QWidget* w) {
    QTimer::singleShot(0, w, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        seen << a->text();
        enabled.push_back(a->isEnabled());
      }
      menu->close();
    });
    // From the keyboard, as the menu key asks for it.
    QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
  };
  openMenu(f.ListBox2->viewport());
  EXPECT_EQ(seen,
            (QStringList{U("Печать…"), U("Предварительный просмотр…"), U("Сохранить в PDF…")}));
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false}));
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  seen.clear();
  enabled.clear();
  openMenu(f.ListBox2->viewport());
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, true}));
  // The lunar text keeps its own entries above ours.
  f.PageControl1->setCurrentIndex(3);
  seen.clear();
  openMenu(f.Memo1->viewport());
  EXPECT_GT(seen.size(), 3);
  EXPECT_EQ(seen.back(), U("Сохранить в PDF…"));
  // The actions stay usable by their keys after a menu.
  EXPECT_TRUE(f.Printing().PdfAction->isEnabled());
  EXPECT_EQ(f.Printing().PdfAction->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(f.Printing().PrintAction->shortcut(), QKeySequence(QKeySequence::Print));
}

TEST_F(PrintTest, PrintSupportIsLoadedAtTheFirstPrintOnly) {
  auto& f = StartPrinting();
  f.PageControl1->setCurrentIndex(4);
  f.SpinEdit21->setText(QStringLiteral("1999"));
  QTest::mouseClick(f.BitBtn7, Qt::LeftButton);
  EXPECT_FALSE(Loaded("libQt6PrintSupport"));
  // A PDF needs no Print Support.
  EXPECT_TRUE(SaveAs("eclipses.pdf").contains(QStringLiteral("11.08.1999")));
  EXPECT_FALSE(Loaded("libQt6PrintSupport"));
  const fs::path printed = root_ / "printed.pdf";
  ASSERT_TRUE(f.Printing().PrintToFile(QString::fromStdString(printed.string())));
  EXPECT_TRUE(Loaded("libQt6PrintSupport"));
  EXPECT_TRUE(PdfText(printed).contains(QStringLiteral("11.08.1999")));

  // Ctrl+Shift+P: the preview, over the window.
  QString shown;
  QTimer::singleShot(0, form_.get(), [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      shown = QString::fromLatin1(w->metaObject()->className()) + u' ' + w->windowTitle();
      w->close();
    }
  });
  QTest::keyClick(form_.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(shown, U("QPrintPreviewDialog Предварительный просмотр: Затмения 1999"));

  // A module that is not there is named.
  f.Printing().moduleDir = QString::fromStdString(root_.string());
  EXPECT_FALSE(f.Printing().PrintToFile(QString::fromStdString(printed.string())));
  ASSERT_FALSE(messages_.empty());
  EXPECT_TRUE(messages_.back().contains(U("korvella-love-print")))
      << messages_.back().toStdString();
}

// kvlove --pdf writes what the window saves.
TEST_F(PrintTest, KvloveWritesTheWindowsPdfs) {
  CopyData();
  const fs::path other = root_ / "kvlove dir";
  fs::create_directories(other / "Html");
  fs::copy(main_ / "Html", other / "Html", fs::copy_options::recursive);
  auto& f = StartPrinting();
  f.PageControl1->setCurrentIndex(1);
  QTest::mouseClick(f.BitBtn10, Qt::LeftButton);
  ASSERT_TRUE(WaitForCompatRun());
  const QString windowCompat = SaveAs("compat.pdf");
  f.PageControl1->setCurrentIndex(2);
  f.Edit2->setText(U("Мария"));
  QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
  const QString windowReport = SaveAs("report.pdf");

  const auto kvlove = [&](const std::string& args) {
    const std::string cmd = "cd '" + other.string() + "' && " KV_DIST_DIR "/kvlove " + args +
                            " >/dev/null 2>'" + (root_ / "err").string() + "'";
    return std::system(cmd.c_str());
  };
  ASSERT_EQ(kvlove("compat 15.06.1985 1980 --pdf '" + (root_ / "c.pdf").string() + "'"), 0)
      << ReadBytes(root_ / "err");
  EXPECT_EQ(PdfText(root_ / "c.pdf"), windowCompat);
  ASSERT_EQ(kvlove("report Мария 15.06.1985 12:15 --pdf '" + (root_ / "r.pdf").string() + "'"), 0)
      << ReadBytes(root_ / "err");
  EXPECT_EQ(PdfText(root_ / "r.pdf"), windowReport);
  // Its sizes in pixels become points on paper: ten paragraphs in the
  // page's 16 px take more than one A4 page, not a corner of one.
  EXPECT_GE(windowReport.count(u'\f'), 2) << windowReport.toStdString();
  // A file that cannot be written: status 1 and the file named.
  EXPECT_NE(kvlove("compat 15.06.1985 1980 --pdf /nosuch/c.pdf"), 0);
  EXPECT_NE(ReadBytes(root_ / "err").find("/nosuch/c.pdf"), std::string::npos);
}

}  // namespace
