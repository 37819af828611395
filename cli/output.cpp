#include "output.h"
#include "tr.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDate>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "core/calendar.h"

namespace kvcli {

namespace {

// Descriptor 1 behind std::cout, every write checked.
class CheckedOutput : public std::streambuf {
 public:
  explicit CheckedOutput(bool closed) : closed_(closed) { Reset(); }
  // Writes what is buffered; OutputError when the system refuses it.
  void Drain() {
    const char* p = pbase();
    const char* const end = pptr();
    Reset();  // what fails is dropped: it is reported once, not again at exit
    while (p < end) {
      const ssize_t n = closed_ ? (errno = EBADF, -1) : ::write(STDOUT_FILENO, p, end - p);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail(errno);
      p += n;
    }
  }
  void Close() {
    Drain();
    // Some file systems report a failed write only here.
    if (!closed_ && ::close(STDOUT_FILENO) != 0 && errno != EINTR) Fail(errno);
    closed_ = true;
  }

 protected:
  int_type overflow(int_type c) override {
    Drain();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    Drain();
    return 0;
  }

 private:
  void Reset() { setp(buf_, buf_ + sizeof buf_); }
  [[noreturn]] void Fail(int e) {
    closed_ = true;  // nothing more goes out after a failure
    throw OutputError(
        Kvlove::tr("Cannot write the result to standard output. %1", {std::strerror(e)}));
  }
  bool closed_;
  char buf_[65536];
};

CheckedOutput* output = nullptr;

std::string CsvField(const Json& v) {
  std::string s = v.is_string() ? v.get<std::string>() : v.is_null() ? "" : v.dump();
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string quoted = "\"";
  for (char c : s) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void PrintCsvLine(const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) std::cout << (i ? "," : "") << fields[i];
  std::cout << "\n";
}

}  // namespace

void CheckStandardOutput() {
  bool closed = false;
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // open() takes the lowest free number, which is fd.
    if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) < 0) continue;
    closed = closed || fd == STDOUT_FILENO;
  }
  // Left in place to the end of the process: std::cout is flushed at exit.
  output = new CheckedOutput(closed);
  std::cout.rdbuf(output);
  std::cout.exceptions(std::ios::badbit);
  // On a terminal each piece shows at once, as it did through stdio.
  if (::isatty(STDOUT_FILENO)) std::cout << std::unitbuf;
}

void FinishStandardOutput() {
  if (!output) return;
  std::cout.flush();
  output->Close();
}

void SettleStandardOutput() {
  std::cerr.tie(nullptr);
  if (!output) return;
  std::cout.exceptions(std::ios::goodbit);
  try {
    output->Drain();
  } catch (const OutputError& e) {
    std::cerr << "kvlove: " << e.what() << "\n";
  }
}

Format ReadFormat(const Context& ctx) {
  if (!ctx.HasFlag("--format")) return Format::Text;
  const std::string f = ctx.FlagValue("--format");
  if (f == "text") return Format::Text;
  if (f == "json") return Format::Json;
  if (f == "csv") return Format::Csv;
  throw UsageError(Kvlove::tr("unknown format '%1' (text, json or csv)", {f}));
}

std::string IsoMoment(double x, const kv::LocalClock& clock) {
  const std::int32_t offset = clock.OffsetAt(x);
  // Seconds since 1899-12-31 00:00 of the clock.
  const long long s = std::llround((static_cast<long double>(x) + 0.5L) * 86400.0L) + offset;
  const long long day = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
  const long long second = s - day * 86400;
  const QDate date = QDate::fromJulianDay(2415020 + day);
  const int year = date.year() < 0 ? date.year() + 1 : date.year();  // QDate has no year 0
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%04d-%02d-%02dT%02lld:%02lld:%02lld", year < 0 ? "-" : "",
                std::abs(year), date.month(), date.day(), second / 3600, second / 60 % 60,
                second % 60);
  return buf + kv::OffsetText(offset);
}

std::string ClockMoment(double x, const kv::LocalClock& clock) {
  std::string date, time;
  kv::DayNumberToStrings(clock.Local(x), date, time);
  return date + " " + time + (clock.IsGmt() ? "" : " " + kv::OffsetText(clock.OffsetAt(x)));
}

void PrintResult(Format format, Json inputs, const char* key, const Records& records) {
  if (format == Format::Csv) {
    std::vector<std::string> fields(records.names.begin(), records.names.end());
    PrintCsvLine(fields);
    for (const auto& row : records.rows) {
      fields.clear();
      for (const Json& v : row) fields.push_back(CsvField(v));
      PrintCsvLine(fields);
    }
    return;
  }
  Json list = Json::array();
  for (const auto& row : records.rows) {
    Json record = Json::object();
    for (std::size_t i = 0; i < row.size(); ++i) record[records.names[i]] = row[i];
    list.push_back(std::move(record));
  }
  if (key)
    inputs[key] = std::move(list);
  else
    for (const Json& record : list) inputs.update(record);
  // A name or a path need not be UTF-8: what is not comes out as U+FFFD.
  std::cout << inputs.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace kvcli
