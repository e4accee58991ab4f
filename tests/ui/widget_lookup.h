#pragma once

#include <QObject>
#include <QString>
#include <QTreeWidget>
#include <QtGlobal>

namespace brumo::test {

// The named child of a window; a test that names one the window lacks stops there.
template <typename T> T* Child(const QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(name);
    if (!child)
        qFatal("no %s", name);
    return child;
}

// The item at a path of names joined by backslashes below the tree's first top-level item,
// "" being that item itself; null where there is none.
inline QTreeWidgetItem* TreeItemAt(const QTreeWidget* tree, const QString& path) {
    QTreeWidgetItem* item = tree->topLevelItem(0);
    for (const QString& part : path.split('\\', Qt::SkipEmptyParts)) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; item && i < item->childCount(); ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        item = next;
    }
    return item;
}

} // namespace brumo::test
