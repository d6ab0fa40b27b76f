#include "nodepath.h"

#include "codepage.h"

#include <vector>

namespace quillon {

std::string innerPath(const CatalogNode& node)
{
    std::vector<const CatalogNode*> chain;
    for (const CatalogNode* n = &node; n && n->level() >= 2; n = n->parent()) chain.push_back(n);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += (*it)->text();
        path += '\\';
    }
    return path;
}

std::string GetNodePath(const CatalogNode& node)
{
    if (node.level() == 0) return node.text();
    const CatalogNode* volume = node.volume();
    return volume->text() + ":\\" + innerPath(node);
}

CatalogNode* resolveNodePath(Catalog& catalog, std::string_view path)
{
    std::string t(path);
    if (t.empty() || t.back() != '\\') t += '\\';
    if (t == std::string(Catalog::kRootText) + "\\") return &catalog.root();
    const CodePage& cp = activeCodePage();
    CatalogNode* current = &catalog.root();
    std::size_t start = 0;
    while (start < t.size()) {
        const std::size_t end = t.find('\\', start);
        std::string_view component(t.data() + start, end - start);
        if (current->level() == 0 && !component.empty()) {
            // The last character, normally the ":" after a volume name, whole even when it takes several bytes.
            std::size_t last = 0;
            for (std::size_t i = 0; i < component.size(); i += cp.charLength(component, i)) last = i;
            component = component.substr(0, last);
        }
        CatalogNode* match = nullptr;
        for (const auto& child : current->children()) {
            if (cp.equalsNoCase(child->text(), component)) {
                match = child.get();
                break;
            }
        }
        if (!match) return nullptr;
        current = match;
        start = end + 1;
    }
    return current;
}

}  // namespace quillon
