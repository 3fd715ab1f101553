// The game's option values ("params" of the game description) and how they
// meet the engine and the options file:
//
// - the persisted options (kPersistedOptionNames: the display, the
//   volumes, ShowHints, the language) take their stored value at start, or
//   store the game's default when the file has none;
// - a push hands each option to the engine only when the engine has an
//   option of that name and its value differs, so game-only options
//   ("ShowHints") never reach it;
// - SetOption stores, persists a persisted option and pushes;
//   SetOptionNoSave only stores and pushes.
#pragma once

#include <string>

#include "app/GlobalOptions.h"
#include "services/IEngineOptions.h"
#include "storage/ParamCollection.h"

namespace qv {

class TGameOptions {
public:
  TGameOptions();

  // The game's values (loaded from its description).
  TParamCollection& Params() { return *params_; }
  // Either may be null: without an engine nothing is pushed, without a
  // file nothing persists.
  void Attach(IEngineOptions* engine, TGlobalOptions* file) {
    engine_ = engine;
    file_ = file;
  }

  // The option's name as the options file spells it (names ignore case);
  // empty when the option does not persist.
  static std::string PersistedName(const std::string& name);

  // At start: each persisted option, in collection order, takes its stored
  // value when the file has a non-empty one, else stores its own.
  void LoadPersisted();
  // Pushes every option; true when the engine changed.
  bool PushToEngine();
  // True when the engine's value changed (the caller then applies the
  // display settings).
  bool SetOption(const std::string& name, const std::string& value);
  bool SetOptionNoSave(const std::string& name, const std::string& value);
  // Empty when the game has no such option.
  TVariant GetOptionValue(const std::string& name) const;

private:
  bool Push(const std::string& name, const TVariant& value);

  Ref<TParamCollection> params_;
  IEngineOptions* engine_ = nullptr;
  TGlobalOptions* file_ = nullptr;
};

}  // namespace qv
