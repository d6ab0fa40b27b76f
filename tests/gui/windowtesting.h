#pragma once

// Finding the main window's pieces and catalog nodes in window tests.

#include <QLatin1StringView>
#include <QWidget>
#include <string_view>

#include "catalog.h"
#include "mainwindow.h"

namespace quillon::test {

// The window's child widget of that object name, or null.
template <class T>
T* child(QWidget& window, const char* name) {
    return window.findChild<T*>(QLatin1StringView(name));
}

inline CatalogNode* childNamed(const CatalogNode* node, std::string_view name) {
    for (const auto& c : node->children())
        if (c->text() == name) return c.get();
    return nullptr;
}

inline CatalogNode* volumeNamed(TQuillonForm& form, std::string_view name) {
    return childNamed(&form.catalog().root(), name);
}

}  // namespace quillon::test
