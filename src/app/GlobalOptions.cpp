#include "app/GlobalOptions.h"

#include "core/Constants.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {
constexpr char kRoot[] = "options";
}

TGlobalOptions::TGlobalOptions(const std::string& dataFolder)
    : file_(dataFolder, kOptionsFileName, kOptionsKey) {}

void TGlobalOptions::Open() {
  if (root_) return;
  root_ = file_.Load(kRoot);
  if (!root_) root_ = NewStorage(kRoot);
}

bool TGlobalOptions::Read(const std::string& name, std::string& value) {
  Open();
  const auto text = root_ ? root_->ReadChildText(name) : std::nullopt;
  value = text.value_or(std::string());
  return !value.empty();
}

bool TGlobalOptions::Write(const std::string& name, const std::string& value) {
  Open();
  if (!root_) return false;
  root_->WriteChildText(name, value);
  return file_.Save(root_);
}

}  // namespace qv
