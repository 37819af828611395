#include "text.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <charconv>

namespace kv {

ConvertError::ConvertError(const std::string& utf8Text)
    : std::invalid_argument("'" + utf8Text + "' is not a valid integer value") {}

ConvertError::ConvertError(const ConvertError& e, const std::string& file, std::size_t line)
    : std::invalid_argument(std::string(e.what()) + " в файле «" + file + "», строка " +
                            std::to_string(line)) {}

std::int32_t StrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool neg = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    neg = text[i] == '-';
    ++i;
  }
  if (i == text.size()) throw ConvertError(std::string(text));
  std::int64_t v = 0;
  for (std::size_t j = i; j < text.size(); ++j) {
    const char c = text[j];
    if (c < '0' || c > '9') throw ConvertError(std::string(text));
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) throw ConvertError(std::string(text));
  }
  if (neg) v = -v;
  if (v > 2147483647LL) throw ConvertError(std::string(text));
  return static_cast<std::int32_t>(v);
}

namespace {
QStringEncoder& Encoder() {
  static thread_local QStringEncoder enc("windows-1251");
  return enc;
}
QStringDecoder& Decoder() {
  static thread_local QStringDecoder dec("windows-1251");
  return dec;
}
}  // namespace

std::string ToCp1251(std::string_view utf8) {
  const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QByteArray b = Encoder().encode(s);
  Encoder().resetState();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

std::string FromCp1251(std::string_view cp1251) {
  const QByteArray in =
      QByteArray::fromRawData(cp1251.data(), static_cast<qsizetype>(cp1251.size()));
  const QString s = Decoder().decode(in);
  Decoder().resetState();
  const QByteArray u = s.toUtf8();
  return std::string(u.constData(), static_cast<std::size_t>(u.size()));
}

std::string FromCp1251Text(std::string_view cp1251) {
  const std::string text = FromCp1251(cp1251);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

std::string CrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool EncodableInCp1251(char32_t c) {
  if (c < 0x80) return true;
  const QString s = QString::fromUcs4(&c, 1);
  QStringEncoder enc("windows-1251", QStringConverter::Flag::ConvertInvalidToNull);
  const QByteArray b = enc.encode(s);
  return !enc.hasError() && b.size() == 1 && b[0] != '\0';
}

std::string Field(std::int64_t v, int width) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  if (static_cast<int>(s.size()) < width)
    s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

}  // namespace kv
