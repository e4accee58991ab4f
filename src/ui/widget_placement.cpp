#include "ui/widget_placement.h"

#include "app/placement.h"
#include "app/program_files.h"
#include "ui/prompter.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace brumo {

namespace {

// What the platform would keep beside the rectangle: Qt has no minimised or maximised
// positions, so those read from the file are carried along to be written back unchanged.
constexpr const char* MinProperty = "brumoPlacementMin";
constexpr const char* MaxProperty = "brumoPlacementMax";
constexpr const char* FlagsProperty = "brumoPlacementFlags";
constexpr const char* FrameProperty = "brumoPlacementFrame";
constexpr const char* NormalProperty = "brumoPlacementNormal";

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

QRect WorkAreaOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// A frame the window manager has drawn. While it reparents a window, the platform may report
// margins computed against the new parent, negative ones as large as the window itself.
bool RealFrame(const QMargins& m) {
    return !m.isNull() && m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0;
}

// The frame around the window's contents: the platform's once the window has been shown,
// before that the frame another window of the program has (a window manager may add its
// frame only when the window first shows).
QMargins FrameOf(QWidget& window) {
    if (const QWindow* handle = window.windowHandle(); handle && handle->isVisible())
        if (const QMargins frame = handle->frameMargins(); RealFrame(frame)) {
            // Kept for the save after the window has been hidden.
            window.setProperty(FrameProperty, QVariant::fromValue(frame));
            return frame;
        }
    if (const QVariant kept = window.property(FrameProperty); kept.isValid())
        return kept.value<QMargins>();
    for (const QWindow* other : QGuiApplication::topLevelWindows())
        if (other->isVisible() && other->type() != Qt::Popup && other->type() != Qt::ToolTip)
            if (const QMargins frame = other->frameMargins(); RealFrame(frame))
                return frame;
    return {};
}

QRect Grown(const QRect& r, const QMargins& m) {
    return r.marginsAdded(m);
}

bool InNormalState(const QWidget& window) {
    return !(window.windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

// The frame of the window's normal state: as it is now, or as it was last seen in normal
// state (a window maximised before it ever showed normal was never seen otherwise).
QRect NormalFrame(const QWidget& window, const QMargins& frame) {
    if (!InNormalState(window))
        if (const QVariant kept = window.property(NormalProperty); kept.isValid())
            return kept.toRect();
    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry();
    return Grown(normal, frame);
}

// The placement keeps the whole window, frame and title bar included, as Windows keeps the
// window's rectangle; so the rectangle saved is the one the user sees.
WindowPlacement PlacementOf(const QWidget& window, const QMargins& frame) {
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
    p.normal = RectOf(NormalFrame(window, frame));
    return p;
}

// Puts the window's frame at `frame`: its contents get the rest (a fixed window keeps its
// designed size), and the frame is kept inside the work area.
QRect Apply(QWidget& window, QRect frame, const QMargins& margins, bool sizeable) {
    const QRect work = WorkAreaOf(window);
    QSize contents = window.size();
    if (sizeable)
        contents = frame.marginsRemoved(margins).size().expandedTo(window.minimumSize());
    frame.setSize(Grown(QRect(QPoint(), contents), margins).size());
    if (frame.right() > work.right())
        frame.moveRight(work.right());
    if (frame.bottom() > work.bottom())
        frame.moveBottom(work.bottom());
    if (frame.left() < work.left())
        frame.moveLeft(work.left());
    if (frame.top() < work.top())
        frame.moveTop(work.top());
    window.resize(contents);
    window.move(frame.topLeft()); // a window's position is its frame's
    return frame;
}

// Follows the window: once it has its real frame, corrects the placement where that frame
// differs from the one counted on (the frame keeps the size meant for it, a sizeable window's
// contents giving way, and stays inside the work area). What is meant is what the program last
// set: the window manager reports passing places and sizes while it frames the window, so
// those it reports (spontaneous events) are not taken for it. And it keeps the frame of the
// normal state, which is what is saved.
class FrameKeeper : public QObject {
public:
    FrameKeeper(QWidget& window, const QRect& placed, const QMargins& counted, bool sizeable)
        : QObject(&window), window_(window), meant_(placed), counted_(counted),
          sizeable_(sizeable) {
        window.setProperty(NormalProperty, placed);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != &window_ ||
            (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize))
            return false;
        if (!corrected_ && type != QEvent::Show && !event->spontaneous())
            meant_ = QRect(window_.pos(), window_.size().grownBy(counted_));
        const QWindow* handle = window_.windowHandle();
        const bool framed = handle && handle->isVisible() && RealFrame(handle->frameMargins());
        if (!corrected_ && framed) {
            corrected_ = true;
            const QMargins real = FrameOf(window_);
            if (InNormalState(window_) && (real != counted_ || window_.pos() != meant_.topLeft()))
                Apply(window_, meant_, real, sizeable_);
        }
        if (InNormalState(window_) && window_.isVisible())
            window_.setProperty(NormalProperty, Grown(window_.geometry(), FrameOf(window_)));
        return false;
    }

private:
    QWidget& window_;
    QRect meant_; // the frame, counted with the margins counted on
    QMargins counted_;
    bool sizeable_;
    bool corrected_ = false;
};

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
    const QMargins margins = FrameOf(window);
    const QSize frame = Grown(QRect(QPoint(), window.size()), margins).size();
    const QSize minimum = Grown(QRect(QPoint(), window.minimumSize()), margins).size();
    const SettingsFile settings(SettingsFileName());
    const std::string section = Placement::SectionOf(windowName);
    const WindowPlacement p = Placement::RestorePlacement(
        settings, section, PlacementOf(window, margins), frame.width(), frame.height(),
        RectOf(WorkAreaOf(window)), sizeable, {minimum.width(), minimum.height()});
    window.setProperty(MinProperty, QPoint(p.minPosition.x, p.minPosition.y));
    window.setProperty(MaxProperty, QPoint(p.maxPosition.x, p.maxPosition.y));
    window.setProperty(FlagsProperty, p.flags);
    new FrameKeeper(window, Apply(window, RectOf(p.normal), margins, sizeable), margins, sizeable);
    return !settings.ReadString(section, "Left", "").empty();
}

void WidgetPlacement::Save(QWidget& window, const std::string& windowName, bool sizeable) {
    SettingsFile settings(SettingsFileName());
    const auto error = Placement::SavePlacement(settings, Placement::SectionOf(windowName),
                                                PlacementOf(window, FrameOf(window)), sizeable);
    if (error)
        Prompter::Tell(nullptr, QString::fromStdString(error->Message()), PromptIcon::Warning);
}

} // namespace brumo
