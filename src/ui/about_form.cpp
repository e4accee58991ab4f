#include "ui/about_form.h"

#include "ui/app_icon.h"
#include "ui/application.h"
#include "ui/dialog_buttons.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace brumo {

TAboutForm::TAboutForm(const VersionInfo& version, LinkOpener openHelp, QWidget* parent)
    : QDialog(parent), openHelp_(std::move(openHelp)) {
    setObjectName("AboutForm");

    imgIcon = new QLabel(this);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setFixedSize(32, 32);
    imgIcon->setAlignment(Qt::AlignCenter);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);

    lblLegal = new QLabel(this);
    lblLegal->setObjectName("lblLegal");

    auto* lblAbout1 = new QLabel("Brumo finds and removes junk files from your local disks.", this);
    auto* lblAbout2 =
        new QLabel("It starts in test mode: a test run lists what it would remove and removes "
                   "nothing.",
                   this);
    for (QLabel* label : {lblLegal, lblAbout1, lblAbout2})
        label->setWordWrap(true);

    lblLink = new QLabel(this);
    lblLink->setObjectName("lblLink");
    lblLink->setText(QString("<a href=\"help\" style=\"color:#0000ff; "
                             "text-decoration:underline\">%1</a>")
                         .arg(LinkText));
    lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblLink->setCursor(Qt::PointingHandCursor);
    connect(lblLink, &QLabel::linkActivated, this, [this] {
        if (openHelp_)
            openHelp_();
    });

    QDialogButtonBox* buttons = DialogButtons::Make(this);
    buttons->setCenterButtons(true);
    btnAboutOK = DialogButtons::Add(buttons, QDialogButtonBox::Ok, "OK", "btnAboutOK");
    btnAboutOK->setDefault(true);
    connect(btnAboutOK, &QPushButton::clicked, this, &QDialog::accept);

    // Spaced as the style spaces a message box: the icon beside the texts, the link set off
    // from them, the button below.
    const int spacing = style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing);
    auto* texts = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{lblVersion, lblLegal, lblAbout1, lblAbout2})
        texts->addWidget(w);
    texts->addSpacing(spacing);
    texts->addWidget(lblLink);

    auto* top = new QHBoxLayout;
    top->setSpacing(2 * style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    top->addWidget(imgIcon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(spacing);
    layout->addWidget(buttons);

    FormCreate(version);
    setFixedWidth(400);
    setFixedHeight(heightForWidth(400) > 0 ? heightForWidth(400) : sizeHint().height());
    DialogButtons::WithoutMaximizeButton(*this);
}

void TAboutForm::FormCreate(const VersionInfo& version) {
    const std::string title = ApplicationTitle;
    setWindowTitle(QString::fromStdString(VersionInfo::AboutCaption(title)));
    if (imgIcon->pixmap().isNull())
        imgIcon->setPixmap(AppIcon::Pixmap(32));
    if (version.IsBeta) {
        QPalette red = lblVersion->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        lblVersion->setPalette(red);
    }
    lblVersion->setText(QString::fromStdString(version.VersionLine(title)));
    lblLegal->setText(QString::fromStdString(version.SecondLine()));
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Always centred on the screen, never where it was last.
    if (const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
}

} // namespace brumo
