// Where the game keeps the option values that outlive a run (the
// persisted option names). The game reads and writes through this seam; the
// process's options file is one store, tests use one in memory.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IOptionStore : public virtual IInterface {
protected:
  ~IOptionStore() override = default;

public:
  // False when the store cannot be read; an empty value counts as absent.
  virtual bool ReadOption(const std::string& name, std::string& value) = 0;
  // The whole store saved at once; false when the save failed.
  virtual bool WriteOption(const std::string& name, const std::string& value) = 0;
};

}  // namespace qv
