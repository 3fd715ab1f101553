// Byte streams handed out by the data path resolver. The caller owns them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace qv {

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to `count` bytes; returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes `count` bytes; returns how many were written.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual bool Seek(int64_t position) = 0;
  virtual int64_t Position() const = 0;
  virtual int64_t Size() const = 0;
  // True after a read failed (not at the end: an error of the medium).
  virtual bool Failed() const { return false; }
  // The rest of the stream from the current position; empty when a read
  // failed on the way (never a partial text).
  std::string ReadAll();
};

class TMemoryStream final : public TStream {
public:
  explicit TMemoryStream(std::string data = {}) : data_(std::move(data)) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return pos_; }
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  const std::string& Data() const { return data_; }

private:
  std::string data_;
  int64_t pos_ = 0;
};

// A file stream over stdio (which buffers reads). Read streams never write.
class TFileStream final : public TStream {
public:
  enum class Mode { Read, Write };
  // Empty when the file cannot be opened.
  static std::unique_ptr<TFileStream> Open(const std::string& nativePath, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return pos_; }
  int64_t Size() const override { return size_; }
  bool Failed() const override { return failed_; }

private:
  TFileStream(std::FILE* f, Mode mode, int64_t size) : file_(f), mode_(mode), size_(size) {}
  bool failed_ = false;
  std::FILE* file_;
  Mode mode_;
  int64_t size_;
  int64_t pos_ = 0;
};

}  // namespace qv
