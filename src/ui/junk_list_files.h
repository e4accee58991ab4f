#pragma once

#include "app/program_files.h"
#include "model/junk_file_type.h"
#include "model/type_store.h"

#include <vector>

class QWidget;

namespace brumo {

// The list's two files beside the program: the type store, read at start and written at
// close, and the recovery copy, written after every change a crash should not lose.
class JunkListFiles {
public:
    JunkListFiles(ProgramFiles files, QWidget* window)
        : files_(std::move(files)), window_(window) {}

    // The recovery copy when the user takes it, else the type store, else the defaults.
    std::vector<TJunkFileObj> Load(bool recycleUnusable);
    void WriteRecoveryCopy(const std::vector<const TJunkFileObj*>& types);
    // Writes the store and deletes the recovery copy; when the store cannot be written the
    // copy keeps the list for the next start.
    void SaveAtClose(const std::vector<const TJunkFileObj*>& types);

private:
    // The type store failed to load and its bytes are not kept yet: a recovery copy of this
    // list, restored later, would replace the types that were never read.
    bool UnreadTypesAtRisk() const;

    ProgramFiles files_;
    QWidget* window_;
    TypeStore store_;
};

} // namespace brumo
