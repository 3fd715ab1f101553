// The voice for data errors.
//
// The player never sees an error: every failure falls back to a default.
// Content authors and tests still need to hear about them, so every place
// that drops bad data (an unknown type, a missing file or resource, a parse
// error, a value out of range, an exception swallowed at a boundary) reports
// it here with ReportDataError. The sink decides what happens: the default
// sink says nothing (normal play), `quorvanel --diagnostics` and the data
// tool print to standard error, tests collect.
//
// Programming errors are not data errors: they are never reported here and
// never swallowed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One data error: `where` names the place (a file, a resource, a key, a
// class), `what` says what was wrong and what was done instead.
struct TDataError {
  std::string where;
  std::string what;
};

class IDiagnosticsSink {
public:
  virtual ~IDiagnosticsSink() = default;
  virtual void DataError(const TDataError& error) = 0;
};

// Reports a data error to the installed sink. Cheap when the sink is silent.
void ReportDataError(std::string_view where, std::string_view what);

// Installs `sink` (not owned; nullptr restores the silent sink) and returns
// the one it replaces.
IDiagnosticsSink* SetDiagnosticsSink(IDiagnosticsSink* sink);

// Number of data errors reported since the program started, whatever the
// sink (a run that wants to fail on data errors compares it).
int DataErrorCount();

// A sink that prints one line per error to standard error:
// "data error: WHERE: WHAT".
class TStderrDiagnostics : public IDiagnosticsSink {
public:
  void DataError(const TDataError& error) override;
};

// Collects the errors reported while it is alive and installed; puts the
// previous sink back when it goes. Tests use it to assert that bad data was
// reported (and that good data was not).
class TDiagnosticsCollector : public IDiagnosticsSink {
public:
  TDiagnosticsCollector();
  ~TDiagnosticsCollector() override;
  TDiagnosticsCollector(const TDiagnosticsCollector&) = delete;
  TDiagnosticsCollector& operator=(const TDiagnosticsCollector&) = delete;

  void DataError(const TDataError& error) override;
  const std::vector<TDataError>& Errors() const { return errors_; }
  // True when some error's `where` or `what` contains `text`.
  bool Has(std::string_view text) const;
  void Clear() { errors_.clear(); }

private:
  IDiagnosticsSink* previous_ = nullptr;
  std::vector<TDataError> errors_;
};

}  // namespace qv
