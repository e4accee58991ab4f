// Draws Brumo's windows on temporary folder trees for the pictures in docs/.
//   ui_screenshots SCENE OUTPUT.png
// A scene builds its windows, puts them in a typical state and returns them in the order
// they are laid out side by side; add a scene for each new window.

#include "app/program_files.h"
#include "model/default_types.h"
#include "model/type_store.h"
#include "platform/holding_folder.h"
#include "runs/recycle_settings_check.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/about_form.h"
#include "ui/application.h"
#include "ui/default_form.h"
#include "ui/hd_form.h"
#include "ui/held_form.h"
#include "ui/legend_form.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/prop_form.h"
#include "ui/scripted_prompter.h"
#include "ui/spec_form.h"
#include "ui/type_wiz.h"
#include "ui/widget_lookup.h"
#include "ui/widget_placement.h"
#include "ui/wizard_counts_page.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace brumo {
namespace {

struct Stage {
    test::TempTree c, d, settings;
    std::unique_ptr<test::DriveMap> drives;
    std::vector<std::unique_ptr<QWidget>> owned;
    bool inMotion = false; // taken at once, before the event loop moves the scene on
};

using Scene = std::function<std::vector<QWidget*>(Stage&)>;

std::vector<QWidget*> PickerScene(Stage& stage) {
    for (const char* dir :
         {"Program Files/App", "Temp/Cache", "Temp/Downloads", "Users/Ann/Desktop",
          "Users/Ann/Documents", "Users/Bob", "Windows/System32/drivers", "Windows/Temp"})
        test::TreeBuilder::MakeDir(stage.c / dir);
    for (const char* dir : {"Backup/2024", "Media"})
        test::TreeBuilder::MakeDir(stage.d / dir);

    auto form = std::make_unique<TNewPickForm>();
    auto* tree = form->findChild<QTreeWidget*>("tvDirSel");
    auto act = [&](const QString& path, const char* action) {
        tree->setCurrentItem(test::TreeItemAt(tree, path));
        form->findChild<QAction*>(action)->trigger();
    };
    test::TreeItemAt(tree, "C:")->setExpanded(true);
    act("C:\\Users", "aExistSubs");
    act("C:\\Program Files", "aNoSubs");
    act("C:\\Windows", "aFolder");
    test::TreeItemAt(tree, "C:\\Windows")->setExpanded(true);
    act("C:\\Windows\\System32", "aNoSubs");
    act("D:", "aNoSubs");
    tree->setCurrentItem(test::TreeItemAt(tree, "C:\\Users\\Ann"));
    form->resize(520, 430);
    form->show();
    form->findChild<QAction*>("aLegend")->trigger();

    QWidget* legend = form->Legend();
    QWidget* picker = form.get();
    stage.owned.push_back(std::move(form));
    return {picker, legend};
}

// The picker on a folder twenty levels deep, its deepest folder current (the tree scrolled
// sideways to it, the path panel showing the path's end), the legend beside it.
std::vector<QWidget*> PickerDeepScene(Stage& stage) {
    std::string deep = "Projects";
    for (int level = 1; level <= 20; ++level)
        deep += "/Level " + std::to_string(level);
    test::TreeBuilder::MakeDir(stage.c / deep);
    test::TreeBuilder::MakeDir(stage.c / "Windows");

    auto form = std::make_unique<TNewPickForm>();
    auto* tree = form->findChild<QTreeWidget*>("tvDirSel");
    form->resize(460, 380);
    form->move(40, 40);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the picker was not shown\n");
    QString path = "C:";
    QTreeWidgetItem* item = test::TreeItemAt(tree, path);
    for (const QString& part : QString::fromStdString(deep).split('/')) {
        item->setExpanded(true);
        path += "\\" + part;
        item = test::TreeItemAt(tree, path);
    }
    tree->setCurrentItem(item);
    form->findChild<QAction*>("aNoSubs")->trigger();
    form->findChild<QAction*>("aLegend")->trigger();
    QWidget* legend = form->Legend();
    QWidget* picker = form.get();
    stage.owned.push_back(std::move(form));
    return {picker, legend};
}

// A type with something on every page: three folders in the three modes, specifications
// with an age and a size restriction, and protections.
TJunkFileObj WizardType() {
    TJunkFileObj t;
    t.Name = "Temporary files";
    t.Folders = {{"C:\\Temp", FolderAndSubfolders},
                 {"C:\\Users\\Ann\\AppData", SubfoldersOnly},
                 {"D:\\Media", FolderOnly}};
    t.Specs = {"*.tmp", "~*.*", "*.bak"};
    t.Protects = {"C:\\Temp\\keep.tmp", "important*.*"};
    t.AgeRestrict = true;
    t.AgeCompare = 1;
    t.Age1 = 2;
    t.SizeRestrict = true;
    t.SizeCompare = 3;
    t.Size1 = 1;
    t.Size2 = 500;
    t.SizeUnits = 1;
    return t;
}

// The wizard on one page; the counts page is shown once its count has ended.
std::vector<QWidget*> WizardScene(Stage& stage, int page) {
    for (const char* file : {"Temp/a.tmp", "Temp/b.tmp", "Temp/Cache/c.tmp", "Temp/~old.doc",
                             "Temp/keep.tmp", "Temp/notes.txt"})
        test::TreeBuilder::MakeFile(stage.c / file, 4096);
    test::TreeBuilder::MakeDir(stage.c / "Users/Ann/AppData/Local");
    test::TreeBuilder::MakeDir(stage.d / "Media");
    const ProgramFiles files =
        ProgramFiles::Derive((stage.settings / "brumo.exe").string(), true, stage.settings.Root());
    auto wiz = std::make_unique<TTypeWiz>(nullptr, files);
    TJunkFileObj type = WizardType();
    if (page == 5) { // counted without restrictions, so that every line has a number
        type.AgeRestrict = type.SizeRestrict = false;
        type.Folders = {{"C:\\Temp", FolderAndSubfolders}};
    }
    wiz->LoadFromType(type, false);
    wiz->show();
    auto* next = wiz->findChild<QPushButton*>("btnNext");
    for (int i = 0; i < page; ++i)
        next->click();
    if (page == 2)
        wiz->findChild<QListWidget*>("lbDels")->setCurrentRow(0);
    if (page == 5)
        while (wiz->findChild<WizardCountsPage*>("tsCounts")->Counting())
            QTest::qWait(20);
    QWidget* window = wiz.get();
    stage.owned.push_back(std::move(wiz));
    return {window};
}

std::vector<QWidget*> EditorsScene(Stage& stage) {
    test::TreeBuilder::MakeFile(stage.c / "Data/keep.txt", 10);
    auto spec = std::make_unique<TSpecForm>();
    spec->SetSpec("*.html");
    spec->show();
    auto name = std::make_unique<TNameForm>();
    name->SetEntry("C:\\Data\\keep.txt");
    name->show();
    std::vector<QWidget*> windows{spec.get(), name.get()};
    stage.owned.push_back(std::move(spec));
    stage.owned.push_back(std::move(name));
    return windows;
}

// The main window over a few junk files on C: and D:, its list as a user might keep it.
std::unique_ptr<THDForm> MainWindow(Stage& stage) {
    for (const char* file : {"Temp/setup.tmp", "Temp/~WRL0003.tmp", "Temp/cache/data.tmp",
                             "Users/Ann/Documents/report.bak", "Users/Ann/Documents/report.doc",
                             "Users/Ann/Documents/~$report.doc", "Users/Bob/old.old",
                             "Program Files/App/install.log", "ws_ftp.log"})
        test::TreeBuilder::MakeFile(stage.c / file, 24000);
    for (const char* file : {"Backup/2024/photos.bak", "Media/FILE0001.CHK"})
        test::TreeBuilder::MakeFile(stage.d / file, 180000);
    static RecycleSettingsCheck recycle;
    MainWindowSetup setup;
    setup.files = ProgramFiles::Derive((stage.settings / "brumo.exe").string(), true,
                                       stage.settings.Root().string());
    setup.recycle = &recycle;
    setup.version = VersionInfo::OfThisBuild();
    std::vector<TJunkFileObj> types = DefaultTypes::Build(false);
    types.emplace_back("Office owner files", false, MethodDelete, "C:\\Users", "~$*.doc", "", 0);
    types[1].Enabled = false; // Borland C++ temporary files
    TypeStore store;
    store.Save(setup.files.TypeStore, types);
    auto form = std::make_unique<THDForm>(std::move(setup));
    Application::PrepareMainWindow(*form, nullptr);
    form->resize(560, 420);
    form->move(24, 24);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the main window was not shown\n");
    QTest::qWait(300); // the window manager draws the frame
    return form;
}

std::vector<QWidget*> MainTestRunScene(Stage& stage) {
    static test::ScriptedPrompter prompter;
    auto form = MainWindow(stage);
    form->findChild<QAction*>("aCleanup")->trigger();
    // Drawn at once: the end of the run waits for the event loop, so the window shows it going.
    form->repaint();
    stage.inMotion = true;
    QWidget* window = form.get();
    stage.owned.push_back(std::move(form));
    return {window};
}

std::vector<QWidget*> MainAfterRunScene(Stage& stage) {
    static test::ScriptedPrompter prompter;
    prompter.defaultAnswer = PromptAnswer::No;
    auto form = MainWindow(stage);
    form->findChild<QAction*>("aCleanup")->trigger();
    while (form->CurrentRunMode() != RunIdle)
        QTest::qWait(20);
    // The final question as the message box shows it.
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, "Brumo",
                                             prompter.asked.back().text.replace("\r\n", "\n"),
                                             QMessageBox::Yes | QMessageBox::No);
    box->addButton(QMessageBox::Help);
    box->show();
    box->move(form->frameGeometry().right() + 16, form->frameGeometry().top() + 60);
    std::vector<QWidget*> windows{form.get(), box.get()};
    stage.owned.push_back(std::move(form));
    stage.owned.push_back(std::move(box));
    return windows;
}

