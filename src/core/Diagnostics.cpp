#include "core/Diagnostics.h"

#include <cstdio>

namespace qv {

namespace {

IDiagnosticsSink* g_sink = nullptr;
int g_count = 0;

}  // namespace

void ReportDataError(std::string_view where, std::string_view what) {
  ++g_count;
  if (!g_sink) return;
  g_sink->DataError(TDataError{std::string(where), std::string(what)});
}

IDiagnosticsSink* SetDiagnosticsSink(IDiagnosticsSink* sink) {
  IDiagnosticsSink* old = g_sink;
  g_sink = sink;
  return old;
}

int DataErrorCount() {
  return g_count;
}

void TStderrDiagnostics::DataError(const TDataError& error) {
  std::fprintf(stderr, "data error: %s: %s\n", error.where.c_str(), error.what.c_str());
}

TDiagnosticsCollector::TDiagnosticsCollector() {
  previous_ = SetDiagnosticsSink(this);
}

TDiagnosticsCollector::~TDiagnosticsCollector() {
  SetDiagnosticsSink(previous_);
}

void TDiagnosticsCollector::DataError(const TDataError& error) {
  errors_.push_back(error);
}

bool TDiagnosticsCollector::Has(std::string_view text) const {
  for (const TDataError& e : errors_)
    if (e.where.find(text) != std::string::npos || e.what.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace qv
