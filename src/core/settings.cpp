#include "settings.h"

#include "inifile.h"

#include <QFile>

namespace quillon {

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kView = "View";

// File-system paths are bytes in the file, converted the way Qt converts file names.
QString pathFromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

std::string pathToBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

ViewStyle Settings::viewStyleFromNumber(int number)
{
    return number >= 0 && number <= 3 ? ViewStyle(number) : ViewStyle::Details;
}

bool Settings::load(const QString& path)
{
    const Settings defaults;
    IniFile ini;
    const bool read = ini.load(path) == IniFile::LoadResult::Read;

    FirstStart = ini.readBool(kGeneral, "FirstStart", defaults.FirstStart);
    CatalogFolder =
        pathFromBytes(ini.readString(kGeneral, "CatalogFolder", pathToBytes(defaults.CatalogFolder)));
    AutoOpen = ini.readBool(kGeneral, "AutoOpen", defaults.AutoOpen);
    AskForLast = ini.readBool(kGeneral, "AskForLast", defaults.AskForLast);

    LV_ViewStyle = viewStyleFromNumber(ini.readInteger(kView, "LV_ViewStyle", int(defaults.LV_ViewStyle)));
    SLV_ViewStyle = viewStyleFromNumber(ini.readInteger(kView, "SLV_ViewStyle", int(defaults.SLV_ViewStyle)));
    StdBar = ini.readBool(kView, "StdBar", defaults.StdBar);
    PathBar = ini.readBool(kView, "PathBar", defaults.PathBar);
    AutoAdjust = ini.readBool(kView, "AutoAdjust", defaults.AutoAdjust);
    return read;
}

bool Settings::save(const QString& path) const
{
    IniFile ini;
    // Rewriting a file we could not read would throw away its comments and other sections.
    if (ini.load(path) == IniFile::LoadResult::Unreadable) return false;

    bool allWritten = true;
    allWritten &= ini.writeBool(kGeneral, "FirstStart", FirstStart);
    allWritten &= ini.writeString(kGeneral, "CatalogFolder", pathToBytes(CatalogFolder));
    allWritten &= ini.writeBool(kGeneral, "AutoOpen", AutoOpen);
    allWritten &= ini.writeBool(kGeneral, "AskForLast", AskForLast);

    allWritten &= ini.writeInteger(kView, "LV_ViewStyle", int(LV_ViewStyle));
    allWritten &= ini.writeInteger(kView, "SLV_ViewStyle", int(SLV_ViewStyle));
    allWritten &= ini.writeBool(kView, "StdBar", StdBar);
    allWritten &= ini.writeBool(kView, "PathBar", PathBar);
    allWritten &= ini.writeBool(kView, "AutoAdjust", AutoAdjust);

    return ini.save(path) && allWritten;
}

}  // namespace quillon
