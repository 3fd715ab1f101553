// Registration of the audio subsystem's data-creatable classes.
#pragma once

namespace qv {

// "Sound" and "Music".
void RegisterAudioTypes();

}  // namespace qv
