#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// The names and entry types of one folder, read in one pass. "." and ".." are left out, and
// names holding a backslash are kept apart: a Windows path cannot spell them, and the backslash
// would read as a folder separator, naming some other file. The entries come in the order in which
// a Windows search of an NTFS folder gives them (Wine's too): by their names upper-cased, compared
// code unit by code unit; names alike but for case (never so on Windows) in byte order. So the
// files of a folder are found, counted and logged in the same order on every system.
class DirListing {
public:
    // Reads the folder from the descriptor's current position (its start when just opened).
    // Sets errno and returns false when the folder cannot be read.
    // With `keep`, only the entries for which it returns true are kept.
    using Visit = std::function<bool(std::string_view name, unsigned char type)>;
    bool Read(int fd, const Visit& keep = nullptr);
    // Goes through the same entries unsorted, in the system's order, until `visit` returns
    // true, so that a question about one entry need not read the whole folder.
    static bool Scan(int fd, const Visit& visit);
    // Whether a Windows path can spell the name.
    static bool Spellable(std::string_view name);
    // Whether name `a` comes before name `b` in a listing.
    static bool Before(std::string_view a, std::string_view b);

    size_t Size() const { return entries_.size(); }
    // Zero-terminated, so that it can go to the system as it is.
    const char* Name(size_t i) const { return names_.data() + entries_[i].offset; }
    std::string_view NameView(size_t i) const {
        return std::string_view(names_.data() + entries_[i].offset, entries_[i].length);
    }
    // DT_* of the entry; DT_UNKNOWN where the file system does not say.
    unsigned char Type(size_t i) const { return entries_[i].type; }

    // The names Read kept apart since no Windows path can spell them, unsorted.
    size_t UnspellableSize() const { return unspellable_.size(); }
    const char* UnspellableName(size_t i) const {
        return unspellableNames_.data() + unspellable_[i].offset;
    }
    unsigned char UnspellableType(size_t i) const { return unspellable_[i].type; }

private:
    struct Entry {
        uint32_t offset;
        uint16_t length;
        unsigned char type;
    };
    static void Add(std::string& names, std::vector<Entry>& entries, std::string_view name,
                    unsigned char type);
    // Scan with the unspellable names as well.
    static bool ScanAll(int fd, const Visit& visit);
    static bool ScanWithReaddir(int fd, const Visit& visit);
    void SortAsWindows();

    std::string names_;
    std::vector<Entry> entries_;
    std::string unspellableNames_;
    std::vector<Entry> unspellable_;
};

} // namespace brumo
