#include "ui/name_form.h"

#include "app/settings_file.h"
#include "engine/local_drives.h"
#include "platform/file_system.h"
#include "platform/path_map.h"
#include "ui/dialog_buttons.h"
#include "ui/entry_buttons.h"
#include "model/entry_rules.h"
#include "ui/key_filter.h"
#include "ui/widget_placement.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace brumo {

namespace {
constexpr const char* kSection = "NameForm Settings";
constexpr const char* kInitialDir = "InitialDir";

bool SpecRefuses(QChar ch) {
    return KeyFilter::IsOneOf(EntryRules::SpecRefused, ch);
}
bool NameRefuses(QChar ch) {
    return KeyFilter::IsOneOf(EntryRules::NameRefused, ch);
}

// The program's folder as a Windows path; where no drive maps it, the first drive's root,
// so that the open-file dialog starts where a file can be protected.
std::string ProgramFolder() {
    const std::string host = QCoreApplication::applicationDirPath().toStdString();
    if (auto folder = PathMap::ToWindows(host))
        return *folder;
    const std::string letters = LocalDrives::LocalDriveList("", "");
    return letters.empty() ? host : letters.substr(0, 1) + ":\\";
}

// A host path (on POSIX, one that begins with "/") keeps its own separator.
std::string WithTrailingSeparator(std::string folder) {
    const char separator = folder.starts_with('/') ? '/' : '\\';
    if (!folder.ends_with(separator))
        folder += separator;
    return folder;
}

QString HostFolder(const std::string& folder) {
    if (folder.starts_with('/'))
        return QString::fromStdString(folder);
    return QString::fromStdString(PathMap::ToHost(folder).value_or(std::string()));
}
} // namespace

TNameForm::TNameForm(QWidget* parent) : QDialog(parent) {
    setObjectName("NameForm");
    setWindowTitle("Brumo - files to protect");
    setWindowFlag(Qt::Tool);

    rbSpec = new QRadioButton("File &specification", this);
    rbSpec->setObjectName("rbSpec");
    rbSpec->setChecked(true);
    ebSpec = new QLineEdit(this);
    ebSpec->setObjectName("ebSpec");
    new KeyFilter(ebSpec, SpecRefuses);
    rbName = new QRadioButton("File &name (full path)", this);
    rbName->setObjectName("rbName");
    btnBrowse = new QPushButton("&Browse...", this);
    btnBrowse->setObjectName("btnBrowse");
    btnBrowse->setAutoDefault(false);
    ebName = new QLineEdit(this);
    ebName->setObjectName("ebName");
    ebName->setMinimumWidth(320);
    new KeyFilter(ebName, NameRefuses);
    lblStat = new QLabel("Must enter filename", this);
    lblStat->setObjectName("lblStat");
    lblStat->setAlignment(Qt::AlignCenter);
    QDialogButtonBox* buttons = EntryButtons::Make(this, btnOK, btnCancel);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(rbName);
    nameRow->addStretch();
    nameRow->addWidget(btnBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rbSpec);
    layout->addWidget(ebSpec);
    layout->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
    layout->addLayout(nameRow);
    layout->addWidget(ebName);
    layout->addWidget(lblStat);
    layout->addWidget(buttons);
    DialogButtons::MakeFixedSize(*this);

    connect(ebSpec, &QLineEdit::textChanged, this, &TNameForm::ebSpecChange);
    connect(ebName, &QLineEdit::textChanged, this, &TNameForm::ebNameChange);
    for (QRadioButton* rb : {rbSpec, rbName})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rbSpecClick();
        });
    connect(btnBrowse, &QPushButton::clicked, this, &TNameForm::btnBrowseClick);
    for (QWidget* watched : {static_cast<QWidget*>(ebSpec), static_cast<QWidget*>(ebName),
                             static_cast<QWidget*>(rbSpec), static_cast<QWidget*>(rbName)})
        watched->installEventFilter(this);

    WidgetPlacement::Restore(*this, "NameForm", false);
    settingsFile_ = WidgetPlacement::SettingsFileName();
    std::string folder = SettingsFile(settingsFile_).ReadString(kSection, kInitialDir, {});
    if (folder.empty())
        folder = ProgramFolder();
    initialDir_ = WithTrailingSeparator(folder);
}

TNameForm::~TNameForm() {
    WidgetPlacement::Save(*this, "NameForm", false);
    SettingsFile settings(settingsFile_);
    if (auto error = settings.WriteString(kSection, kInitialDir, initialDir_))
        QMessageBox::warning(parentWidget(), "Brumo", QString::fromStdString(error->Message()));
}

void TNameForm::SetEntry(const std::string& entry) {
    const QString text = QString::fromStdString(entry);
    if (entry.find(':') != std::string::npos) {
        rbName->setChecked(true);
        ebName->setText(text);
    } else {
        rbSpec->setChecked(true);
        ebSpec->setText(text);
    }
}

std::string TNameForm::GetEntry() const {
    return (rbSpec->isChecked() ? ebSpec : ebName)->text().toStdString();
}

void TNameForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (rbName->isChecked() ? ebName : ebSpec)->setFocus();
}

bool TNameForm::eventFilter(QObject* watched, QEvent* event) {
    // A radio button's access key chooses the mode and goes on to its box, so that what the
    // user types next lands there.
    if (event->type() == QEvent::Shortcut && (watched == rbSpec || watched == rbName)) {
        const bool name = watched == rbName;
        (name ? rbName : rbSpec)->setChecked(true);
        (name ? ebName : ebSpec)->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    // Only the user enters a box (mouse, Tab, access key): the focus that comes back with
    // the window, after the open-file dialog for one, chooses nothing.
    const auto entered = [event] {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
               reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    };
    if (event->type() == QEvent::FocusIn && entered()) {
        if (watched == ebSpec)
            rbSpec->setChecked(true);
        else if (watched == ebName)
            rbName->setChecked(true);
    }
    return QDialog::eventFilter(watched, event);
}

void TNameForm::rbSpecClick() {
    if (rbSpec->isChecked())
        ebSpecChange();
    else
        ebNameChange();
}

void TNameForm::ebSpecChange() {
    const std::string text = KeyFilter::Clean(ebSpec, SpecRefuses).toStdString();
    lblStat->setText(QString::fromStdString(EntryRules::SpecVerdict(text)));
    UpdateOK();
}

void TNameForm::ebNameChange() {
    const std::string text = KeyFilter::Clean(ebName, NameRefuses).toStdString();
    lblStat->setText(QString::fromStdString(EntryRules::NameVerdict(
        text, [](const std::string& path) { return FileSystem::FileExists(path); })));
    UpdateOK();
}

void TNameForm::UpdateOK() {
    if (rbName->isChecked())
        btnOK->setEnabled(EntryRules::NameAcceptable(ebName->text().toStdString()));
    else
        btnOK->setEnabled(EntryRules::SpecAcceptable(ebSpec->text().toStdString()));
}

void TNameForm::btnBrowseClick() {
    QFileDialog dialog(this, "Choose file to protect", HostFolder(initialDir_), "All files (*)");
    dialog.setObjectName("OpenDialog1");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string host = dialog.selectedFiles().first().toStdString();
    const std::optional<std::string> path = PathMap::ToWindows(host);
    rbName->setChecked(true);
    ebName->setText(QString::fromStdString(path.value_or(host)));
    if (!path)
        lblStat->setText("Enter full path: the chosen file is on no drive");
    ebName->setFocus();
}

} // namespace brumo
