#include "ui/wizard_counts_page.h"

#include "engine/junk_del_thread.h"
#include "platform/file_writer.h"
#include "platform/named_event.h"
#include "runs/line_escape.h"
#include "ui/counts_page_texts.h"
#include "ui/elided_label.h"
#include "ui/found_form.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace brumo {

namespace {
constexpr const char* kStopEventName = "Brumo Stop Event";

// Labels show their text as it is: no markup, no accelerators; CR LF ends a line.
QLabel* MakeLabel(QWidget* parent, const char* name, bool bold, int indent,
                  QLabel* label = nullptr) {
    if (!label)
        label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setIndent(indent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// Each label is a line of its own, so the break that ends its text is left out; a further
// one stays as a blank line.
void SetText(QLabel* label, const std::string& text) {
    QString shown = QString::fromStdString(text).replace("\r\n", "\n");
    if (shown.endsWith('\n'))
        shown.chop(1);
    if (auto* elided = qobject_cast<ElidedLabel*>(label))
        elided->SetFullText(shown);
    else
        label->setText(shown);
}
} // namespace

WizardCountsPage::WizardCountsPage(Setup setup, QWidget* parent)
    : QWidget(parent), setup_(std::move(setup)) {
    // The heading carries the type's name, which may be of any length.
    lblTypCount = MakeLabel(this, "lblTypCount", true, 0, new ElidedLabel(this, Qt::ElideRight));
    lblTypDirs = MakeLabel(this, "lblTypDirs", false, 16);
    lblTypDels = MakeLabel(this, "lblTypDels", false, 16);
    lblTypRes = MakeLabel(this, "lblTypRes", false, 16);
    lblTypProts = MakeLabel(this, "lblTypProts", false, 16);
    lblTypActual = MakeLabel(this, "lblTypActual", true, 0);
    lblTypSize = MakeLabel(this, "lblTypSize", true, 0);
    btnStop = new QPushButton("&Stop", this);
    btnStop->setObjectName("btnStop");
    btnStop->setStatusTip("Stop counting the files matching this junk file type");
    btnStop->setAutoDefault(false);
    btnView = new QPushButton("&View file list", this);
    btnView->setObjectName("btnView");
    btnView->setStatusTip("Display list of found files");
    btnView->setAutoDefault(false);
    btnView->setEnabled(false);

    // Room around the captions, as the style gives a dialog's buttons.
    for (QPushButton* button : {btnStop, btnView})
        button->setMinimumWidth(button->sizeHint().width() +
                                2 * button->fontMetrics().averageCharWidth());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnStop);
    buttons->addWidget(btnView);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (QLabel* label :
         {lblTypCount, lblTypDirs, lblTypDels, lblTypRes, lblTypProts, lblTypActual, lblTypSize})
        layout->addWidget(label);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(btnStop, &QPushButton::clicked, this, &WizardCountsPage::btnStopClick);
    connect(btnView, &QPushButton::clicked, this, &WizardCountsPage::btnViewClick);
}

WizardCountsPage::~WizardCountsPage() {
    StopAndWait();
}

bool WizardCountsPage::Start(const TJunkFileObj& type) {
    btnStop->setEnabled(true);
    btnView->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    counting_ = true;
    SetText(lblTypCount, CountsPageTexts::Heading(type.Name));
    SetText(lblTypDirs, CountsPageTexts::Waiting);
    for (QLabel* label : {lblTypDels, lblTypRes, lblTypProts, lblTypActual, lblTypSize})
        label->clear();

    stopEvent_ = NamedEvent::Create(kStopEventName);
    std::unique_ptr<FileWriter> writer;
    if (OsError error = FileWriter::Open(setup_.foundFiles, FileWriter::Mode::Create, writer)) {
        lblTypDirs->clear();
        EndCount();
        QMessageBox::critical(this, "Brumo",
                              QString::fromStdString("Cannot create the file " + setup_.foundFiles +
                                                     ".\n" + error.Message()));
        return false;
    }
    found_ = std::move(writer);

    WorkerSetup worker;
    worker.stopEvent = stopEvent_;
    worker.ExcludeFolders(setup_.excludedFolders);
    worker.mainThread = setup_.mainThread;
    // The worker alone writes the list until CountDone, which closes it.
    worker.onFile = [found = found_](const std::string& path, int64_t) {
        (void)found->Write(LineEscape::Of(path) + "\r\n");
    };
    worker.onCounts = [this](int32_t folders, int32_t matched, int32_t restricted,
                             int32_t protectedFiles, int64_t bytes) {
        ShowCounts(folders, matched, restricted, protectedFiles, bytes);
    };
    worker.onDone = [this](const TJunkDelThread& sender) { CountDone(sender); };
    TJunkDelThread::Start(type, std::move(worker));
    return true;
}

void WizardCountsPage::StopAndWait() {
    if (!counting_)
        return;
    btnStopClick();
    QEventLoop loop;
    connect(this, &WizardCountsPage::countEnded, &loop, &QEventLoop::quit);
    while (counting_)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void WizardCountsPage::btnStopClick() {
    if (stopEvent_)
        stopEvent_->Set();
    btnStop->setEnabled(false);
}

void WizardCountsPage::btnViewClick() {
    TFoundForm form(this);
    form.LoadFoundList(setup_.foundFiles, nameSource_ ? nameSource_() : std::string());
    form.exec();
}

void WizardCountsPage::ShowCounts(int32_t folders, int32_t matched, int32_t restricted,
                                  int32_t protectedFiles, int64_t bytes) {
    const CountsPageTexts t =
        CountsPageTexts::Of(folders, matched, restricted, protectedFiles, bytes);
    SetText(lblTypDirs, t.dirs);
    SetText(lblTypDels, t.dels);
    SetText(lblTypRes, t.res);
    SetText(lblTypProts, t.prots);
    SetText(lblTypActual, t.actual);
    SetText(lblTypSize, t.size);
    btnView->setEnabled(t.viewEnabled);
}

void WizardCountsPage::CountDone(const TJunkDelThread& sender) {
    if (sender.Stopped()) {
        SetText(lblTypCount, CountsPageTexts::StoppedHeading);
        lblTypDirs->clear();
        btnView->setEnabled(false);
    }
    EndCount();
}

void WizardCountsPage::EndCount() {
    if (found_) {
        (void)found_->Close();
        found_.reset();
    }
    if (stopEvent_) {
        stopEvent_->Reset();
        stopEvent_.reset();
    }
    QApplication::restoreOverrideCursor();
    btnStop->setEnabled(false);
    counting_ = false;
    emit countEnded();
}

} // namespace brumo
