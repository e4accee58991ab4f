#include "ui/application.h"

#include "app/program_files.h"
#include "app/version_info.h"
#include "platform/drives.h"
#include "platform/file_lock.h"
#include "platform/shell.h"
#include "runs/recycle_settings_check.h"
#include "ui/app_icon.h"
#include "ui/hd_form.h"
#include "ui/help_topics.h"
#include "ui/prompter.h"
#include "ui/single_instance.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include <cstring>
#include <memory>

namespace brumo {

namespace {

void OpenHelp(int context) {
    if (!HelpTopics::Open(context))
        Prompter::Tell(QApplication::activeWindow(), "The help could not be opened.",
                       PromptIcon::Warning);
}

void OpenLog(const std::string& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        Prompter::Tell(QApplication::activeWindow(),
                       QString("\"%1\" could not be opened.").arg(QString::fromStdString(path)),
                       PromptIcon::Warning);
}

} // namespace

bool Application::HasDisplay() {
    // A chosen Qt platform (offscreen, say) needs no desktop.
    if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform && *platform)
        return true;
    return Shell::HasDesktop();
}

void Application::PrepareMainWindow(THDForm& form, const char* argument) {
    if (argument &&
        (std::strcmp(argument, "/silent") == 0 || std::strcmp(argument, "/SILENT") == 0))
        Prompter::Show(&form,
                       {"silentmode on", PromptIcon::None, PromptButtons::Ok, 0, "Silentmode"});
    form.SetTestMode(true);
}

int Application::Run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setWindowIcon(AppIcon::Icon());

    SingleInstance instance;
    if (!instance.Claim())
        return 0; // the running copy has been brought to the front

    // Without drives every search would find nothing and say nothing of why.
    if (const std::optional<std::string> error = Drives::TableError()) {
        Prompter::Tell(nullptr, QString::fromStdString(*error), PromptIcon::Error);
        return 2;
    }
    MessageBoxPrompter::Default().SetHelpOpener(OpenHelp);
    // Read once, for the whole run.
    static RecycleSettingsCheck recycle;
    MainWindowSetup setup;
    setup.files = ProgramFiles::OfThisProgram();
    // Held while the window lives, so that the command line leaves the list it will write alone.
    bool lockHeld = false;
    OsError lockError;
    const std::unique_ptr<FileLock> windowLock =
        FileLock::TryTake(setup.files.WindowLock, lockHeld, lockError);
    setup.recycle = &recycle;
    setup.version = VersionInfo::OfThisBuild();
    setup.openHelp = OpenHelp;
    setup.openLog = OpenLog;

    THDForm form(std::move(setup));
    QObject::connect(&instance, &SingleInstance::activationRequested, &form,
                     &THDForm::BringToFront);
    PrepareMainWindow(form, argc > 1 ? argv[1] : nullptr);
    form.show();
    return app.exec();
}

} // namespace brumo
