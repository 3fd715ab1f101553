// The event stream of a run: what the game did, frame by frame, for tests,
// bug reports and automated checks ("quorvanel --trace FILE" writes it as
// JSON lines; an input script's "when shown NAME" waits on it). Emitters
// ask On() first, so a run that nobody traces pays one test per event.
//
// One line per event: {"frame":K,"event":NAME, then the fields in order}.
// Field values are already JSON (TTrace::Text quotes a string).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

struct TTraceEvent {
  int64_t frame = 0;
  std::string event;
  // Name and JSON value, in order.
  std::vector<std::pair<std::string, std::string>> fields;

  // The value of a field, JSON as written; empty when absent.
  const std::string* Field(std::string_view name) const;
  // The event as its JSON line (no newline).
  std::string Line() const;
};

class TTrace {
public:
  using TListener = std::function<void(const TTraceEvent& event)>;

  // Registers a listener for as long as the handle lives.
  class THandle {
  public:
    THandle() = default;
    explicit THandle(int id) : id_(id) {}
    THandle(THandle&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    THandle& operator=(THandle&& other) noexcept;
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle();

  private:
    int id_ = 0;
  };

  static THandle Listen(TListener listener);
  static bool On() { return listening_ > 0; }
  // The engine counts frames from 1; events between frames carry the frame
  // that ran last.
  static void SetFrame(int64_t frame) { frame_ = frame; }
  static int64_t Frame() { return frame_; }
  static void Emit(std::string_view event, std::initializer_list<std::pair<const char*, std::string>> fields);
  static void Emit(std::string_view event, std::vector<std::pair<std::string, std::string>> fields);

  // Helpers for field values.
  static std::string Text(std::string_view text);
  static std::string Number(long long value) { return std::to_string(value); }

private:
  static void Remove(int id);
  static inline int listening_ = 0;
  static inline int64_t frame_ = 0;
};

}  // namespace qv
