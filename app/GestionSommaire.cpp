#include "app/GestionSommaire.h"

#include "platform/Forms.h"

#include <QTreeWidget>

namespace {

constexpr int ItemDataRole = Qt::UserRole + 1;

} // namespace

TSommaireItem::TSommaireItem(const QString& title, const QString& fileName, std::function<void()> action)
    : Title(title), Action(std::move(action)), FileName(fileName)
{
}

TSommaireItem::~TSommaireItem() noexcept(false) { Action = nullptr; }

void TSommaireItem::Execute()
{
    if (Action)
        Action();
}

void TSommaireItem::AddToTree(QTreeWidget* nodes)
{
    if (nodes == nullptr)
        return;
    auto* node = new QTreeWidgetItem(QStringList{Title});
    node->setData(0, ItemDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(static_cast<TObject*>(this))));
    nodes->addTopLevelItem(node);
}

TObject* TSommaireItem::NodeData(const QTreeWidgetItem* node)
{
    if (node == nullptr)
        return nullptr;
    return reinterpret_cast<TObject*>(node->data(0, ItemDataRole).value<quintptr>());
}

TSommaire::TSommaire(const QString& name) : SommaireName(name) {}

TSommaire::~TSommaire() noexcept(false) { FreeListObjects(this); }

void TSommaire::FillTree(QTreeWidget* nodes)
{
    if (nodes == nullptr)
        return;
    nodes->clear();
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (TSommaireItem* item = CheckedCast<TSommaireItem>(Objects(i)))
            item->AddToTree(nodes);
}

TSommaireItem* TSommaire::AddItem(const QString& title, const QString& fileName, std::function<void()> action)
{
    auto* item = new TSommaireItem(title, fileName, std::move(action));
    AddObject(item->Title, item);
    return item;
}
