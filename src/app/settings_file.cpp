#include "app/settings_file.h"

#include "app/program_files.h"
#include "platform/file_system.h"

namespace brumo {

std::string SettingsWriteError::Message() const {
    return "The settings could not be saved to \"" + file + "\": " + reason;
}

SettingsFile SettingsFile::ForProgram(const std::string& programFile) {
    return SettingsFile(ProgramFiles::ChangeExtension(programFile, ".INI"));
}

IniText SettingsFile::Load() const {
    std::string bytes;
    if (FileSystem::ReadFile(FileSystem::LinkTarget(path_), bytes))
        return IniText();
    return IniText(bytes);
}

int SettingsFile::ReadInteger(const std::string& section, const std::string& key,
                              int defaultValue) const {
    auto value = Load().Value(section, key);
    if (!value)
        return defaultValue;
    return IniText::ParseInteger(*value).value_or(defaultValue);
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    return Load().Value(section, key).value_or(defaultValue);
}

std::optional<SettingsWriteError> SettingsFile::Write(const std::string& section,
                                                      const Values& values) {
    for (const auto& [key, value] : values)
        if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            return SettingsWriteError{path_, "the value of \"" + key + "\" holds a line break"};

    std::string bytes;
    if (OsError error = FileSystem::ReadFile(FileSystem::LinkTarget(path_), bytes)) {
        // A file that exists but cannot be read must not be replaced by a fragment of it.
        if (error.code != OsError::NotFound())
            return SettingsWriteError{path_, error.Message()};
        bytes.clear();
    }
    IniText text(bytes);
    for (const auto& [key, value] : values)
        text.SetValue(section, key, value);
    if (OsError error = FileSystem::WriteFileAtomic(FileSystem::LinkTarget(path_), text.Text()))
        return SettingsWriteError{path_, error.Message()};
    return std::nullopt;
}

std::optional<SettingsWriteError> SettingsFile::WriteInteger(const std::string& section,
                                                             const std::string& key, int value) {
    return Write(section, {{key, std::to_string(value)}});
}

std::optional<SettingsWriteError> SettingsFile::WriteString(const std::string& section,
                                                            const std::string& key,
                                                            const std::string& value) {
    return Write(section, {{key, value}});
}

} // namespace brumo
