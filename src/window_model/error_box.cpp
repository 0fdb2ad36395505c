// The general error handler.
#include "window_model/error_box.h"

#include "streams/exceptions.h"

namespace pellimar {

// The file and the reason go on a line of their own, as the command line
// gives them, so that the message says what went wrong and where; a message
// that names the file already gets the reason alone.
std::string WithFileAndReason(const std::string& message, const std::string& file, const std::string& reason)
{
    const bool named = file.empty() || message.find(file) != std::string::npos;
    const std::string context = named ? reason : reason.empty() ? file : file + ": " + reason;
    return context.empty() ? message : message + "\r" + context;
}

// Nothing is added to the message: a full stop after a path ("Cannot
// create file Z:\tmp\out2.") would read as part of the file's name.
void ReportError(Dialogs& dialogs, const std::exception& error)
{
    std::string message = error.what();
    if (const auto* withContext = dynamic_cast<const Exception*>(&error))
        message = WithFileAndReason(message, withContext->File(), withContext->Reason());
    dialogs.ShowErrorBox(kApplicationTitle, message);
}

void Guarded(Dialogs& dialogs, const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        ReportError(dialogs, error);
    }
}

}  // namespace pellimar