// The popup menu opened from the keyboard on the third row, its Remove item current.
std::vector<QWidget*> MainPopupScene(Stage& stage) {
    auto form = MainWindow(stage);
    auto* list = form->findChild<QListWidget*>("lvJunk");
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = form->findChild<QMenu*>("pmMain");
    if (!QTest::qWaitForWindowExposed(menu))
        std::fprintf(stderr, "the popup menu was not shown\n");
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::qWait(200);
    std::vector<QWidget*> windows{form.get(), menu};
    stage.owned.push_back(std::move(form));
    return windows;
}

std::vector<QWidget*> AboutScene(Stage& stage) {
    auto about = std::make_unique<TAboutForm>(VersionInfo::OfThisBuild(), [] {});
    about->show();
    QWidget* window = about.get();
    stage.owned.push_back(std::move(about));
    return {window};
}

std::vector<QWidget*> DialogsScene(Stage& stage) {
    static RecycleSettingsCheck recycle;
    auto defaults = std::make_unique<TDefaultForm>(recycle);
    auto* list = defaults->findChild<QTreeWidget*>("lvDefs");
    list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() > 5 ? 5 : 0));
    defaults->resize(580, 360);
    defaults->show();
    auto props = std::make_unique<TPropForm>();
    TJunkFileObj type("Temporary files", true, MethodHoldingFolder,
                      "C:\\Temp\r\nC:\\Users\\Ann\\AppData", "*.tmp\r\n~*.*\r\n*.??$", "~desktop.*",
                      2);
    type.SizeRestrict = true;
    type.SizeCompare = 3;
    type.Size1 = 1;
    type.Size2 = 500;
    type.SizeUnits = 1;
    props->ShowProps(type);
    props->resize(420, 360);
    props->show();
    defaults->move(40, 40);
    props->move(defaults->frameGeometry().right() + 16, 40);
    std::vector<QWidget*> windows{defaults.get(), props.get()};
    stage.owned.push_back(std::move(defaults));
    stage.owned.push_back(std::move(props));
    return windows;
}

