#include "core/Trace.h"

#include <map>

#include "core/Json.h"

namespace qv {

namespace {

std::map<int, TTrace::TListener>& Listeners() {
  static std::map<int, TTrace::TListener> listeners;
  return listeners;
}

int nextId = 0;

}  // namespace

const std::string* TTraceEvent::Field(std::string_view name) const {
  for (const auto& [key, value] : fields)
    if (key == name) return &value;
  return nullptr;
}

std::string TTraceEvent::Line() const {
  std::string line = "{\"frame\":" + std::to_string(frame) + ",\"event\":" + JsonString(event);
  for (const auto& [key, value] : fields) line += "," + JsonString(key) + ":" + value;
  return line + "}";
}

TTrace::THandle& TTrace::THandle::operator=(THandle&& other) noexcept {
  if (this != &other) {
    if (id_) Remove(id_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

TTrace::THandle::~THandle() {
  if (id_) Remove(id_);
}

TTrace::THandle TTrace::Listen(TListener listener) {
  const int id = ++nextId;
  Listeners().emplace(id, std::move(listener));
  listening_ = static_cast<int>(Listeners().size());
  return THandle(id);
}

void TTrace::Remove(int id) {
  Listeners().erase(id);
  listening_ = static_cast<int>(Listeners().size());
}

void TTrace::Emit(std::string_view event, std::initializer_list<std::pair<const char*, std::string>> fields) {
  if (!On()) return;
  std::vector<std::pair<std::string, std::string>> list;
  for (const auto& [key, value] : fields) list.emplace_back(key, value);
  Emit(event, std::move(list));
}

void TTrace::Emit(std::string_view event, std::vector<std::pair<std::string, std::string>> fields) {
  if (!On()) return;
  TTraceEvent e;
  e.frame = frame_;
  e.event = std::string(event);
  e.fields = std::move(fields);
  // A listener may register or drop listeners: walk a copy.
  const auto listeners = Listeners();
  for (const auto& [id, listener] : listeners) listener(e);
}

std::string TTrace::Text(std::string_view text) {
  return JsonString(text);
}

}  // namespace qv
