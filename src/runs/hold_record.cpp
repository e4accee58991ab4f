#include "runs/hold_record.h"

#include "platform/file_system.h"
#include "platform/holding_folder.h"
#include "platform/locale_info.h"

#include <charconv>
#include <chrono>

namespace brumo {

namespace {

// 1980-01-01 00:00 UTC as a FILETIME: the earliest date FAT can store.
constexpr int64_t kFirstFatTime = 119600064000000000;
constexpr int64_t kFileTimeOf1970 = 116444736000000000;

int64_t FileTimeNow() {
    using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
    return kFileTimeOf1970 +
           std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch())
               .count();
}

// The root without a trailing separator.
size_t RootLength(const std::string& root) {
    size_t length = root.size();
    while (length > 0 && (root[length - 1] == '\\' || root[length - 1] == '/'))
        --length;
    return length;
}

std::optional<int64_t> Plausible(std::optional<int64_t> time) {
    return time && *time >= kFirstFatTime ? time : std::nullopt;
}

std::optional<int64_t> Recorded(const std::string& record) {
    std::string text;
    if (FileSystem::ReadFileNoLink(record, text))
        return std::nullopt;
    int64_t time = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), time);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<std::string> HoldRecord::PathOf(const std::string& root,
                                              const std::string& heldPath) {
    const size_t length = RootLength(root);
    if (length == 0 || heldPath.size() <= length + 1 ||
        heldPath.compare(0, length, root, 0, length))
        return std::nullopt;
    const char separator = heldPath[length];
    if (separator != '\\' && separator != '/')
        return std::nullopt;
    return heldPath.substr(0, length + 1) + HoldingFolder::Name + heldPath.substr(length);
}

bool HoldRecord::IsRecordFolder(std::string_view name) {
    return LocaleInfo::EqualIgnoreCase(name, HoldingFolder::Name);
}

void HoldRecord::Write(const std::string& root, const std::string& heldPath) {
    const std::optional<std::string> record = PathOf(root, heldPath);
    if (!record)
        return;
    (void)FileSystem::DeleteFile(*record); // a record for an earlier file of this name
    (void)FileSystem::CreateFolders(record->substr(0, record->find_last_of("\\/")));
    (void)FileSystem::WriteNewFile(*record, std::to_string(FileTimeNow()));
}

void HoldRecord::Remove(const std::string& root, const std::string& heldPath) {
    const std::optional<std::string> record = PathOf(root, heldPath);
    if (!record || FileSystem::DeleteFile(*record))
        return;
    // Up to the records' folder itself.
    const size_t top = RootLength(root) + 1 + std::string_view(HoldingFolder::Name).size();
    for (size_t end = record->find_last_of("\\/"); end != std::string::npos && end >= top;
         end = record->find_last_of("\\/", end - 1))
        if (FileSystem::RemoveEmptyFolder(record->substr(0, end)))
            return;
}

std::optional<int64_t> HoldRecord::HeldSince(const FileOperations& files, const std::string& root,
                                             const std::string& heldPath) {
    if (const std::optional<std::string> record = PathOf(root, heldPath))
        if (const std::optional<int64_t> time = Plausible(Recorded(*record)))
            return time;
    return Plausible(files.ChangeTime(heldPath));
}

} // namespace brumo
