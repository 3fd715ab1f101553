#include "storage/DataPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <map>
#include <minizip/unzip.h>

#include "core/Folders.h"
#include "core/StringUtils.h"

namespace qv {

namespace {

std::string g_packageExtension = ".zip";
std::unique_ptr<TResourceReader> g_cachedReader;  // the last reader that served a file

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

// --- ZIP reading over a memory block (for "res:" blocks) ---

struct MemoryFile {
  std::string_view data;
  uint64_t pos = 0;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size) {
  auto* f = static_cast<MemoryFile*>(stream);
  if (f->pos >= f->data.size()) return 0;
  const uint64_t n = std::min<uint64_t>(size, f->data.size() - f->pos);
  std::memcpy(buf, f->data.data() + f->pos, n);
  f->pos += n;
  return static_cast<uLong>(n);
}
uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<MemoryFile*>(stream)->pos; }
long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* f = static_cast<MemoryFile*>(stream);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = f->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = f->data.size(); break;
    default: return -1;
  }
  if (base > f->data.size() || offset > f->data.size() - base) return -1;
  f->pos = base + offset;
  return 0;
}
int ZCALLBACK MemClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

}  // namespace

struct TResourceReader::Archive {
  unzFile zip = nullptr;
  MemoryFile memory;  // the block of a "res:" archive
  ~Archive() {
    if (zip) unzClose(zip);
  }
};

TResourceReader::TResourceReader(std::string base) : base_(std::move(base)) {
  const std::string native = ToNativePath(base_);
  if (IsDirectory(native)) {
    kind_ = kFolder;
    return;
  }
  auto archive = std::make_unique<Archive>();
  if (StartsWithText(base_, "res:")) {
    const std::string_view block = FindResourceBlock(base_.substr(4));
    if (block.empty()) return;
    archive->memory.data = block;
    zlib_filefunc64_def io{};
    io.zopen64_file = MemOpen;
    io.zread_file = MemRead;
    io.zwrite_file = MemWrite;
    io.ztell64_file = MemTell;
    io.zseek64_file = MemSeek;
    io.zclose_file = MemClose;
    io.zerror_file = MemError;
    io.opaque = &archive->memory;
    archive->zip = unzOpen2_64("res", &io);
  } else if (IsFile(native)) {
    archive->zip = unzOpen64(native.c_str());
  } else {
    const std::string package = ToNativePath(base_ + g_packageExtension);
    if (IsFile(package)) archive->zip = unzOpen64(package.c_str());
  }
  if (archive->zip) {
    archive_ = std::move(archive);
    kind_ = kArchive;
  }
}

TResourceReader::~TResourceReader() = default;

std::unique_ptr<TStream> TResourceReader::OpenEntry(const std::string& relative) {
  if (kind_ == kFolder) {
    const std::string native = ToNativePath(base_ + "\\" + relative);
    if (!IsFile(native)) return nullptr;
    return TFileStream::Open(native, TFileStream::Mode::Read);
  }
  if (kind_ != kArchive) return nullptr;
  unzFile zip = archive_->zip;
  const std::string name = ReplaceAll(relative, "\\", "/");
  // 2: compare names case-insensitively.
  if (unzLocateFile(zip, name.c_str(), 2) != UNZ_OK) return nullptr;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return nullptr;
  if (info.uncompressed_size > kMaxEntrySize) return nullptr;
  if (unzOpenCurrentFile(zip) != UNZ_OK) return nullptr;
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
  if (!ok || got != data.size()) return nullptr;
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
      if (match.empty()) missing = true;
      else next = out.empty() || out.back() == '/' ? out + match : out + "/" + match;
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
    return TFileStream::Open(ToNativePath(path), TFileStream::Mode::Write);
  }
  if (path.find('\\') == std::string::npos) path = ".\\" + path;

  if (g_cachedReader) {
    const std::string prefix = UpperCase(g_cachedReader->GetBase()) + "\\";
    if (UpperCase(path).rfind(prefix, 0) == 0) return g_cachedReader->OpenEntry(path.substr(prefix.size()));
  }

  std::string base = path;
  std::string relative;
  for (;;) {
    const size_t cut = base.rfind('\\');
    if (cut == std::string::npos) return nullptr;
    const std::string right = base.substr(cut + 1);
    relative = relative.empty() ? right : right + "\\" + relative;
    base.erase(cut);
    auto reader = std::make_unique<TResourceReader>(base);
    if (reader->GetKind() == TResourceReader::kNothing) continue;
    if (auto stream = reader->OpenEntry(relative)) {
      g_cachedReader = std::move(reader);
      return stream;
    }
  }
}

std::string ReadDataFile(const std::string& path) {
  auto stream = OpenDataStream(path, true);
  return stream ? stream->ReadAll() : std::string();
}

bool WriteDataFile(const std::string& rawPath, const std::string& bytes) {
  std::string path = ReplaceAll(rawPath, "/", "\\");
  path = ReplaceAllText(path, "%apppath%", ApplicationPath());
  if (StartsWithText(path, "res:")) return false;
  ResetDataPathCache();
  return WriteFileAtomic(ToNativePath(path), bytes);
}

void ResetDataPathCache() { g_cachedReader.reset(); }

void SetPackageExtension(const std::string& extension) { g_packageExtension = extension; }
const std::string& GetPackageExtension() { return g_packageExtension; }

void RegisterResourceBlock(const std::string& name, std::string_view data) { Blocks()[name] = data; }

std::string_view FindResourceBlock(const std::string& name) {
  const auto it = Blocks().find(name);
  return it == Blocks().end() ? std::string_view() : it->second;
}

}  // namespace qv
