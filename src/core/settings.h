#pragma once

#include <QLatin1StringView>
#include <QString>

namespace quillon {

// The settings file, in the current directory.
inline constexpr QLatin1StringView kDefaultSettingsPath{"./quillon.ini"};

// The styles of the contents and search lists, numbered as the settings file stores them.
enum class ViewStyle { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

// The program's settings: read once at start-up, written once at shutdown. Members carry the names of their
// keys.
class Settings final {
public:
    // [General]
    bool FirstStart = true;
    // The prefix of every catalog file path, used exactly as stored: file names are appended with nothing in
    // between, so "./Disks" and "CD1.qvl" make "./DisksCD1.qvl".
    QString CatalogFolder = QStringLiteral("./Catalogs/");
    bool AutoOpen = true;    // open the CD drive's door after cataloging a CD
    bool AskForLast = true;  // ask whether another volume is to be cataloged

    // [View]
    ViewStyle LV_ViewStyle = ViewStyle::Details;   // the contents list
    ViewStyle SLV_ViewStyle = ViewStyle::Details;  // the search results list
    bool StdBar = true;                            // standard toolbar shown
    bool PathBar = true;                           // path bar shown
    bool AutoAdjust = true;                        // resize the contents columns after every fill

    // Replaces every value with the file's, or with its default where the file, the section or the key is
    // missing or the value is not a number; a view style outside 0 to 3 is taken as details. True when the
    // file was read.
    bool load(const QString& path = kDefaultSettingsPath);
    // Writes every value, keeping the rest of an existing file as it is. False when the file could not be
    // written, or could not be read first (rewriting it would lose its other contents): the old file is then
    // unchanged. Also false when a value does not fit on one line; the other values are written.
    bool save(const QString& path = kDefaultSettingsPath) const;

    // A stored view style number; anything outside 0 to 3 is details.
    static ViewStyle viewStyleFromNumber(int number);

    friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace quillon
