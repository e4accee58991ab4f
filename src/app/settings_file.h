#pragma once

#include "app/ini_text.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brumo {

// A write of the settings file that failed; the window layer shows the message.
struct SettingsWriteError {
    std::string file;
    std::string reason;

    std::string Message() const;
};

// The program's settings file: window placement and a few dialog settings. It is read and
// written whole for each operation and never kept open. Reading never fails: anything
// missing or unreadable yields the caller's default.
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    // The settings file of a program file: its extension replaced by ".INI".
    static SettingsFile ForProgram(const std::string& programFile);

    const std::string& Path() const { return path_; }

    // The current text; empty when the file is missing or unreadable.
    IniText Load() const;

    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    using Values = std::vector<std::pair<std::string, std::string>>;
    // Sets the keys in the given order and rewrites the file atomically, once; after a
    // failure the file is as it was.
    std::optional<SettingsWriteError> Write(const std::string& section, const Values& values);
    std::optional<SettingsWriteError> WriteInteger(const std::string& section,
                                                   const std::string& key, int value);
    std::optional<SettingsWriteError> WriteString(const std::string& section,
                                                  const std::string& key, const std::string& value);

private:
    std::string path_;
};

} // namespace brumo
