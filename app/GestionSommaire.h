#pragma once
// The table of contents' model: a list of entries, each a title, the path of
// its page and the action run when the learner picks it.

#include "platform/StringList.h"

#include <QString>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

class TSommaireItem : public TObject {
public:
    TSommaireItem(const QString& title, const QString& fileName, std::function<void()> action);
    ~TSommaireItem() noexcept(false) override;

    void Execute();
    // Adds one top-level node labelled with the title whose data is this item.
    void AddToTree(QTreeWidget* nodes);

    // The item attached to a tree node, or null.
    static TObject* NodeData(const QTreeWidgetItem* node);

    QString Title;
    std::function<void()> Action;
    QString FileName;
};

class TSommaire : public TStringList {
public:
    explicit TSommaire(const QString& name);
    ~TSommaire() noexcept(false) override;

    // Rebuilds the tree's nodes from the entries, in order. An entry whose
    // object is not a TSommaireItem raises EInvalidCast.
    void FillTree(QTreeWidget* nodes);
    // Creates the item and appends it under its title.
    TSommaireItem* AddItem(const QString& title, const QString& fileName, std::function<void()> action);

    QString SommaireName;
};
