#pragma once

#include "app/version_info.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace brumo {

// The About box: the title with the version (red for a pre-release), the legal line and a
// link to the help. Fixed size, centred on the screen, no stored placement.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    using LinkOpener = std::function<void()>;

    TAboutForm(const VersionInfo& version, LinkOpener openHelp, QWidget* parent = nullptr);

    static constexpr const char* LinkText = "Brumo help and instructions";

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate(const VersionInfo& version);

    LinkOpener openHelp_;
    QLabel* imgIcon;
    QLabel* lblVersion;
    QLabel* lblLegal;
    QLabel* lblLink;
    QPushButton* btnAboutOK;
};

} // namespace brumo
