// The per-user folder the platform offers for application data.
#pragma once

#include <string>

namespace qv {

// The platform's per-user data folder for a maker and a product (created
// when missing), with a trailing "/". Empty when the platform gives none.
std::string PlatformUserDataFolder(const char* maker, const char* product);

}  // namespace qv
