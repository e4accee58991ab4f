#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// The texts of the Count command: the report shown when a count ends and the stop message.
class CountReport {
public:
    // Lines end in CR LF.
    // Folders that could not be read get a line of their own after the folders searched, and
    // so do names skipped since a Windows path cannot spell them.
    static std::string Text(int32_t foldersSearched, int32_t filesMatched, int32_t filesRestricted,
                            int32_t filesProtected, int64_t bytesMatched,
                            int32_t foldersUnreadable = 0, int32_t namesSkipped = 0);
    // "1 name was skipped: " and the reason; with a folder, "1 name in FOLDER was skipped: ...".
    static std::string SkippedText(int32_t namesSkipped, const std::string& folder = {});
    static constexpr const char* StoppedText = "Operation stopped by user";
    // A search that ended through an error.
    static std::string FailedText(const std::string& reason);
};

} // namespace brumo
