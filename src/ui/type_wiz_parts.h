#pragma once

#include "model/junk_file_type.h"

#include <QLabel>
#include <QString>
#include <QStringList>

#include <span>
#include <string>
#include <string_view>

// Makers shared by the wizard's source files (type_wiz*.cpp).
namespace brumo::type_wiz {

constexpr int kNameTypingLimit = 32;

// A new widget (or action) under its object name.
template <class T, class... Args> T* Named(const char* name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(name);
    return object;
}

inline QLabel* MakeLabel(QWidget* parent, const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(name);
    return label;
}

inline QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

inline QStringList Names(std::span<const std::string_view> table) {
    QStringList names;
    for (std::string_view name : table)
        names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return names;
}

inline const char* SelectionText(int mode) {
    switch (mode) {
    case FolderAndSubfolders:
        return "Folder and subfolders";
    case FolderOnly:
        return "Folder only";
    case SubfoldersOnly:
        return "Subfolders only";
    default:
        return "";
    }
}

} // namespace brumo::type_wiz
