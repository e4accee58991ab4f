#pragma once

#include "app/program_files.h"
#include "model/junk_file_type.h"

#include <optional>
#include <string>
#include <vector>

namespace brumo {

// The junk file types the headless commands work on: those of the type store beside the
// program, or the built-in defaults when there is none. It never writes the store, so a
// store that fails to load stays exactly as it is.
class TypeCatalog {
public:
    // The store of the program's files (see ProgramFiles::TypeStoreToRead). Returns an error text
    // (naming the file and the offset of the value that failed) when the store exists but cannot be
    // read whole.
    static std::optional<std::string> Load(const ProgramFiles& files, TypeCatalog& catalog);
    static std::optional<std::string> LoadFrom(const std::string& storePath, TypeCatalog& catalog);
    // The built-in types of this machine; with an unusable Recycle Bin, those that would use
    // it get the holding folder.
    static TypeCatalog OfDefaults(bool recycleUnusable);
    // Types from elsewhere (an import), to be checked as a list.
    static TypeCatalog Of(std::vector<TJunkFileObj> types);

    const std::vector<TJunkFileObj>& Types() const { return types_; }
    // Clears Enabled of every Recycle Bin type; returns how many were enabled.
    int DisableRecycleTypes();
    // True when there was no store (or an empty one) and the types are the defaults.
    bool FromDefaults() const { return fromDefaults_; }
    const std::string& StorePath() const { return storePath_; }

    struct Lookup {
        const TJunkFileObj* type = nullptr;
        int number = 0;    // 1-based position
        std::string error; // when type is null
    };
    // TYPE as given on the command line: a 1-based number or a name (any letter case).
    Lookup Find(const std::string& which) const;

private:
    std::vector<TJunkFileObj> types_;
    bool fromDefaults_ = false;
    std::string storePath_;
};

} // namespace brumo
