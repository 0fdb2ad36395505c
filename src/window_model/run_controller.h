// Begin, Cancel and Preview: the checks before a run, the run itself with
// this as its host, the window's running state and progress display, and
// the dialogues at the end. The window closed during a run is handled here
// too, since the run must stop first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/run_host.h"
#include "run/collection.h"
#include "run/preferences.h"
#include "run/run_time.h"
#include "window_model/box_texts.h"
#include "window_model/collection_shown.h"
#include "window_model/file_choices.h"
#include "window_model/viewer_choice.h"
#include "window_model/window_view.h"

namespace pellimar {

// Runs a pass (a conversion, a preview) with the given host; when unset,
// on the caller's thread.
using PassRunner = std::function<void(RunHost& host, const std::function<void(RunHost&)>& pass)>;

struct RunServices {
    Dialogs& dialogs;
    // Local time of day in milliseconds.
    std::function<std::int64_t()> clock;
    PassRunner runPass;
};

// A collection's outcomes added up, for its end box or its preview.
struct CollectionTally {
    std::size_t converted = 0;
    std::size_t notRun = 0;
    std::int64_t references = 0;
    std::int64_t earlierFound = 0;
    std::vector<std::string> failures;     // each with its file and reason
    std::vector<std::string> unreadIds;    // inputs with ID level records read as plain codes
    std::vector<std::string> keptEarlier;  // inputs whose earlier references stay
    std::vector<std::string> laterLine;    // inputs with records on a later line left without a reference
    // inputs with texts that only look like earlier references, headings
    // and references cut, each "a.fff (3, first on line 4)"
    std::vector<std::string> lookAlikes;
    std::vector<std::string> headingsCut;
    std::vector<std::string> referencesCut;
};

// Records on a later line than their code left without a reference, as the
// end box and the preview say it; empty when there is none.
std::string LaterLineRecordsAdvice(std::int32_t count, const Preferences& preferences, bool foretold);

CollectionTally TallyOf(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                        EarlierReferences earlier);

class RunController : public RunHost {
public:
    RunController(WindowView& view, RunServices services, BoxTexts& boxes, FileChoices& choices,
                  ViewerChoice& viewer, const Preferences& preferences)
        : view_(view), services_(std::move(services)), boxes_(boxes), choices_(choices), viewer_(viewer),
          preferences_(preferences)
    {
    }

    // Starts a run after its checks; while one runs, asks it to stop.
    void BeginOrCancel();
    // Converts several files, each into its own name in `folder`, as one
    // run: the same checks first, every reason told at once, and one
    // question for all the outputs that exist.
    void ConvertCollection(const std::vector<std::string>& inputs, const std::string& folder);
    // The first references a run would make, shown before anything is
    // converted.
    void Preview();
    // For each of several files, what a run would make of it: the whole
    // pass with nothing written, and a list of the files with their counts.
    void PreviewCollection(const std::vector<std::string>& inputs);
    // True when the window may close now; during a run the run is cancelled
    // and the window closes when it ends.
    bool CloseRequested();

    // Begin is enabled exactly when the input, the output and the reference
    // pattern are filled and the output is not the input. While a run lasts
    // the button is its Cancel button and is left alone.
    void UpdateBeginButton();
    // Level names were loaded from `file` (nothing: the boxes were emptied);
    // the first name of its line, `skipped`, names no box.
    void LevelsLoaded(const std::string& file, const std::string& skipped);
    bool BeginEnabled() const { return beginEnabled_; }
    bool IsRunning() const { return running_; }
    std::int32_t RunPercent() const { return runPercent_; }

    // RunHost
    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return preferences_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return cancelRequested_; }

private:
    // Nothing when a box holds a character the file cannot; the user was told.
    std::optional<RunSettings> SettingsForRun();
    bool PassesRunChecks(const RunSettings& settings);
    bool PassesOutputChecks(const RunSettings& settings);
    bool ConfirmOverwrite();
    void RunPass(const std::function<void(RunHost&)>& pass);
    void RunAndReport(const RunSettings& settings);
    void ShowRunEnd(const RunSettings& settings, RunResult& result);
    void ReportFailedRemoval(const std::string& path);
    std::string IdRecordsAdvice(std::int32_t unreadIdLevelRecords) const;
    // `byPreview`: of the part of the input a preview read.
    std::string EarlierReferencesAdvice(std::int32_t kept, bool byPreview) const;
    // What the level records name that the boxes or the pattern missed.
    // The records with IDs that name a level, when they are advised of, say
    // already why the level has no record.
    std::vector<std::string> LevelsAdvice(const RunSettings& settings, const LevelCensus& seen,
                                          std::int32_t unreadIdLevelRecords) const;
    bool CloseIfPending();
    bool PassesCollectionChecks(const std::vector<CollectionFile>& files, const std::string& folder,
                                const RunSettings& settings);
    bool ConfirmOverwritingAll(const std::vector<std::string>& existing);
    // `stood`: for each output, whether a file stood under its name before
    // the run.
    void RunCollectionAndReport(const std::vector<CollectionFile>& files, const RunSettings& settings,
                                const std::vector<bool>& stood);
    void ShowCollectionEnd(std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                           const std::vector<bool>& stood, EarlierReferences earlier);
    std::string CollectionAdvice(const CollectionTally& tally, bool foreseen) const;
    void AskToDeleteCurrent(std::vector<FileOutcome>& outcomes, std::size_t current,
                            const std::vector<CollectionFile>& files, const std::vector<bool>& stood);
    void ShowRunDisplay(bool running);
    void UpdateTimeDisplay();

    WindowView& view_;
    RunServices services_;
    BoxTexts& boxes_;
    FileChoices& choices_;
    ViewerChoice& viewer_;
    const Preferences& preferences_;
    LevelLists levels_;
    RunTimeDisplay timeDisplay_;
    CollectionShown collectionShown_;
    std::int32_t runPercent_ = 0;
    bool running_ = false;
    bool cancelRequested_ = false;
    bool closePending_ = false;
    bool beginEnabled_ = false;
    // The file of the last Load Levels and the first name of its line.
    std::string levelsFile_;
    std::string skippedLevelName_;
};

}  // namespace pellimar
