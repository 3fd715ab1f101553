// Registers the data-creatable classes of the screens: "GameScreen".
#pragma once

namespace qv {

void RegisterScreensTypes();

}  // namespace qv
