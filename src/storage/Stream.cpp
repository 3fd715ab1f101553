#include "storage/Stream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace qv {

std::string TStream::ReadAll() {
  std::string out;
  const int64_t left = Size() - Position();
  if (left > 0) out.reserve(static_cast<size_t>(left));
  char buf[16384];
  for (;;) {
    const size_t n = Read(buf, sizeof buf);
    if (n == 0) break;
    out.append(buf, n);
  }
  if (Failed()) out.clear();
  return out;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (pos_ >= Size()) return 0;
  const size_t n = std::min(count, static_cast<size_t>(Size() - pos_));
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += static_cast<int64_t>(n);
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  const auto end = static_cast<size_t>(pos_) + count;
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ = static_cast<int64_t>(end);
  return count;
}

bool TMemoryStream::Seek(int64_t position) {
  if (position < 0) return false;
  pos_ = position;
  return true;
}

std::unique_ptr<TFileStream> TFileStream::Open(const std::string& nativePath, Mode mode) {
  std::FILE* f = std::fopen(nativePath.c_str(), mode == Mode::Read ? "rb" : "wb");
  if (!f) return nullptr;
  // Only regular files (a folder opens, but reads nothing but errors).
  struct stat st;
  if (::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  int64_t size = 0;
  if (mode == Mode::Read) {
    if (std::fseek(f, 0, SEEK_END) != 0 || (size = std::ftell(f)) < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
      std::fclose(f);
      return nullptr;
    }
  }
  return std::unique_ptr<TFileStream>(new TFileStream(f, mode, size));
}

TFileStream::~TFileStream() {
  std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count) {
  if (mode_ != Mode::Read) return 0;
  const size_t n = std::fread(buffer, 1, count, file_);
  if (n < count && std::ferror(file_)) failed_ = true;
  pos_ += static_cast<int64_t>(n);
  return n;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
  if (mode_ != Mode::Write) return 0;
  const size_t n = std::fwrite(buffer, 1, count, file_);
  if (n < count) failed_ = true;
  pos_ += static_cast<int64_t>(n);
  size_ = std::max(size_, pos_);
  return n;
}

bool TFileStream::Seek(int64_t position) {
  if (position < 0 || std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
  pos_ = position;
  return true;
}

}  // namespace qv
