#pragma once

#include "catalog.h"

#include <QString>

#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

enum ExitCode { kSuccess = 0, kError = 1, kUsage = 2, kRefused = 3 };

// What every command shares: the catalog folder, the arguments after the command name, and the output.
class CliContext final {
public:
    CliContext(std::string catalogFolder, std::vector<std::string> args);

    const std::string& catalogFolder() const { return m_catalogFolder; }
    const std::vector<std::string>& args() const { return m_args; }

    // Loads every catalog of the folder; messages about damaged records and unreadable files go to stderr.
    Catalog& loadCatalogs();

    // Takes "--name" from the arguments when present; true when found.
    bool takeFlag(const std::string& flag);
    // Takes "--name VALUE"; false when absent. A flag without its value is a usage error (usageError set).
    bool takeOption(const std::string& flag, std::string& value);
    // Takes "--name FIRST SECOND"; as takeOption when values are missing.
    bool takeOptionPair(const std::string& flag, std::string& first, std::string& second);
    // What is left once the options are taken; anything starting with "--" left over is a usage error.
    bool checkNoUnknownOptions();
    bool usageError() const { return m_usageError; }
    int fail(ExitCode code, const std::string& message);

private:
    std::string m_catalogFolder;
    std::vector<std::string> m_args;
    Catalog m_catalog;
    bool m_loaded = false;
    bool m_usageError = false;
};

// Text as the stored bytes: the core's strings are already in the code page of the terminal.
std::string toBytes(const QString& text);

// The catalog folder when --catalogs is not given: CatalogFolder of ./quillon.ini, else ./Catalogs/.
std::string defaultCatalogFolder();

int runVolumes(CliContext& context);
int runLs(CliContext& context);
int runSearch(CliContext& context);
int runMatch(CliContext& context);

}  // namespace quillon::cli
