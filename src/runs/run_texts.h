#pragma once

#include "platform/date_time.h"
#include "runs/run_front.h"
#include "runs/skipped_names.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

// What a clean-up run leaves behind, for its final message.
struct RunOutcome {
    bool testRun = false;
    bool stopped = false;
    bool outputClosed = false; // the stop came from a reader of the output that went away
    int32_t typesProcessed = 0;
    int32_t filesProcessed = 0;
    int32_t filesRestorable = 0;
    int32_t filesFailed = 0;
    int64_t totalBytes = 0;
    int32_t foldersUnreadable = 0;
    int32_t namesSkipped = 0;          // that a Windows path cannot spell
    std::vector<SkippedNames> skipped; // where they are
    int32_t typesUnprocessed = 0; // checked, but of a clean-up method this program does not know
    bool recycleWarning = false;  // a drive's statistics line reported an error
    int32_t heldFiles = 0;        // in the holding folders when a test run ended
    int64_t heldBytes = 0;
};

// The texts of a clean-up run: log lines and messages.
class RunTexts {
public:
    static std::string Stars();  // 60 asterisks
    static std::string Dashes(); // 60 hyphens
    static constexpr const char* HaltedLine = "**** PROCESSING HALTED BY USER ****";
    static constexpr const char* OutputClosedLine =
        "**** PROCESSING HALTED: THE OUTPUT WAS CLOSED ****";

    // "hh:mm:ss am/pm", hours 01 to 12.
    static std::string TimeText(TDateTime when);
    // "Brumo Log - " or "Brumo TEST Log - ", the long date, two spaces and the time.
    static std::string LogTitle(bool testRun, TDateTime when);
    // The type's name in double quotes and what happened to its files.
    static std::string TypeHeader(const std::string& name, int32_t method, bool testRun);
    // The header of a type whose clean-up method is none of the three, and what went on the
    // command line's error stream: the type's name and "cannot be processed", with the reason.
    static std::string UnknownMethodHeader(const std::string& name, int32_t method);
    // "Now testing NAME..." or "Now processing NAME...".
    static std::string NowProcessing(const std::string& name, bool testRun);
    // The log lines from the closing asterisks on (a test run's before its statistics).
    static std::vector<std::string> Footer(const RunOutcome& outcome, TDateTime finished);
    // A failed file's message line: "\t* " and the message without trailing spaces, line breaks
    // and full stops.
    static std::string FailureDetail(const std::string& message);
    // The line after a held file's line when another file kept its name: "\t* Held as " and
    // the path it was held under.
    static std::string HeldAsDetail(const std::string& heldPath);

    static RunMessage FinalMessage(const RunOutcome& outcome);
    // The Recycle Bin settings error with its "%s" filled: the Yes/No box when checked types
    // remain, the error box otherwise.
    static RunMessage RecycleDisabledMessage(const std::string& settingsError, int disabled,
                                             bool typesRemain);
    // The settings error refusing to enable a Recycle Bin type, as the window's check box does.
    static std::string CannotEnableRecycleType(const std::string& settingsError);
    static RunMessage NothingToProcessMessage();
    // A real run while another one (of this or another Brumo) holds the log.
    static RunMessage RunInProgressMessage();
    static RunMessage LogOpenFailedMessage(const std::string& path, const std::string& reason);
    static RunMessage LogWriteFailedMessage(const std::string& path, const std::string& reason,
                                            const RunOutcome& outcome);

    // printf into a string.
    static std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
};

} // namespace brumo
