// The window started offscreen in a main directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <filesystem>
#include <fstream>

#include "app/KV_Love.h"
#include "compat/scan.h"
#include "core/settings.h"
#include "tests/temp_dir.h"

namespace fs = std::filesystem;

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
using kvapp::TImage;
using kvapp::TZKV_LoveForm;

namespace {

[[maybe_unused]] QString U(const char* s) { return QString::fromUtf8(s); }

// A main directory of its own, a settings location of its own, and the
// window started in it with its message boxes recorded.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = root_ / "Korvella Love dir";  // a blank in the path, as users have
    fs::create_directories(main_ / "Html" / "images");
    fs::create_directories(main_ / "System");
    fs::create_directories(root_ / "config");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString((root_ / "config").string()));
    oldConfig_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (root_ / "config").c_str());
    oldCwd_ = fs::current_path();
    fs::current_path(main_);
  }
  void TearDown() override {
    form_.reset();
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    fs::current_path(oldCwd_);
  }

  void CopyPicture() {
    fs::copy_file(fs::path(KV_DIST_DIR) / "Html/images/moon.jpg", main_ / "Html/images/moon.jpg");
  }

  // A desktop that never activates the window (none, or one that prevents
  // focus stealing); the offscreen platform activates every shown window.
  struct NeverActivated : QObject {
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::WindowActivate; }
  } neverActivated_;

  // Shows the window as the program does; activated too unless told not.
  TZKV_LoveForm& Start(bool activate = true) {
    form_ = std::make_unique<TZKV_LoveForm>();
    form_->messageBox = [this](const QString& t, bool critical) {
      messages_.push_back(t);
      critical_.push_back(critical);
    };
    form_->SetCompatPause(compatPause_);
    if (!activate) form_->installEventFilter(&neverActivated_);
    form_->show();
    if (activate) {
      form_->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    EXPECT_TRUE(QTest::qWaitFor([this] { return form_->startupDone(); }));
    // Tests reach every tab's controls without coming to the tab first.
    if (buildTabs_) form_->BuildTabs();
    return *form_;
  }

  std::string MainDir() const { return main_.string() + "/"; }

  // The compatibility run goes on from the event loop after its press. The
  // loop runs here without the 10 ms naps of QTest::qWaitFor between two
  // passes, so that a run without its pause takes no longer than its work.
  bool WaitForCompatRun() {
    QEventLoop loop;
    QTimer poll, limit;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (!form_->compatRunning()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(0);
    limit.setSingleShot(true);
    limit.start(60000);
    if (form_->compatRunning()) loop.exec();
    return !form_->compatRunning();
  }

  // The compatibility run without its pause: a test about its pace sets
  // kv::kCompatPause before Start().
  std::chrono::milliseconds compatPause_{0};
  bool buildTabs_ = true;  // false: tabs 2 to 5 as the window leaves them
  kvtest::TempDir tmp_{"kv_window"};
  fs::path root_ = tmp_.path(), main_, oldCwd_;
  QByteArray oldConfig_;
  std::unique_ptr<TZKV_LoveForm> form_;
  std::vector<QString> messages_;
  std::vector<bool> critical_;
};

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// CR LF line ends in a file.
inline int CountLines(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int n = 0;
  for (std::size_t i = 0; (i = s.find("\r\n", i)) != std::string::npos; i += 2) ++n;
  return n;
}

}  // namespace
