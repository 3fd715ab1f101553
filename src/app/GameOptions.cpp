#include "app/GameOptions.h"

#include "core/Constants.h"
#include "core/StringUtils.h"

namespace qv {

TGameOptions::TGameOptions() : params_(MakeRef<TParamCollection>()) {
  params_->Initialize();
}

std::string TGameOptions::PersistedName(const std::string& name) {
  if (name.empty() || name.find(';') != std::string::npos) return {};
  const std::string list = kPersistedOptionNames;
  const size_t at = LowerCase(list).find(";" + LowerCase(name) + ";");
  return at == std::string::npos ? std::string() : list.substr(at + 1, name.size());
}

void TGameOptions::LoadPersisted() {
  if (!file_) return;
  for (int i = 0; i < params_->GetParamCount(); ++i) {
    const Ref<IParam> param = params_->GetParamAt(i);
    const std::string persisted = param ? PersistedName(param->GetName()) : std::string();
    if (persisted.empty()) continue;
    std::string stored;
    if (file_->Read(persisted, stored))
      param->SetValue(stored);
    else
      file_->Write(persisted, VarToString(param->GetValue()));
  }
}

bool TGameOptions::Push(const std::string& name, const TVariant& value) {
  if (!engine_) return false;
  const TVariant current = engine_->GetOption(name);
  if (VarIsEmpty(current)) return false;  // not an engine option
  const std::string text = VarToString(value);
  if (VarToString(current) == text) return false;
  engine_->SetOption(name, text);
  return true;
}

bool TGameOptions::PushToEngine() {
  bool changed = false;
  for (int i = 0; i < params_->GetParamCount(); ++i)
    if (const Ref<IParam> param = params_->GetParamAt(i))
      changed |= Push(param->GetName(), param->GetValue());
  return changed;
}

bool TGameOptions::SetOption(const std::string& name, const std::string& value) {
  params_->SetParamValue(name, value);
  const std::string persisted = PersistedName(name);
  if (file_ && !persisted.empty()) file_->Write(persisted, value);
  return Push(name, value);
}

bool TGameOptions::SetOptionNoSave(const std::string& name, const std::string& value) {
  params_->SetParamValue(name, value);
  return Push(name, value);
}

TVariant TGameOptions::GetOptionValue(const std::string& name) const {
  const Ref<IParam> param = params_->GetParam(name);
  return param ? param->GetValue() : TVariant{};
}

}  // namespace qv
