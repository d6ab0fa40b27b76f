#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace quillon {

class MessageBoxes;

// Opens a document or address with the desktop's handler (browser, mail program); false when it could not.
// Tests pass their own so no real program starts.
using UrlOpener = std::function<bool(const QUrl&)>;
// QDesktopServices::openUrl.
bool openWithDesktop(const QUrl& url);

inline constexpr QLatin1StringView kHomepageUrl{"https://quillon.example.org"};
inline constexpr QLatin1StringView kContactAddress{"quillon@example.org"};
// Relative to the current directory, like the settings file and the catalog folder.
inline constexpr QLatin1StringView kHelpFile{"./Help/help.html"};
inline constexpr QLatin1StringView kHelpMissingText{"Help files not found or corrupted."};

// The Help menu's "Contents": opens the help file with its associated program. A missing or unreadable file,
// or one the desktop cannot open, gives "Help files not found or corrupted." in an error box over parent.
// True when the file was handed to the desktop.
bool openHelpContents(MessageBoxes& boxes, QWidget* parent, const UrlOpener& opener = openWithDesktop,
                      const QString& helpFile = kHelpFile);

// The Help menu's "Check For &Update": opens the product homepage. Failures are silent.
void openHomepage(const UrlOpener& opener = openWithDesktop);

// The address the about box's e-mail link opens: a new message to address with the subject Quillon.
QUrl mailLinkUrl(const QString& address);

}  // namespace quillon
