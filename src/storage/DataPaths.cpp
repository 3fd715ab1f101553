#include "storage/DataPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <minizip/unzip.h>
#include <algorithm>
#include <cstring>
#include <list>
#include <map>

#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"

namespace qv {

namespace {

std::map<std::string, std::string_view, TextLess>& Blocks() {
  static std::map<std::string, std::string_view, TextLess> blocks;
  return blocks;
}

bool IsDirectory(const std::string& native) {
  struct stat st;
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& native) {
  struct stat st;
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const std::string& native) {
  struct stat st;
  return ::stat(native.c_str(), &st) == 0;
}

// The entry of `folder` whose name matches `name` case-insensitively.
std::string FindEntryNoCase(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string found;
  while (const dirent* e = ::readdir(dir)) {
    if (SameText(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

// --- The bytes a ZIP directory is read from ---
//
// One source for both kinds of archive, so the same bytes give the same
// entries whether they are a package file or a "res:" block: positions
// behave as a file's do (a seek past the end succeeds, a read there gives
// nothing). Package files are read through a window of kWindow bytes, so
// the many small reads of the ZIP reader cost a handful of disk reads.

constexpr size_t kWindow = 64 * 1024;

struct TZipSource {
  std::string_view memory;  // a "res:" block
  int fd = -1;              // a package file
  uint64_t size = 0;
  uint64_t pos = 0;
  bool failed = false;
  std::string window;
  uint64_t windowStart = 0;

  TZipSource() = default;
  TZipSource(const TZipSource&) = delete;
  TZipSource& operator=(const TZipSource&) = delete;
  ~TZipSource() {
    if (fd >= 0) ::close(fd);
  }

  size_t DiskRead(uint64_t at, char* out, size_t count) {
    ++ProcessContext().packageDiskReads;
    for (;;) {
      const ssize_t n = ::pread(fd, out, count, static_cast<off_t>(at));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) failed = true;
      return n > 0 ? static_cast<size_t>(n) : 0;
    }
  }

  size_t Read(char* out, size_t count) {
    if (pos >= size) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, size - pos));
    size_t done = 0;
    if (fd < 0) {
      std::memcpy(out, memory.data() + pos, count);
      done = count;
    } else if (count >= kWindow) {
      done = DiskRead(pos, out, count);
    } else {
      while (done < count) {
        const uint64_t at = pos + done;
        if (at < windowStart || at >= windowStart + window.size()) {
          // Windows start at multiples of their size: a package smaller
          // than one window is read from the disk once.
          windowStart = at - at % kWindow;
          window.resize(kWindow);
          window.resize(DiskRead(windowStart, window.data(), kWindow));
          if (at >= windowStart + window.size()) break;
        }
        const size_t n =
            static_cast<size_t>(std::min<uint64_t>(count - done, windowStart + window.size() - at));
        std::memcpy(out + done, window.data() + (at - windowStart), n);
        done += n;
      }
    }
    pos += done;
    return done;
  }

  bool Seek(uint64_t base, uint64_t offset) {
    if (offset > UINT64_MAX - base) return false;
    pos = base + offset;
    return true;
  }
};

voidpf ZCALLBACK ZipOpen(voidpf opaque, const void*, int) {
  return opaque;
}
uLong ZCALLBACK ZipRead(voidpf, voidpf stream, void* buf, uLong size) {
  ++ProcessContext().packageZipCalls;
  return static_cast<uLong>(static_cast<TZipSource*>(stream)->Read(static_cast<char*>(buf), size));
}
uLong ZCALLBACK ZipWrite(voidpf, voidpf, const void*, uLong) {
  return 0;
}
ZPOS64_T ZCALLBACK ZipTell(voidpf, voidpf stream) {
  return static_cast<TZipSource*>(stream)->pos;
}
long ZCALLBACK ZipSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  ++ProcessContext().packageZipCalls;
  auto* f = static_cast<TZipSource*>(stream);
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      return f->Seek(0, offset) ? 0 : -1;
    case ZLIB_FILEFUNC_SEEK_CUR:
      return f->Seek(f->pos, offset) ? 0 : -1;
    case ZLIB_FILEFUNC_SEEK_END:
      return f->Seek(f->size, offset) ? 0 : -1;
    default:
      return -1;
  }
}
int ZCALLBACK ZipClose(voidpf, voidpf) {
  return 0;
}
int ZCALLBACK ZipError(voidpf, voidpf stream) {
  return static_cast<TZipSource*>(stream)->failed ? 1 : 0;
}

// What a package file was when it was opened; a change means a new file.
struct TFileStamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  struct timespec mtime {};
  bool operator==(const TFileStamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

bool StampOf(const std::string& native, TFileStamp& stamp) {
  struct stat st;
  if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp.dev = st.st_dev;
  stamp.ino = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtime = st.st_mtim;
  return true;
}

}  // namespace

// An open ZIP directory; `zip` is null for a source that is no archive.
struct TResourceReader::Archive {
  unzFile zip = nullptr;
  // Entry names (upper case) to their place in the directory, the first of
  // equal names winning: the directory is walked once, not per lookup.
  std::map<std::string, unz64_file_pos> index;
  TZipSource source;
  std::string where;  // the package file or "res:" block, for reports
  TFileStamp stamp;
  ~Archive() {
    if (zip) unzClose(zip);
  }
};

namespace {

using ArchivePtr = std::shared_ptr<TResourceReader::Archive>;

// Opens the ZIP directory over a prepared source. A source that holds no
// readable directory is reported once (the archive is remembered as such).
void OpenZip(TResourceReader::Archive& archive) {
  zlib_filefunc64_def io{};
  io.zopen64_file = ZipOpen;
  io.zread_file = ZipRead;
  io.zwrite_file = ZipWrite;
  io.ztell64_file = ZipTell;
  io.zseek64_file = ZipSeek;
  io.zclose_file = ZipClose;
  io.zerror_file = ZipError;
  io.opaque = &archive.source;
  archive.zip = unzOpen2_64(archive.where.c_str(), &io);
  if (!archive.zip) {
    ReportDataError(archive.where,
                    "is not a readable package (damaged ZIP directory); its entries are absent");
    return;
  }
  char name[1024];
  int err = unzGoToFirstFile(archive.zip);
  for (; err == UNZ_OK; err = unzGoToNextFile(archive.zip)) {
    unz_file_info64 info{};
    unz64_file_pos pos{};
    if (unzGetCurrentFileInfo64(archive.zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzGetFilePos64(archive.zip, &pos) != UNZ_OK) {
      err = UNZ_BADZIPFILE;
      break;
    }
    if (info.size_filename < sizeof name) archive.index.emplace(UpperCase(name), pos);
  }
  // The entries before a damaged directory record stay readable.
  if (err != UNZ_END_OF_LIST_OF_FILE)
    ReportDataError(archive.where, "has a damaged ZIP directory; the entries after the damage are absent");
}

// The open package files, newest first. An entry is used only while the
// file on disk is still the one it was made from, so the cache saves the
// directory reads and never changes an answer.
constexpr size_t kCachedArchives = 4;
std::list<ArchivePtr>& ArchiveCache() {
  static std::list<ArchivePtr> cache;
  return cache;
}

ArchivePtr PackageArchive(const std::string& native) {
  TFileStamp stamp;
  if (!StampOf(native, stamp)) return nullptr;
  auto& cache = ArchiveCache();
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if ((*it)->where == native && (*it)->stamp == stamp) {
      ArchivePtr hit = *it;
      cache.splice(cache.begin(), cache, it);
      return hit;
    }
  }
  auto archive = std::make_shared<TResourceReader::Archive>();
  archive->where = native;
  archive->stamp = stamp;
  archive->source.fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (archive->source.fd < 0) {
    ReportDataError(native, "package cannot be opened; its entries are absent");
    return nullptr;
  }
  archive->source.size = static_cast<uint64_t>(stamp.size);
  OpenZip(*archive);
  cache.remove_if([&](const ArchivePtr& a) { return a->where == native; });
  cache.push_front(archive);
  if (cache.size() > kCachedArchives) cache.pop_back();
  return archive;
}

std::map<std::string, ArchivePtr, TextLess>& BlockArchives() {
  static std::map<std::string, ArchivePtr, TextLess> open;
  return open;
}

// "res:" blocks never change while registered; an archive is kept per block
// for as long as the block under that name is the same memory.
ArchivePtr BlockArchive(const std::string& name) {
  const std::string_view block = FindResourceBlock(name);
  if (block.empty()) return nullptr;
  ArchivePtr& cached = BlockArchives()[name];
  if (cached && cached->source.memory.data() == block.data() && cached->source.memory.size() == block.size())
    return cached;
  auto archive = std::make_shared<TResourceReader::Archive>();
  cached = archive;
  archive->where = "res:" + name;
  archive->source.memory = block;
  archive->source.size = block.size();
  OpenZip(*archive);
  return archive;
}

}  // namespace

TResourceReader::TResourceReader(std::string base) : base_(std::move(base)) {
  // "res:" blocks never touch the file system.
  if (StartsWithText(base_, "res:")) {
    archive_ = BlockArchive(base_.substr(4));
  } else {
    // An empty base is the root of an absolute path: a folder, never a
    // package named ".tgd" in the current folder.
    const std::string native = base_.empty() ? std::string("/") : ToNativePath(base_);
    if (IsDirectory(native)) {
      kind_ = kFolder;
      return;
    }
    if (base_.empty()) return;
    if (IsFile(native)) {
      archive_ = PackageArchive(native);
    } else {
      const std::string package = ToNativePath(base_ + GetPackageExtension());
      if (IsFile(package)) archive_ = PackageArchive(package);
    }
  }
  if (archive_ && archive_->zip)
    kind_ = kArchive;
  else
    archive_.reset();
}

TResourceReader::~TResourceReader() = default;

std::unique_ptr<TStream> TResourceReader::OpenEntry(const std::string& relative) {
  if (kind_ == kFolder) {
    const std::string native = ToNativePath((base_.empty() ? std::string() : base_) + "\\" + relative);
    if (!IsFile(native)) return nullptr;
    auto stream = TFileStream::Open(native, TFileStream::Mode::Read);
    if (!stream) ReportDataError(native, "exists but cannot be opened");
    return stream;
  }
  if (kind_ != kArchive) return nullptr;
  unzFile zip = archive_->zip;
  const std::string name = ReplaceAll(relative, "\\", "/");
  // Names compare case-insensitively.
  const auto found = archive_->index.find(UpperCase(name));
  if (found == archive_->index.end()) return nullptr;
  unz64_file_pos pos = found->second;
  if (unzGoToFilePos64(zip, &pos) != UNZ_OK) return nullptr;
  const std::string where = archive_->where + ": " + name;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    ReportDataError(where, "package entry has a damaged header; it is absent");
    return nullptr;
  }
  if (info.uncompressed_size > kMaxEntrySize) {
    ReportDataError(where, "package entry is larger than the limit of 256 MiB; it is absent");
    return nullptr;
  }
  if (unzOpenCurrentFile(zip) != UNZ_OK) {
    ReportDataError(where, "package entry cannot be opened (damaged or an unknown method); it is absent");
    return nullptr;
  }
  std::string data(static_cast<size_t>(info.uncompressed_size), '\0');
  size_t got = 0;
  bool ok = true;
  while (got < data.size()) {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(data.size() - got, 1u << 20));
    const int n = unzReadCurrentFile(zip, data.data() + got, chunk);
    if (n <= 0) {
      ok = false;
      break;
    }
    got += static_cast<size_t>(n);
  }
  // The CRC is checked when the entry is closed after a complete read.
  if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
  if (!ok || got != data.size()) {
    ReportDataError(where, "package entry cannot be read (damaged data or checksum); it is absent");
    return nullptr;
  }
  return std::make_unique<TMemoryStream>(std::move(data));
}

