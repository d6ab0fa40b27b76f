#include "clicontext.h"

#include "catalogloader.h"
#include "codepage.h"
#include "settings.h"

#include <QFile>

#include <algorithm>
#include <iostream>

namespace quillon::cli {

CliContext::CliContext(std::string catalogFolder, std::vector<std::string> args)
    : m_catalogFolder(std::move(catalogFolder)), m_args(std::move(args))
{
}

Catalog& CliContext::loadCatalogs()
{
    if (!m_loaded) {
        LoadObserver observer;
        observer.error = [](const std::string& message) { std::cerr << message << '\n'; };
        ReloadCatalogFolder(m_catalogFolder, m_catalog, observer);
        m_loaded = true;
    }
    return m_catalog;
}

bool CliContext::takeFlag(const std::string& flag)
{
    const auto it = std::find(m_args.begin(), m_args.end(), flag);
    if (it == m_args.end()) return false;
    m_args.erase(it);
    return true;
}

bool CliContext::takeOption(const std::string& flag, std::string& value)
{
    const auto it = std::find(m_args.begin(), m_args.end(), flag);
    if (it == m_args.end()) return false;
    if (it + 1 == m_args.end()) {
        m_usageError = true;
        std::cerr << "quillon-cli: " << flag << " needs a value\n";
        m_args.erase(it);
        return false;
    }
    value = *(it + 1);
    m_args.erase(it, it + 2);
    return true;
}

bool CliContext::takeOptionPair(const std::string& flag, std::string& first, std::string& second)
{
    const auto it = std::find(m_args.begin(), m_args.end(), flag);
    if (it == m_args.end()) return false;
    if (m_args.end() - it < 3) {
        m_usageError = true;
        std::cerr << "quillon-cli: " << flag << " needs two values\n";
        m_args.erase(it, m_args.end());
        return false;
    }
    first = *(it + 1);
    second = *(it + 2);
    m_args.erase(it, it + 3);
    return true;
}

bool CliContext::checkNoUnknownOptions()
{
    for (const std::string& arg : m_args) {
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::cerr << "quillon-cli: unknown option " << arg << '\n';
            m_usageError = true;
        }
    }
    return !m_usageError;
}

int CliContext::fail(ExitCode code, const std::string& message)
{
    std::cerr << message << '\n';
    return code;
}

std::string toBytes(const QString& text) { return activeCodePage().fromUnicode(text); }

std::string defaultCatalogFolder()
{
    Settings settings;
    settings.load();
    return QFile::encodeName(settings.CatalogFolder).toStdString();
}

}  // namespace quillon::cli
