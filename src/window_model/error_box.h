// The program's general error handler: every command that fails reports its
// error here, in an error box captioned with the application title.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "run/run_summary.h"
#include "window_model/dialogs.h"

namespace pellimar {

inline constexpr const char* kApplicationTitle = "Folio Flat File Pellimar";

// A message with, on a line of its own, the file it concerns and the reason.
std::string WithFileAndReason(const std::string& message, const std::string& file, const std::string& reason);

// The error's message as it stands, and the file and reason it carries.
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs a command; an error it raises is reported.
void Guarded(Dialogs& dialogs, const std::function<void()>& command);

}  // namespace pellimar
