#include "ui/help_topics.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace brumo {

namespace {
HelpTopics::Opener& Installed() {
    static HelpTopics::Opener opener;
    return opener;
}

// The help beside the program, in an installed share folder, or in the source tree the
// program was built from.
QString HelpIndex() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* relative : {"docs/help/index.html", "../share/doc/brumo/help/index.html",
                                 "../docs/help/index.html", "../../docs/help/index.html"}) {
        const QFileInfo candidate(program.filePath(relative));
        if (candidate.isFile())
            return candidate.canonicalFilePath();
    }
    return {};
}

bool OpenInBrowser(int context) {
    const QString index = HelpIndex();
    if (index.isEmpty())
        return false;
    QUrl url = QUrl::fromLocalFile(index);
    url.setFragment(QString("context-%1").arg(context));
    return QDesktopServices::openUrl(url);
}
} // namespace

bool HelpTopics::Open(int context) {
    return Installed() ? Installed()(context) : OpenInBrowser(context);
}

void HelpTopics::Install(Opener opener) {
    Installed() = std::move(opener);
}

} // namespace brumo
