#include "ui/widget_placement.h"

#include <QWidget>

namespace brumo {

namespace {
std::string& SettingsPath() {
    static std::string path;
    return path;
}
} // namespace

void WidgetPlacement::SetSettingsFile(const std::string& path) {
    SettingsPath() = path;
}

std::string WidgetPlacement::SettingsFile() {
    return SettingsPath();
}

void WidgetPlacement::Restore(QWidget&, const std::string&, bool) {}

void WidgetPlacement::Save(QWidget&, const std::string&, bool) {}

} // namespace brumo
