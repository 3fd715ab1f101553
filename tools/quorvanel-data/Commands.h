// The data tool's command table and the small argument reader its commands
// share. A command reports a user error by throwing EToolError; main prints
// it as one line on standard error and exits 1.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Json.h"  // JsonString, JsonNumber for the commands' outputs

namespace qv::tool {

class EToolError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The arguments after the command name, consumed by the command.
class TArgs {
public:
  explicit TArgs(std::vector<std::string> args) : args_(std::move(args)) {}
  // Removes "--name VALUE" and returns VALUE (the last one when repeated).
  std::optional<std::string> Option(const std::string& name);
  // Removes every "--name VALUE" and returns the values in order.
  std::vector<std::string> Options(const std::string& name);
  // Removes "--name" and tells whether it was there.
  bool Flag(const std::string& name);
  // Whatever is left; an unknown "--option" left over is an error.
  std::vector<std::string> Positional() const;
  // Whatever is left, words starting with "--" included (for texts such as
  // the expression "--x"); a first "--" is dropped.
  std::vector<std::string> Remaining() const;

private:
  std::vector<std::string> args_;
};

// Whole-number option values (decimal, or hexadecimal after "$" or "0x").
// EToolError names the option when the text is no number, and says
// "TEXT is outside the 32-bit range" for any value beyond 32 bits (signed
// or unsigned), whatever its length.
long long ParseIntArg(const std::string& text, const std::string& what);

// "--difficulty D" (1..100), 1 when absent; removed from the arguments.
int DifficultyArg(TArgs& args);
// A seed: 0..4294967295 or a negative 32-bit number, as its 32-bit pattern.
uint32_t SeedArg(const std::string& text);

// Reads a file (or standard input for "-" or an empty name) whole; a folder
// or a read error is an EToolError.
std::string ReadInput(const std::string& path);
// Writes bytes to a file (or standard output for an empty name).
void WriteOutput(const std::string& path, const std::string& bytes);

struct TCommand {
  std::string name;
  std::string usage;    // the argument synopsis
  std::string summary;  // one line for --help
  int (*run)(TArgs& args);
  // The whole text of "COMMAND --help" after the usage line: what it does,
  // every option with its accepted values, what it prints (fields, status
  // codes) and its exit codes. Lines end in "\n".
  std::string help;
};

class TCommandTable {
public:
  void Add(TCommand command) { commands_.push_back(std::move(command)); }
  const std::vector<TCommand>& All() const { return commands_; }
  const TCommand* Find(const std::string& name) const;

private:
  std::vector<TCommand> commands_;
};

// One registration function per subsystem, called by main in this order.
void RegisterStorageCommands(TCommandTable& table);
void RegisterTextCommands(TCommandTable& table);
void RegisterGraphicsCommands(TCommandTable& table);
void RegisterBoardCommands(TCommandTable& table);
void RegisterLevelCommands(TCommandTable& table);
void RegisterWidgetCommands(TCommandTable& table);
void RegisterCheckCommands(TCommandTable& table);
void RegisterPlayerCommands(TCommandTable& table);

}  // namespace qv::tool
