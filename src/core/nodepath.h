#pragma once

#include "catalog.h"

#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::string_view kPathNotFound = "Path not found!";

// "My Catalogs" for the root, "Disk1:\" for a volume, "Disk1:\A\B\" for a folder. Catalog path strings use
// "\" and ":\" on every system, as the path box and the search results show them.
std::string GetNodePath(const CatalogNode& node);

// The inner path of a folder below its volume, each name followed by "\" ("A\B\"); empty for a volume.
std::string innerPath(const CatalogNode& node);

// Resolves a path string as the path box does: "My Catalogs" (exact letter case) is the root; otherwise the
// first component less its last character names a volume and each further component a folder, compared
// without regard to case, first match in displayed order. Null when nothing matches.
CatalogNode* resolveNodePath(Catalog& catalog, std::string_view path);

}  // namespace quillon
