// Times one start of a program under an X server without a window manager,
// to the millisecond, from exec:
//   map      its first window is mapped (MapNotify on the root window);
//   done     the settings file is written with both directories (inotify);
//   report   with --report: after a click on the report tab's button, the
//            last change of the report area before it stays still (DAMAGE).
// Peak memory comes from wait4's rusage once the program has been closed.
// Prints one line of key=value pairs for bench/startup-time.
//   kv_startup_probe [--settings FILE] [--wait MS] [--report] [--settle MS] -- PROGRAM [ARG...]
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "kv_startup_probe: %s\n", what.c_str());
  std::exit(2);
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long StatusKib(pid_t pid, const char* field) {
  std::istringstream in(ReadFile("/proc/" + std::to_string(pid) + "/status"));
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  return 0;
}

// Every process below pid, by the parent ids in /proc.
std::vector<pid_t> Descendants(pid_t pid) {
  std::multimap<pid_t, pid_t> children;
  for (const auto& e : std::filesystem::directory_iterator("/proc")) {
    const std::string name = e.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadFile(e.path() / "stat");
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const auto paren = stat.rfind(')');
    if (paren == std::string::npos || paren + 4 > stat.size()) continue;
    const auto ppid = static_cast<pid_t>(std::strtol(stat.c_str() + paren + 4, nullptr, 10));
    children.emplace(ppid, static_cast<pid_t>(std::strtol(name.c_str(), nullptr, 10)));
  }
  std::vector<pid_t> out, todo{pid};
  while (!todo.empty()) {
    const pid_t p = todo.back();
    todo.pop_back();
    for (auto [it, end] = children.equal_range(p); it != end; ++it) {
      out.push_back(it->second);
      todo.push_back(it->second);
    }
  }
  return out;
}

struct Rect {
  int x, y, w, h;
  bool Meets(int ox, int oy, int ow, int oh) const {
    return ox < x + w && x < ox + ow && oy < y + h && y < oy + oh;
  }
};

class Probe {
 public:
  Probe() {
    c_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c_)) Die("no X display (DISPLAY)");
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    pidAtom_ = Atom("_NET_WM_PID");
    xcb_flush(c_);
  }
  ~Probe() { xcb_disconnect(c_); }

  void WatchSettings(const std::string& file) {
    const std::filesystem::path p(file);
    settingsFile_ = file;
    settingsName_ = p.filename();
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Written in place, renamed into place, or (a new file written whole
    // beforehand, as QSaveFile does) linked into place.
    if (inotify_ < 0 || inotify_add_watch(inotify_, p.parent_path().c_str(),
                                          IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE) < 0)
      Die("cannot watch " + p.parent_path().string());
  }

  void Start(char** argv) {
    t0_ = Now();
    pid_ = fork();
    if (pid_ < 0) Die("fork");
    if (pid_ == 0) {
      execvp(argv[0], argv);
      std::perror(argv[0]);
      _exit(127);
    }
  }

  // Handles events until done() holds (true) or the deadline passes (false).
  bool Pump(double deadline, const std::function<bool()>& done) {
    for (;;) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
        Handle(e);
        std::free(e);
      }
      if (xcb_connection_has_error(c_)) Die("lost the X display");
      if (done()) return true;
      if (!exited_) {
        int status;
        if (wait4(pid_, &status, WNOHANG, &usage_) == pid_) {
          exited_ = true;
          Die("the program ended early (status " + std::to_string(status) + ")");
        }
      }
      const double left = deadline - Now();
      if (left <= 0) return false;
      pollfd fds[2] = {{xcb_get_file_descriptor(c_), POLLIN, 0}, {inotify_, POLLIN, 0}};
      poll(fds, inotify_ >= 0 ? 2 : 1, static_cast<int>(std::min(left, 20.0)) + 1);
      if (inotify_ >= 0 && (fds[1].revents & POLLIN)) ReadInotify();
    }
  }

  void Click(int x, int y) {
    int16_t wx = 0, wy = 0;
    if (auto* r = xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, window_, root_, 0, 0), nullptr)) {
      wx = r->dst_x;
      wy = r->dst_y;
      std::free(r);
    }
    xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, wx + x, wy + y, 0);
    xcb_test_fake_input(c_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    std::free(
        xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));  // the server has it
  }

  // From now on, changes of the screen inside `area` (window coordinates).
  void WatchDamage(Rect area) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c_, &xcb_damage_id);
    if (!ext || !ext->present) Die("the X server has no DAMAGE extension");
    damageEvent_ = ext->first_event + XCB_DAMAGE_NOTIFY;
    std::free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
    if (auto* r = xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, window_, root_, 0, 0), nullptr)) {
      area.x += r->dst_x;
      area.y += r->dst_y;
      std::free(r);
    }
    area_ = area;
    const xcb_damage_damage_t d = xcb_generate_id(c_);
    xcb_damage_create(c_, d, root_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(c_);
  }

  // Asks the window to close as its close button would; ends the program
  // if it does not go. Returns its peak resident memory in KiB.
  long Close() {
    const xcb_atom_t protocols = Atom("WM_PROTOCOLS"), del = Atom("WM_DELETE_WINDOW");
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = window_;
    m.type = protocols;
    m.data.data32[0] = del;
    m.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c_, 0, window_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&m));
    xcb_flush(c_);
    const std::vector<pid_t> helpers = Descendants(pid_);
    int status;
    const double deadline = Now() + 10000;
    while (wait4(pid_, &status, WNOHANG, &usage_) != pid_) {
      if (Now() > deadline) {
        kill(pid_, SIGKILL);
        wait4(pid_, &status, 0, &usage_);
        break;
      }
      usleep(5000);
    }
    for (pid_t h : helpers) kill(h, SIGKILL);
    return usage_.ru_maxrss;
  }

  pid_t pid() const { return pid_; }
  double Since0(double t) const { return t - t0_; }
  double mapped = -1, settingsWritten = -1, lastDamage = -1, lastAreaDamage = -1;

 private:
  xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!r) Die(std::string("no atom ") + name);
    const xcb_atom_t a = r->atom;
    std::free(r);
    return a;
  }

  pid_t PidOf(xcb_window_t w) {
    pid_t p = -1;
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    if (r && xcb_get_property_value_length(r) == 4)
      p = *static_cast<uint32_t*>(xcb_get_property_value(r));
    std::free(r);
    return p;
  }

  void Handle(xcb_generic_event_t* e) {
    const double t = Now();
    const uint8_t type = e->response_type & 0x7F;
    if (type == XCB_MAP_NOTIFY) {
      auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
      // The first window of the program; the latest one if it makes it anew.
      if (!m->override_redirect && PidOf(m->window) == pid_) {
        window_ = m->window;
        if (mapped < 0) mapped = t;
      }
    } else if (damageEvent_ && type == damageEvent_) {
      auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
      lastDamage = t;
      if (area_.Meets(d->area.x, d->area.y, d->area.width, d->area.height)) lastAreaDamage = t;
    }
  }

  void ReadInotify() {
    alignas(inotify_event) char buf[4096];
    for (;;) {
      const ssize_t n = read(inotify_, buf, sizeof buf);
      if (n <= 0) return;
      for (ssize_t i = 0; i < n;) {
        auto* ev = reinterpret_cast<inotify_event*>(buf + i);
        if (ev->len && settingsName_ == ev->name && settingsWritten < 0 &&
            ReadFile(settingsFile_).find("rSysDir=") != std::string::npos)
          settingsWritten = Now();
        i += sizeof(inotify_event) + ev->len;
      }
    }
  }

  xcb_connection_t* c_;
  xcb_window_t root_, window_ = 0;
  xcb_atom_t pidAtom_;
  uint8_t damageEvent_ = 0;
  Rect area_{0, 0, 0, 0};
  int inotify_ = -1;
  std::string settingsFile_, settingsName_;
  pid_t pid_ = -1;
  double t0_ = 0;
  bool exited_ = false;
  rusage usage_{};
};

