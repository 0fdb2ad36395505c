// Everything the window asks of the user goes through this interface: message
// boxes, the input box, the open and save dialogs and the help display. The
// Qt window has its own implementation; tests script the answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/preview.h"

namespace pellimar {

// A file of a collection in its preview, or at the end of its run, as the
// list shows it: a row of its own, and under it a row for each line of
// detail (its level names, its notes).
struct PreviewFile {
    std::string input;
    std::string counts;  // "12 references", "2 earlier references removed"
    std::string remark;  // why it failed or would, or what became of its output
    std::vector<std::string> details;
};

// What a list shows: a heading, the first references of a run (line,
// reference, the record) or for a collection its files, and, when there is
// one, a piece of advice. A preview's caption is "Preview".
struct PreviewShown {
    std::string heading;
    // Above the references: the level names of the level records read, one a
    // line ("\r" between lines), under a heading line of its own.
    std::string levels;
    std::vector<PreviewReference> references;
    std::string note;
    std::vector<PreviewFile> files;
    std::string caption = "Preview";
};

enum class MessageKind { Warning, Error, Information, Confirm };
// YesCancel: a question whose only other answer is to do nothing.
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileFilter {
    std::string description;  // "Folio Flat Files (*.fff)"
    std::string pattern;      // "*.fff"
};

// A file dialog's lasting state: it keeps its file name and selected filter
// from one use to the next, as the window's dialogs do.
struct FileDialogState {
    std::vector<FileFilter> filters;
    int filterIndex = 1;  // 1-based
    std::string fileName;
    std::string defaultExtension;
    bool overwritePrompt = false;
    // Set for each use: the caption, after the dialog's purpose, and the
    // folder it opens in (empty: the dialog's own choice).
    std::string title;
    std::string folder;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal box captioned with the kind's word ("Warning", "Error",
    // "Information", "Confirm"). A "\r" in the text is a line break.
    virtual MessageAnswer ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;
    // The same box with a note under its text, a piece of advice set apart.
    virtual MessageAnswer ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string& note,
                                              MessageButtons buttons) = 0;
    // The program's error box: stop icon, one OK button, the given caption.
    virtual void ShowErrorBox(const std::string& caption, const std::string& text) = 0;
    // The typed text, or nothing when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                                const std::string& defaultText) = 0;
    // True when the user confirmed a file; the state then holds its full path
    // and the filter in use.
    virtual bool OpenFile(FileDialogState& state) = 0;
    virtual bool SaveFile(FileDialogState& state) = 0;
    // The open dialog taking several files: their full paths, none when the
    // user cancelled. The state keeps the filter in use; its file name is
    // left alone.
    virtual std::vector<std::string> OpenFiles(FileDialogState& state) = 0;
    // A folder's full path, or nothing when cancelled; the dialog opens in
    // `start` (empty: its own choice).
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) = 0;
    // Shows the user guide kept at the given path.
    virtual void ShowHelp(const std::string& guidePath) = 0;
    virtual void ShowPreview(const PreviewShown& preview) = 0;
};

}  // namespace pellimar
