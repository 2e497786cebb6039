#pragma once
// The scene object tree: the contents of the scene root as a tree of
// complexes, clusters and points (each node carries its object). Its popup
// menu highlights, adds a point, a cluster or an empty complex under the
// selected object, and removes it. Every change recompiles the root's list,
// so the scene window shows it at its next frame.

#include "platform/Forms.h"

#include <memory>

class QAction;
class QMenu;
class QTreeWidget;
class TGObject;

namespace Ui {
class TForm_PointsTreeView;
}

class TForm_PointsTreeView : public TForm {
    Q_OBJECT
public:
    explicit TForm_PointsTreeView(QWidget* owner = nullptr);
    ~TForm_PointsTreeView() override;

    // The object of the selected node, or the scene root when no node is
    // selected or its data is not a scene object.
    TGObject* SelectedObject() const;
    // Recompiles the root under its own number and rebuilds the tree (the
    // selection and the expanded nodes are lost).
    void RefreshTree();

    QTreeWidget* TVWGobj() const;
    QMenu* PopupMenuTreeView() const { return FMenu; }

    void PopupMenuTreeViewPopup();
    void PopItHighLigthClick();
    void PopItAddPointClick();
    void PopItAddClusterClick();
    void PopItAddCplxClick();
    void PopItDeleteClick();

protected:
    void FormShow() override;

private:
    void ConnectMenuItem(QAction* item, void (TForm_PointsTreeView::*handler)());

    std::unique_ptr<Ui::TForm_PointsTreeView> FUi;
    QMenu* FMenu = nullptr;
};

extern TForm_PointsTreeView* Form_PointsTreeView;
