#include "app/helpviewer/chm_archive.h"

#include <chm_lib.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <cstdint>

#include "core/textfile.h"

namespace kv::help {

namespace {

// Objects larger than this are taken for a damaged directory entry.
constexpr LONGUINT64 kMaxObjectSize = 256u * 1024u * 1024u;

QString ArchivePath(const QString& path) { return path.startsWith(u'/') ? path : u'/' + path; }

QString Decode(const QByteArray& bytes, const char* encoding) {
  QStringDecoder dec(encoding);
  if (!dec.isValid()) dec = QStringDecoder("windows-1251");
  return dec.decode(bytes);
}

// The ANSI code page of a Windows language id: the help compiler writes the
// system record's strings in it.
const char* CodePageOf(std::uint32_t lcid) {
  switch (lcid & 0x3ff) {
    case 0x02:
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x2f:
    case 0x3f:
    case 0x40:
    case 0x44:
    case 0x50: return "windows-1251";
    case 0x1a:  // Serbo-Croatian: Cyrillic only in some sublanguages
      return (lcid == 0x0c1a || lcid == 0x1c1a || lcid == 0x201a || lcid == 0x281a ||
              lcid == 0x301a)
                 ? "windows-1251"
                 : "windows-1250";
    default: return "windows-1252";
  }
}

// --- The layout check --------------------------------------------------
// chmlib follows the directory and the decompression tables of a file as
// they stand: a damaged file can send it round in circles, past its buffers
// or into a null decompressor. Everything it will rely on is checked here
// first, before chm_open sees the file.

constexpr std::uint64_t kMaxDirectorySize = 64u * 1024u * 1024u;
constexpr std::uint32_t kLzxFrame = 0x8000;  // the only block size chmlib decodes safely
constexpr std::uint32_t kLzxSlack = 6144;    // chmlib's room for one compressed block

const char kResetTable[] =
    "::dataspace/storage/mscompressed/transform/{7fc28940-9d31-11d0-9b27-00a0c91e9c7c}/"
    "instancedata/resettable";
const char kControlData[] = "::dataspace/storage/mscompressed/controldata";
const char kContent[] = "::dataspace/storage/mscompressed/content";

std::uint32_t Le32(const QByteArray& b, qsizetype at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
std::uint64_t Le64(const QByteArray& b, qsizetype at) {
  return Le32(b, at) | static_cast<std::uint64_t>(Le32(b, at + 4)) << 32;
}

// The directory's variable-length numbers: 7 bits a byte, high bit = more.
bool Cword(const QByteArray& b, qsizetype& at, qsizetype end, std::uint64_t& v) {
  v = 0;
  for (int n = 0; n < 9; ++n) {
    if (at >= end) return false;
    const unsigned char c = static_cast<unsigned char>(b[at++]);
    v = v << 7 | (c & 0x7f);
    if (c < 0x80) return true;
  }
  return false;
}

struct Entry {
  std::uint64_t space, start, length;
};

struct Layout {
  std::uint64_t fileSize = 0, dataOffset = 0, uncompressedSize = 0;
};

bool Within(std::uint64_t at, std::uint64_t len, std::uint64_t size) {
  return at <= size && len <= size - at;
}

std::optional<Layout> CheckLayout(const QString& fileName) {
  QFile f(fileName);
  if (!QFileInfo(fileName).isFile() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
  Layout l;
  l.fileSize = static_cast<std::uint64_t>(f.size());
  const auto readAt = [&](std::uint64_t at, std::uint64_t len) -> std::optional<QByteArray> {
    if (!Within(at, len, l.fileSize) || len > kMaxDirectorySize || !f.seek(static_cast<qint64>(at)))
      return std::nullopt;
    QByteArray b = f.read(static_cast<qint64>(len));
    if (static_cast<std::uint64_t>(b.size()) != len) return std::nullopt;
    return b;
  };

  // The file header (chmlib always reads the longer, version 3 form).
  const std::optional<QByteArray> head = readAt(0, 0x60);
  if (!head || !head->startsWith("ITSF")) return std::nullopt;
  const std::uint32_t version = Le32(*head, 4), headLen = Le32(*head, 8);
  if (!((version == 2 && headLen >= 0x58) || (version == 3 && headLen >= 0x60)))
    return std::nullopt;
  const std::uint64_t dirOffset = Le64(*head, 0x48), dirLen = Le64(*head, 0x50);
  if (!Within(dirOffset, dirLen, l.fileSize) || dirLen < 0x54) return std::nullopt;
  l.dataOffset = version == 3 ? Le64(*head, 0x58) : dirOffset + dirLen;
  if (l.dataOffset > l.fileSize) return std::nullopt;

  // The directory header and its chunks.
  const std::optional<QByteArray> dir = readAt(dirOffset, dirLen);
  if (!dir || !dir->startsWith("ITSP") || Le32(*dir, 4) != 1 || Le32(*dir, 8) != 0x54)
    return std::nullopt;
  const std::uint32_t blockLen = Le32(*dir, 0x10);
  if (blockLen < 512 || blockLen > 65536) return std::nullopt;
  const qsizetype chunks = static_cast<qsizetype>((dirLen - 0x54) / blockLen);
  const auto root = static_cast<std::int32_t>(Le32(*dir, 0x1c));
  const auto first = static_cast<std::int32_t>(Le32(*dir, 0x20));
  const std::int32_t start = root <= -1 ? first : root;  // as chmlib picks it
  if (start < 0 || start >= chunks) return std::nullopt;

  QHash<QString, Entry> names;
  std::vector<std::vector<qsizetype>> children(chunks);
  for (qsizetype c = 0; c < chunks; ++c) {
    const qsizetype base = 0x54 + c * blockLen;
    const QByteArray chunk = dir->mid(base, blockLen);
    const bool leaf = chunk.startsWith("PMGL"), index = chunk.startsWith("PMGI");
    if (!leaf && !index) continue;  // chmlib gives up on such a chunk by itself
    const std::uint32_t headSize = leaf ? 0x14 : 0x08, freeSpace = Le32(chunk, 4);
    if (freeSpace > blockLen - headSize) return std::nullopt;
    const qsizetype end = blockLen - freeSpace;
    for (qsizetype at = headSize; at < end;) {
      std::uint64_t nameLen = 0;
      if (!Cword(chunk, at, end, nameLen) || nameLen > CHM_MAX_PATHLEN ||
          nameLen > static_cast<std::uint64_t>(end - at))
        return std::nullopt;
      const QByteArray name = chunk.mid(at, static_cast<qsizetype>(nameLen));
      at += static_cast<qsizetype>(nameLen);
      if (leaf) {
        Entry e{};
        if (!Cword(chunk, at, end, e.space) || !Cword(chunk, at, end, e.start) ||
            !Cword(chunk, at, end, e.length))
          return std::nullopt;
        const QString key = QString::fromUtf8(name).toLower();
        if (names.contains(key)) return std::nullopt;
        names.insert(key, e);
      } else {
        std::uint64_t page = 0;
        if (!Cword(chunk, at, end, page) || page >= static_cast<std::uint64_t>(chunks))
          return std::nullopt;
        children[c].push_back(static_cast<qsizetype>(page));
      }
    }
  }
  // The index must lead down to leaves, never back up.
  std::vector<char> state(chunks, 0);  // 0 new, 1 on the path, 2 done
  std::vector<std::pair<qsizetype, std::size_t>> path{{start, 0}};
  state[start] = 1;
  while (!path.empty()) {
    auto& [c, next] = path.back();
    if (next == children[c].size()) {
      state[c] = 2;
      path.pop_back();
      continue;
    }
    const qsizetype k = children[c][next++];
    if (state[k] == 1) return std::nullopt;
    if (state[k] == 0) {
      state[k] = 1;
      path.push_back({k, 0});
    }
  }

  // The compressed section: all three parts or none.
  const bool hasReset = names.contains(kResetTable), hasControl = names.contains(kControlData),
             hasContent = names.contains(kContent);
  if (!hasReset && !hasControl && !hasContent) return l;
  if (!hasReset || !hasControl || !hasContent) return std::nullopt;
  const Entry rt = names.value(kResetTable), cd = names.value(kControlData),
              cn = names.value(kContent);
  for (const Entry& e : {rt, cd, cn})
    if (e.space != CHM_UNCOMPRESSED || !Within(l.dataOffset, e.start, l.fileSize) ||
        !Within(l.dataOffset + e.start, e.length, l.fileSize))
      return std::nullopt;

  if (cd.length < 0x18 || cd.length > 256) return std::nullopt;  // chmlib's stack buffer
  const std::optional<QByteArray> control = readAt(l.dataOffset + cd.start, cd.length);
  if (!control || control->mid(4, 4) != "LZXC") return std::nullopt;
  // chmlib's own 32-bit arithmetic, wrap-around included.
  std::uint32_t resetInterval = Le32(*control, 0x0c), window = Le32(*control, 0x10);
  if (Le32(*control, 8) == 2) {
    resetInterval *= 0x8000u;
    window *= 0x8000u;
  }
  if (window < (1u << 15) || window > (1u << 21) || (window & (window - 1)) != 0 ||
      resetInterval == 0 || resetInterval % (window / 2) != 0 ||
      resetInterval / (window / 2) * Le32(*control, 0x14) == 0)
    return std::nullopt;

  if (rt.length < 0x28) return std::nullopt;
  const std::optional<QByteArray> table = readAt(l.dataOffset + rt.start, rt.length);
  if (!table || Le32(*table, 0) != 2) return std::nullopt;
  const std::uint64_t blocks = Le32(*table, 4), tableOffset = Le32(*table, 0x0c);
  const std::uint64_t uncompressed = Le64(*table, 0x10), compressed = Le64(*table, 0x18);
  if (Le64(*table, 0x20) != kLzxFrame || !Within(tableOffset, blocks * 8, rt.length) ||
      uncompressed > 0x7fffffffu || compressed > cn.length ||
      (uncompressed + kLzxFrame - 1) / kLzxFrame > blocks)
    return std::nullopt;
  for (std::uint64_t b = 0; b < blocks; ++b) {
    const std::uint64_t at = tableOffset + b * 8;  // within the table: checked above
    const std::uint64_t from = Le64(*table, static_cast<qsizetype>(at));
    const std::uint64_t to =
        b + 1 < blocks ? Le64(*table, static_cast<qsizetype>(at) + 8) : compressed;
    if (from > to || to > compressed || to - from > kLzxFrame + kLzxSlack) return std::nullopt;
  }
  l.uncompressedSize = uncompressed;
  return l;
}

}  // namespace

QString NormalizeLocal(const QString& local) {
  QString s = local.trimmed();
  const qsizetype sep = s.lastIndexOf(u"::");
  if (sep >= 0) s = s.mid(sep + 2);
  s.replace(u'\\', u'/');
  while (s.startsWith(u'/')) s.remove(0, 1);
  return s;
}

void ChmArchive::Closer::operator()(chmFile* f) const { chm_close(f); }

ChmArchive::ChmArchive(const QString& fileName) : fileName_(fileName) {
  // chmlib opens whatever it is given and trusts its size: a FIFO would hang
  // the viewer before its window appears.
  try {
    const kv::InputFile check(QFile::encodeName(fileName).toStdString(), kv::kHelpFileLimit);
  } catch (const kv::FileError& e) {
    openError_ = QString::fromUtf8(e.what());
    return;
  }
  const std::optional<Layout> layout = CheckLayout(fileName);
  if (!layout) return;
  fileSize_ = layout->fileSize;
  dataOffset_ = layout->dataOffset;
  uncompressedSize_ = layout->uncompressedSize;
  file_.reset(chm_open(QFile::encodeName(fileName).constData()));
  if (file_) ReadSystem();
}

ChmArchive::~ChmArchive() = default;
ChmArchive::ChmArchive(ChmArchive&&) noexcept = default;
ChmArchive& ChmArchive::operator=(ChmArchive&&) noexcept = default;

namespace {
bool Resolve(chmFile* file, const QString& path, chmUnitInfo& ui) {
  if (!file || path.isEmpty() || path.endsWith(u'/')) return false;
  const QByteArray name = ArchivePath(path).toUtf8();
  return name.size() <= CHM_MAX_PATHLEN &&
         chm_resolve_object(file, name.constData(), &ui) == CHM_RESOLVE_SUCCESS;
}
}  // namespace

bool ChmArchive::Exists(const QString& path) const {
  chmUnitInfo ui{};
  return Resolve(file_.get(), path, ui);
}

std::optional<QByteArray> ChmArchive::Read(const QString& path) const {
  chmUnitInfo ui{};
  if (!Resolve(file_.get(), path, ui) || ui.length > kMaxObjectSize) return std::nullopt;
  // The object must lie inside the file, or inside what the compressed
  // section unpacks to.
  const bool inside =
      ui.space == CHM_UNCOMPRESSED
          ? Within(dataOffset_, ui.start, fileSize_) &&
                Within(dataOffset_ + ui.start, ui.length, fileSize_)
          : ui.space == CHM_COMPRESSED && Within(ui.start, ui.length, uncompressedSize_);
  if (!inside) return std::nullopt;
  QByteArray data(static_cast<qsizetype>(ui.length), Qt::Uninitialized);
  LONGUINT64 done = 0;
  while (done < ui.length) {
    const LONGINT64 got =
        chm_retrieve_object(file_.get(), &ui, reinterpret_cast<unsigned char*>(data.data()) + done,
                            done, static_cast<LONGINT64>(ui.length - done));
    if (got <= 0) return std::nullopt;
    done += static_cast<LONGUINT64>(got);
  }
  return data;
}

void ChmArchive::ReadSystem() {
  const std::optional<QByteArray> sys = Read("#SYSTEM");
  if (!sys) return;
  const QByteArray& s = *sys;
  const auto u16 = [](const QByteArray& b, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
  };
  // A version word, then records: code (16 bits), length (16 bits), data.
  QByteArray topic, title, contents, index;
  std::uint32_t lcid = 0x0419;
  for (qsizetype at = 4; at + 4 <= s.size();) {
    const std::uint32_t code = u16(s, at), len = u16(s, at + 2);
    const QByteArray data = s.mid(at + 4, len);
    at += 4 + len;
    const qsizetype nul = data.indexOf('\0');
    const QByteArray str = nul < 0 ? data : data.left(nul);
    if (code == 0) contents = str;
    if (code == 1) index = str;
    if (code == 2) topic = str;
    if (code == 3) title = str;
    if (code == 4 && data.size() >= 4) lcid = u16(data, 0) | u16(data, 2) << 16;
  }
  const char* cp = CodePageOf(lcid);
  defaultTopic_ = NormalizeLocal(Decode(topic, cp));
  title_ = Decode(title, cp).trimmed();
  contentsFile_ = NormalizeLocal(Decode(contents, cp));
  indexFile_ = NormalizeLocal(Decode(index, cp));
}

// --- What the viewer's panes read --------------------------------------

namespace {
// More than any help file holds: a damaged directory is not listed on.
constexpr qsizetype kMaxObjects = 100000;

int CollectObject(chmFile*, chmUnitInfo* ui, void* context) {
  auto* paths = static_cast<QStringList*>(context);
  const QString path = QString::fromUtf8(ui->path);
  if (path.startsWith(u'/') && !path.endsWith(u'/') && !path.startsWith(u"/#") &&
      !path.startsWith(u"/$"))
    paths->push_back(path.mid(1));
  return paths->size() < kMaxObjects ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_SUCCESS;
}

QString FirstOfKind(const ChmArchive& archive, const QString& named, const char* suffix) {
  if (!named.isEmpty() && archive.Exists(named)) return named;
  for (const QString& path : archive.Objects())
    if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) return path;
  return {};
}
}  // namespace

QStringList ChmArchive::Objects() const {
  QStringList paths;
  if (file_)
    chm_enumerate(file_.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectObject, &paths);
  return paths;
}

QString ChmArchive::ContentsFile() const { return FirstOfKind(*this, contentsFile_, ".hhc"); }
QString ChmArchive::IndexFile() const { return FirstOfKind(*this, indexFile_, ".hhk"); }

}  // namespace kv::help
