#include "view/PointsTreeViewForm.h"

#include "scene/MyGOPoints.h"
#include "scene/SceneState.h"
#include "view/AddClusterForm.h"
#include "view/AddCplxForm.h"
#include "view/AddPointForm.h"

#include "ui_PointsTreeViewForm.h"

#include <QMenu>

TForm_PointsTreeView* Form_PointsTreeView = nullptr;

TForm_PointsTreeView::TForm_PointsTreeView(QWidget* owner)
    : TForm(owner, Qt::Window), FUi(std::make_unique<Ui::TForm_PointsTreeView>())
{
    FUi->setupUi(this);
    move(231, 139); // the form's position (setupUi sets only the size)
    FMenu = new QMenu(this);
    FMenu->setObjectName(QStringLiteral("PopupMenuTreeView"));
    FMenu->addActions({FUi->PopItHighLigth, FUi->PopItAddPoint, FUi->PopItAddCluster, FUi->PopItAddCplx,
                       FUi->PopItDelete});
    FMenu->setDefaultAction(FUi->PopItHighLigth); // the default item is shown bold
    connect(FMenu, &QMenu::aboutToShow, this, &TForm_PointsTreeView::PopupMenuTreeViewPopup);
    connect(FUi->TVWGobj, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { FMenu->popup(FUi->TVWGobj->viewport()->mapToGlobal(at)); });
    ConnectMenuItem(FUi->PopItHighLigth, &TForm_PointsTreeView::PopItHighLigthClick);
    ConnectMenuItem(FUi->PopItAddPoint, &TForm_PointsTreeView::PopItAddPointClick);
    ConnectMenuItem(FUi->PopItAddCluster, &TForm_PointsTreeView::PopItAddClusterClick);
    ConnectMenuItem(FUi->PopItAddCplx, &TForm_PointsTreeView::PopItAddCplxClick);
    ConnectMenuItem(FUi->PopItDelete, &TForm_PointsTreeView::PopItDeleteClick);
}

TForm_PointsTreeView::~TForm_PointsTreeView()
{
    if (Form_PointsTreeView == this)
        Form_PointsTreeView = nullptr;
}

void TForm_PointsTreeView::ConnectMenuItem(QAction* item, void (TForm_PointsTreeView::*handler)())
{
    // The check mark of "HighLight" follows the object, not the click: undo
    // Qt's own flip of a checkable item.
    connect(item, &QAction::triggered, this, [this, item, handler]() {
        if (item->isCheckable())
            item->setChecked(!item->isChecked());
        (this->*handler)();
    });
}

QTreeWidget* TForm_PointsTreeView::TVWGobj() const { return FUi->TVWGobj; }

void TForm_PointsTreeView::FormShow() { RefreshTree(); }

TGObject* TForm_PointsTreeView::SelectedObject() const
{
    QTreeWidgetItem* node = FUi->TVWGobj->currentItem();
    if (node != nullptr && node->isSelected())
        if (TGObject* object = TreeNodeObject(node))
            return object;
    return SceneRoot;
}

void TForm_PointsTreeView::RefreshTree()
{
    QTreeWidget* tree = FUi->TVWGobj;
    tree->clear();
    if (SceneRoot == nullptr)
        return;
    SceneRoot->BuildList(SceneRoot->ListId());
    // Filled while detached and then inserted once: a cluster brings five
    // nodes per point, and a node added inside the tree costs a model update.
    auto* top = new QTreeWidgetItem(QStringList(SceneRoot->Name()));
    SetTreeNodeObject(top, SceneRoot);
    SceneRoot->FillTreeNode(top);
    tree->addTopLevelItem(top);
}

void TForm_PointsTreeView::PopupMenuTreeViewPopup()
{
    TGObject* object = SelectedObject();
    if (object == nullptr)
        return;
    const bool isCluster = dynamic_cast<TG2DPoints*>(object) != nullptr;
    const bool isContainer = dynamic_cast<TGObjects*>(object) != nullptr;
    FUi->PopItHighLigth->setEnabled(object->PointCount() > 0);
    FUi->PopItAddPoint->setEnabled(isCluster || isContainer);
    FUi->PopItAddCluster->setEnabled(isContainer);
    FUi->PopItAddCplx->setEnabled(isContainer);
    FUi->PopItDelete->setEnabled(true);
    FUi->PopItHighLigth->setChecked(object->Highlighted());
}

void TForm_PointsTreeView::PopItHighLigthClick()
{
    TGObject* object = SelectedObject();
    if (object != nullptr)
        object->Highlight(!object->Highlighted()); // recompiles the root itself
}

void TForm_PointsTreeView::PopItAddPointClick()
{
    if (Form_AddPoint == nullptr || Form_AddPoint->ShowModal() != TModalForm::mrOk)
        return;
    TGObject* target = SelectedObject();
    TVector3 position, velocity;
    LatLongToVector(position, NewPointLongitude, NewPointLatitude, 1);
    InitialVelocity(position, velocity);
    if (auto* container = dynamic_cast<TGObjects*>(target)) {
        auto point = std::make_unique<TG2DPoint>(NewPointName, NewPointColor, NewPointMass, position, velocity,
                                                 container->Count(), container);
        if (container->Add(point.get()))
            point.release(); // owned by the container now
    } else if (auto* cluster = dynamic_cast<TG2DPoints*>(target)) {
        cluster->AddPoint(new TG2DPoint(NewPointName, NewPointColor, NewPointMass, position, velocity,
                                        cluster->PointCount(), cluster));
    } else {
        throw Exception("Ajout d'un point anormal ici");
    }
    RefreshTree(); // recompiles the root once, then rebuilds the tree
}

void TForm_PointsTreeView::PopItAddClusterClick()
{
    if (Form_AddCluster == nullptr || Form_AddCluster->ShowModal() != TModalForm::mrOk)
        return;
    auto* container = dynamic_cast<TGObjects*>(SelectedObject());
    if (container == nullptr)
        throw Exception("Ajout d'un amas impossible");
    std::unique_ptr<TG2DPoints> cluster(NewRandomCluster(NewClusterSize, NewClusterName, NewClusterColor, container));
    if (container->Add(cluster.get()))
        cluster.release();
    RefreshTree(); // recompiles the root once, then rebuilds the tree
}

void TForm_PointsTreeView::PopItAddCplxClick()
{
    if (Form_AddCplx == nullptr || Form_AddCplx->ShowModal() != TModalForm::mrOk)
        return;
    auto* container = dynamic_cast<TGObjects*>(SelectedObject());
    if (container == nullptr)
        throw Exception("Ajout d'un complexe anormal ici");
    auto complex = std::make_unique<TGObjects>(NewComplexName, container);
    if (container->Add(complex.get()))
        complex.release();
    RefreshTree(); // recompiles the root once, then rebuilds the tree
}

void TForm_PointsTreeView::PopItDeleteClick()
{
    TGObject* object = SelectedObject();
    if (object != nullptr)
        object->RemoveFromParent(); // the root stays: it has no parent
    RefreshTree();
}