std::string ToNativePath(const std::string& path) {
  std::string p = ReplaceAll(path, "\\", "/");
  if (p.empty()) return p;
  // Walk the components; keep the exact case where it exists, else look for
  // an entry that matches without regard to case.
  std::string out;
  size_t i = 0;
  if (p[0] == '/') {
    out = "/";
    i = 1;
  }
  bool missing = false;
  while (i <= p.size()) {
    size_t slash = p.find('/', i);
    if (slash == std::string::npos) slash = p.size();
    const std::string comp = p.substr(i, slash - i);
    i = slash + 1;
    if (comp.empty()) continue;
    std::string next = out.empty() || out.back() == '/' ? out + comp : out + "/" + comp;
    if (!missing && comp != "." && comp != ".." && !Exists(next)) {
      const std::string match = FindEntryNoCase(out.empty() ? "." : out, comp);
      if (match.empty())
        missing = true;
      else
        next = out.empty() || out.back() == '/' ? out + match : out + "/" + match;
    }
    out = std::move(next);
  }
  if (!p.empty() && p.back() == '/' && (out.empty() || out.back() != '/')) out += '/';
  return out;
}

std::unique_ptr<TStream> OpenDataStream(const std::string& rawPath, bool forReading) {
  std::string path = ReplaceAll(rawPath, "/", "\\");
  path = ReplaceAllText(path, "%apppath%", ApplicationPath());
  if (!forReading) {
    if (StartsWithText(path, "res:")) return nullptr;
    ++ProcessContext().storageWrites;
    return TFileStream::Open(ToNativePath(path), TFileStream::Mode::Write);
  }
  if (path.find('\\') == std::string::npos) path = ".\\" + path;

  // Walk up from the deepest folder; the first reader that has the entry
  // serves it. Open packages come from the archive cache.
  std::string base = path;
  std::string relative;
  for (;;) {
    const size_t cut = base.rfind('\\');
    if (cut == std::string::npos) return nullptr;
    const std::string right = base.substr(cut + 1);
    relative = relative.empty() ? right : right + "\\" + relative;
    base.erase(cut);
    TResourceReader reader(base);
    if (reader.GetKind() == TResourceReader::kNothing) continue;
    if (auto stream = reader.OpenEntry(relative)) return stream;
  }
}

std::string ReadDataFile(const std::string& path) {
  auto stream = OpenDataStream(path, true);
  if (!stream) return {};
  std::string bytes = stream->ReadAll();
  if (stream->Failed()) ReportDataError(path, "cannot be read to its end; read as empty");
  return bytes;
}

bool WriteDataFile(const std::string& rawPath, const std::string& bytes) {
  std::string path = ReplaceAll(rawPath, "/", "\\");
  path = ReplaceAllText(path, "%apppath%", ApplicationPath());
  if (StartsWithText(path, "res:")) return false;
  ++ProcessContext().storageWrites;
  return WriteFileAtomic(ToNativePath(path), bytes);
}

void ResetDataPathCache() {
  ArchiveCache().clear();
  BlockArchives().clear();
}

void SetPackageExtension(const std::string& extension) {
  ProcessContext().packageExtension = extension;
}
const std::string& GetPackageExtension() {
  return ProcessContext().packageExtension;
}

void RegisterResourceBlock(const std::string& name, std::string_view data) {
  Blocks()[name] = data;
}

std::string_view FindResourceBlock(const std::string& name) {
  const auto it = Blocks().find(name);
  return it == Blocks().end() ? std::string_view() : it->second;
}

}  // namespace qv