std::vector<QWidget*> HeldScene(Stage& stage) {
    const std::pair<const test::TempTree*, const char*> held[] = {
        {&stage.c, "Temp/setup.log"},
        {&stage.c, "Temp/Cache/thumbs.db"},
        {&stage.c, "Users/Ann/Documents/~report.docx"},
        {&stage.c, "Users/Ann/AppData/Local/Temp/install.tmp"},
        {&stage.d, "Media/old-cover.bak"},
        {&stage.d, "Backup/2024/notes.tmp"}};
    int64_t size = 1800;
    for (const auto& [drive, path] : held) {
        test::TreeBuilder::MakeFile(*drive / HoldingFolder::Name / path, size);
        size = size * 7 % 250000;
    }
    auto form = std::make_unique<THeldForm>();
    auto* tree = form->findChild<QTreeWidget*>("tvHeld");
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    form->resize(640, 340);
    form->show();
    QWidget* window = form.get();
    stage.owned.push_back(std::move(form));
    return {window};
}

const std::map<std::string, Scene>& Scenes() {
    static const std::map<std::string, Scene> scenes{
        {"picker", PickerScene},
        {"picker-deep", PickerDeepScene},
        {"wizard-name", [](Stage& s) { return WizardScene(s, 0); }},
        {"wizard-folders", [](Stage& s) { return WizardScene(s, 1); }},
        {"wizard-deletes", [](Stage& s) { return WizardScene(s, 2); }},
        {"wizard-protects", [](Stage& s) { return WizardScene(s, 3); }},
        {"wizard-summary", [](Stage& s) { return WizardScene(s, 4); }},
        {"wizard-counts", [](Stage& s) { return WizardScene(s, 5); }},
        {"editors", EditorsScene},
        {"main-test-run", MainTestRunScene},
        {"main-after-run", MainAfterRunScene},
        {"main-popup", MainPopupScene},
        {"about", AboutScene},
        {"dialogs", DialogsScene},
        {"held", HeldScene}};
    return scenes;
}

