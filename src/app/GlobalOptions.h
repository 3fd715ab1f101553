// The options that survive between runs: the enciphered file "options" of
// the data folder (options key), a document whose root "options" holds one
// child per option, named like it, with the value as its text:
//
//   <options><FullScreenMode>no</FullScreenMode><MusicVolume>80</MusicVolume></options>
//
// The file is read on the first use and stays open; every write saves the
// whole file at once (atomically). A file that does not decipher or parse
// is set aside as "options.damaged-N" and an empty document is used
// (playerdata/PlayerFile.h). The game owns the one instance.
#pragma once

#include <string>

#include "playerdata/PlayerFile.h"
#include "storage/HierStorage.h"

namespace qv {

class TGlobalOptions {
public:
  explicit TGlobalOptions(const std::string& dataFolder);

  // The text of the root's first child of that name; false when the
  // option was never stored or its text is empty.
  bool Read(const std::string& name, std::string& value);
  // Sets the text (creating the child) and saves the file; the result is
  // the save's.
  bool Write(const std::string& name, const std::string& value);

  const TPlayerFile& GetFile() const { return file_; }

private:
  void Open();

  TPlayerFile file_;
  StorageRef root_;
};

}  // namespace qv
