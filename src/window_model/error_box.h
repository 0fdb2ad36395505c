// The program's general error handler: every command that fails reports its
// error here, in an error box captioned with the application title.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"

namespace pellimar {

inline constexpr const char* kApplicationTitle = "Folio Flat File Pellimar";

// A message with, on a line of its own, the file it concerns and the reason.
std::string WithFileAndReason(const std::string& message, const std::string& file, const std::string& reason);

// Items one after the other, with `separator` between them; a box must fit
// on the screen, so a long list is cut and says by how much.
std::string Listed(const std::vector<std::string>& items, const char* separator);

// The error's message as it stands, and the file and reason it carries.
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs a command; an error it raises is reported.
void Guarded(Dialogs& dialogs, const std::function<void()>& command);

}  // namespace pellimar