// The windows side by side, each under a plain title bar (the grab has no frame).
QImage Compose(const std::vector<QWidget*>& windows) {
    constexpr int gap = 16, titleHeight = 24;
    std::vector<QPixmap> shots;
    int width = gap, height = 0;
    qreal scale = 1;
    for (QWidget* window : windows) {
        shots.push_back(window->grab());
        const QSize size = shots.back().deviceIndependentSize().toSize();
        width += size.width() + gap;
        height = std::max(height, size.height());
        scale = std::max(scale, shots.back().devicePixelRatio());
    }
    QImage image(QSize(width, height + titleHeight + 2 * gap) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(0xd8, 0xdc, 0xe0));
    QPainter p(&image);
    int x = gap;
    for (size_t i = 0; i < windows.size(); ++i) {
        const QSize size = shots[i].deviceIndependentSize().toSize();
        const QRect title(x, gap, size.width(), titleHeight);
        p.fillRect(title, QColor(0x3a, 0x4a, 0x5c));
        p.setPen(Qt::white);
        p.drawText(title.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   windows[i]->windowTitle());
        p.drawPixmap(x, gap + titleHeight, shots[i]);
        x += size.width() + gap;
    }
    return image;
}

// Taken from the screen when the script runs a window manager: frames, menus and all, as a
// user sees them.
bool FromScreen() {
    return qEnvironmentVariableIsSet("BRUMO_SHOTS_FROM_SCREEN");
}

// Windows that open where their placement puts them, set side by side in the picture's order.
void SideBySide(const std::string& scene, const std::vector<QWidget*>& windows) {
    static const std::set<std::string> placedByScene{"main-after-run", "main-popup"};
    if (placedByScene.count(scene))
        return;
    constexpr int gap = 16;
    int x = 24;
    for (QWidget* window : windows) {
        window->move(x, 24);
        x += window->frameGeometry().width() + gap;
    }
}

QImage ScreenShot(const std::vector<QWidget*>& windows, bool settle) {
    constexpr int margin = 12;
    if (settle)
        QTest::qWait(300); // the window manager draws the frames
    QRect area;
    for (QWidget* window : windows)
        area |= window->frameGeometry();
    area.adjust(-margin, -margin, margin, margin);
    QScreen* screen = QGuiApplication::primaryScreen();
    area &= screen->geometry();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

} // namespace
} // namespace brumo

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 || !brumo::Scenes().count(argv[1])) {
        std::fprintf(stderr, "usage: ui_screenshots SCENE OUTPUT.png\nscenes:");
        for (const auto& [name, scene] : brumo::Scenes())
            std::fprintf(stderr, " %s", name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    brumo::Stage stage;
    stage.drives = std::make_unique<brumo::test::DriveMap>(
        std::initializer_list<std::pair<char, std::filesystem::path>>{{'C', stage.c.Root()},
                                                                      {'D', stage.d.Root()}});
    brumo::WidgetPlacement::SetSettingsFile((stage.settings / "brumo.INI").string());
    const std::vector<QWidget*> windows = brumo::Scenes().at(argv[1])(stage);
    for (QWidget* window : windows)
        if (!QTest::qWaitForWindowExposed(window))
            std::fprintf(stderr, "%s was not shown\n", qPrintable(window->windowTitle()));
    if (brumo::FromScreen())
        brumo::SideBySide(argv[1], windows);
    const QImage image =
        brumo::FromScreen() ? brumo::ScreenShot(windows, !stage.inMotion) : brumo::Compose(windows);
    if (!image.save(argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
