// The process-wide settings that no object owns: the folder overrides, the
// package extension, the out-storage nesting depth, the text hook of
// ReadText, and a few counters that tests and measurements read. One struct,
// so a test can put all of it back with one call.
#pragma once

#include <functional>
#include <string>

namespace qv {

struct TProcessContext {
  // Application folder (program form, trailing "\"); empty: the folder of
  // the executable, found on first use.
  std::string appPath;
  // Data folder chosen by SetDataPathBase (program form, trailing "\");
  // empty: the platform's per-user folder.
  std::string dataPathOverride;
  // Reaches the platform's per-user product folder; nullptr: none.
  std::string (*platformDataFolder)() = nullptr;
  // Extension of resource packages (".tgd" once start-up ran).
  std::string packageExtension = ".zip";
  // How many out-storage files are being loaded inside each other now.
  int outStorageDepth = 0;
  // Expands the texts ReadText returns; empty passes text through.
  std::function<std::string(const std::string&)> textHook;

  // Counters (only ever increased; tests compare before and after).
  long long packageDiskReads = 0;  // reads of package files from the disk
  long long packageZipCalls = 0;   // read and seek calls of the ZIP reader
  long long outStorageParses = 0;  // out-storage files read and parsed
  long long storageWrites = 0;     // files written by the storage layer
};

TProcessContext& ProcessContext();
// Back to the state of a fresh process (counters included).
void ResetProcessContext();

}  // namespace qv