// The window's places that the report needs, in window coordinates.
constexpr int kReportTab[] = {270, 12};
constexpr int kReportButton[] = {717 + 60, 30 + 573 + 13};
constexpr Rect kReportArea{4 + 24, 30 + 24, 930, 520};
constexpr int kEmptyPlace[] = {500, 300};  // the start tab's picture

}  // namespace

int main(int argc, char** argv) {
  std::string settings;
  double wait = 3000, settle = 500;
  bool report = false;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    const std::string a = argv[i];
    if (a == "--settings" && i + 1 < argc)
      settings = argv[++i];
    else if (a == "--wait" && i + 1 < argc)
      wait = std::strtod(argv[++i], nullptr);
    else if (a == "--settle" && i + 1 < argc)
      settle = std::strtod(argv[++i], nullptr);
    else if (a == "--report")
      report = true;
    else
      Die("unknown option " + a);
  }
  if (i + 1 >= argc)
    Die("usage: kv_startup_probe [--settings FILE] [--wait MS] [--report] [--settle MS] -- PROGRAM [ARG...]");

  Probe p;
  if (!settings.empty()) p.WatchSettings(settings);
  p.Start(argv + i + 1);
  if (!p.Pump(Now() + 30000, [&] { return p.mapped >= 0; })) Die("no window within 30 s");
  std::printf("map_ms=%.1f", p.Since0(p.mapped));

  if (!settings.empty()) {
    if (p.Pump(p.mapped + wait, [&] { return p.settingsWritten >= 0; })) {
      std::printf(" done_ms=%.1f", p.Since0(p.settingsWritten));
    } else {
      // Never activated, so its start-up never ran: a click activates it.
      const double click = Now();
      p.Click(kEmptyPlace[0], kEmptyPlace[1]);
      if (!p.Pump(Now() + 30000, [&] { return p.settingsWritten >= 0; }))
        Die("no start-up after a click");
      std::printf(" done_ms=never done_after_click_ms=%.1f", p.settingsWritten - click);
    }
  }
  p.Pump(Now() + settle, [] { return false; });

  if (report) {
    p.WatchDamage(kReportArea);
    p.Click(kReportTab[0], kReportTab[1]);
    const auto stillFor = [&](double ms) {
      return [&p, ms] { return p.lastDamage >= 0 && Now() - p.lastDamage > ms; };
    };
    p.Pump(Now() + 5000, stillFor(500));
    const double click = Now();
    p.lastAreaDamage = -1;
    p.Click(kReportButton[0], kReportButton[1]);
    p.Pump(click + 60000, [&] { return p.lastAreaDamage >= 0 && Now() - p.lastAreaDamage > 3000; });
    if (p.lastAreaDamage < 0) Die("the report area never changed");
    std::printf(" report_ms=%.1f rss_kib=%ld", p.lastAreaDamage - click,
                StatusKib(p.pid(), "VmRSS:"));
  }
  long helpersKib = 0;
  const std::vector<pid_t> helpers = Descendants(p.pid());
  for (pid_t h : helpers) helpersKib += StatusKib(h, "VmRSS:");
  std::printf(" helpers=%zu helpers_kib=%ld", helpers.size(), helpersKib);
  std::printf(" peak_kib=%ld\n", p.Close());
  return 0;
}
