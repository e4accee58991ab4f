#pragma once

#include "app/program_files.h"
#include "cli/type_catalog.h"

#include <optional>
#include <ostream>
#include <string>

namespace brumo {

// Exit codes of the headless commands; 130 as a shell reports a program ended by Ctrl-C.
enum CliExit : int { ExitOk = 0, ExitFilesFailed = 1, ExitError = 2, ExitInterrupted = 130 };

// What a subcommand works with: the program's files and the two output streams.
struct CliContext {
    ProgramFiles files;
    std::ostream& out;
    std::ostream& err;

    // Writes "brumo: message" to the error stream and returns ExitError.
    int Fail(const std::string& message) const;

    // The program's type store, or the built-in types where there is none; nullopt once the
    // reason the store could not be read has gone to the error stream. With `noteDefaults`
    // the error stream also hears when the built-in types stand in.
    // The error stream also hears which store was read where two could be.
    std::optional<TypeCatalog> LoadTypes(bool noteDefaults = false) const;
    // The Recycle Bin settings check of the window: with the Recycle Bin unusable, the types
    // that rely on it are disabled and the error stream says so. True when it is unusable.
    bool CheckRecycleBin(TypeCatalog& catalog) const;
    // Tells the error stream what the last Recycle Bin settings check could not use.
    void NoteRecycleProblems() const;
    // Whether a window that did not close normally left its recovery copy.
    bool RecoveryPending() const;
    // Whether a window of this program has the list open (and will write it when it closes).
    bool WindowOpen() const;
    // Whether the recovery copy is that of a window open now, which writes it after each
    // change and makes it the type store when it closes.
    bool WindowHasRecoveryCopy() const;
    // What the error stream says of an open window's recovery copy, "…" ending the sentence.
    std::string OpenWindowText() const;
    // The type `which` names (its number in "brumo list" or its name), kept in `catalog`;
    // null once the reason it could not be found has gone to the error stream.
    // Tells the error stream which folder entries of the type will not be searched, and why
    // (the logs keep their layout).
    void NoteUnsearchedFolders(const TJunkFileObj& type) const;
    const TJunkFileObj* FindType(const std::string& which,
                                 std::optional<TypeCatalog>& catalog) const;
};

} // namespace brumo
