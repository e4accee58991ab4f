#include "ui/widget_placement.h"

#include "app/placement.h"
#include "app/program_files.h"
#include "ui/prompter.h"

#include <QLayout>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <optional>

namespace brumo {

namespace {

// What the platform would keep beside the rectangle: Qt has no minimised or maximised
// positions, so those read from the file are carried along to be written back unchanged.
constexpr const char* MinProperty = "brumoPlacementMin";
constexpr const char* MaxProperty = "brumoPlacementMax";
constexpr const char* FlagsProperty = "brumoPlacementFlags";

std::optional<std::string>& SettingsPath() {
    static std::optional<std::string> path;
    return path;
}

PlacementRect RectOf(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect RectOf(const PlacementRect& r) {
    return {r.left, r.top, r.Width(), r.Height()};
}

// The window's client rectangle stands for the normal rectangle both ways, so that a
// restored window saves exactly what was read.
WindowPlacement PlacementOf(const QWidget& window) {
    WindowPlacement p;
    p.minPosition = {-1, -1};
    p.maxPosition = {-1, -1};
    const QPoint min = window.property(MinProperty).toPoint();
    const QPoint max = window.property(MaxProperty).toPoint();
    if (window.property(MinProperty).isValid())
        p.minPosition = {min.x(), min.y()};
    if (window.property(MaxProperty).isValid())
        p.maxPosition = {max.x(), max.y()};
    p.flags = window.property(FlagsProperty).toUInt();
    p.showCmd = window.isMinimized() ? 2 : window.isMaximized() ? 3 : 1;
    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry();
    p.normal = RectOf(normal);
    return p;
}

} // namespace

void WidgetPlacement::SetSettingsFile(const std::string& path) {
    SettingsPath() = path;
}

std::string WidgetPlacement::SettingsFileName() {
    if (!SettingsPath())
        SettingsPath() = ProgramFiles::OfThisProgram().Settings;
    return *SettingsPath();
}

bool WidgetPlacement::Restore(QWidget& window, const std::string& windowName, bool sizeable) {
    // The layout fixes the designed size only when it is first shown: settle it now, so
    // that a first run centres the size the window will have.
    if (QLayout* layout = window.layout())
        layout->activate();
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QScreen* screen = window.screen();
    const QRect workArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const SettingsFile settings(SettingsFileName());
    const std::string section = Placement::SectionOf(windowName);
    const WindowPlacement p = Placement::RestorePlacement(
        settings, section, PlacementOf(window), window.width(), window.height(), RectOf(workArea),
        sizeable, {window.minimumWidth(), window.minimumHeight()});
    window.setProperty(MinProperty, QPoint(p.minPosition.x, p.minPosition.y));
    window.setProperty(MaxProperty, QPoint(p.maxPosition.x, p.maxPosition.y));
    window.setProperty(FlagsProperty, p.flags);
    window.setGeometry(RectOf(p.normal));
    return !settings.ReadString(section, "Left", "").empty();
}

void WidgetPlacement::Save(QWidget& window, const std::string& windowName, bool sizeable) {
    SettingsFile settings(SettingsFileName());
    const auto error = Placement::SavePlacement(settings, Placement::SectionOf(windowName),
                                                PlacementOf(window), sizeable);
    if (error)
        Prompter::Tell(nullptr, QString::fromStdString(error->Message()), PromptIcon::Warning);
}

} // namespace brumo
