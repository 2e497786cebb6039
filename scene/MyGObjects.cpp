#include "scene/MyGObjects.h"

#include "platform/Forms.h"
#include "platform/GL.h"
#include "platform/Numbers.h"

#include <QTreeWidgetItem>

namespace {

uint8_t ChannelBit(int channel)
{
    const int64_t bit = Round(static_cast<long double>(channel) / 255.0L);
    if (bit < 0 || bit > 255)
        throw ERangeError("Range check error");
    return static_cast<uint8_t>(bit);
}

} // namespace

TColorBits ColorToBits(int color)
{
    // Integer division and remainder truncate towards zero, so a negative
    // colour gives negative channels, which the range check refuses.
    return { ChannelBit(color % 256), ChannelBit((color / 256) % 256), ChannelBit(color / 65536) };
}

const TColorBits HighlightBits = ColorToBits(0xFFFFFF);

// TGObject

TGObject::TGObject(const QString& name, TGObject* parent)
    : FName(name)
    , FParent(parent)
{
}

void TGObject::FillOpenList() { throw Exception("procedure FillOpenList not defined"); }

void TGObject::Highlight(bool value)
{
    if (value == FHighlighted)
        return;
    SetHighlighted(value);
    TGObjectL* root = GetRootL();
    root->BuildList(root->ListId());
}

void TGObject::SetHighlighted(bool value) { FHighlighted = value; }

bool TGObject::RemoveFromParent()
{
    if (FParent == nullptr)
        return false;
    return FParent->RemoveChild(this);
}

bool TGObject::RemoveChild(TGObject* /*child*/) { return false; }

void TGObject::SetGLPanel(TSetupGL* panel) { FGLPanel = panel; }

TGObjectL* TGObject::GetRootL()
{
    if (FParent == nullptr)
        return CheckedCast<TGObjectL>(this);
    return FParent->GetRootL();
}

TGObjects* TGObject::GetContainer()
{
    if (FParent == nullptr)
        return CheckedCast<TGObjects>(this);
    if (auto* container = dynamic_cast<TGObjects*>(FParent))
        return container;
    return FParent->GetContainer();
}

int TGObject::PointCount() const { return 0; }

void TGObject::FillTreeNode(QTreeWidgetItem* node)
{
    if (node != nullptr)
        AddTreeNode(node, FName, this);
}

void TGObject::AddInfo(TStringList& lines, const QString& indent) const { lines.Add(indent + FName); }

// TGObjectL

TGObjectL::TGObjectL(const QString& name, TGObject* parent)
    : TGObject(name, parent)
{
}

TGObjectL::~TGObjectL()
{
    // Lists live in the panel's context: once the panel is gone, so are
    // they, and deleting would hit whatever context is current instead.
    if (FListId > 0 && FGLPanel) {
        FGLPanel->MakeCurrent();
        GL().DeleteLists(static_cast<GLuint>(FListId), 1);
    }
}

bool TGObjectL::BuildList(int id)
{
    // Objects inside a tree never own lists; they draw into their root's.
    if (!FGLPanel || id <= 0 || FParent != nullptr)
        return false;
    FGLPanel->MakeCurrent();
    if (FListId > 0)
        GL().DeleteLists(static_cast<GLuint>(FListId), 1);
    FListId = id;
    GL().NewList(static_cast<GLuint>(id), GL_COMPILE);
    try {
        FillOpenList();
    } catch (...) {
        // Left open, the list would swallow every later GL call of the
        // program instead of executing it.
        GL().EndList();
        throw;
    }
    GL().EndList();
    return true;
}

void TGObjectL::CallList()
{
    if (FListId > 0)
        GL().CallList(static_cast<GLuint>(FListId));
}

// TGObjects

TGObjects::TGObjects(const QString& name, TGObject* parent)
    : TGObjectL(name, parent)
    , FChildren(std::make_unique<TStringList>())
{
}

TGObjects::~TGObjects()
{
    // The children first (a failing destructor is discarded there), then
    // this object's own list.
    FreeListWithObjects(FChildren.release());
}

void TGObjects::FillOpenList()
{
    for (int i = 0; i < Count(); ++i)
        GetChild(i)->FillOpenList();
}

void TGObjects::SetHighlighted(bool value)
{
    FHighlighted = value;
    for (int i = 0; i < Count(); ++i)
        GetChild(i)->SetHighlighted(value);
}

bool TGObjects::RemoveChild(TGObject* child)
{
    if (child == nullptr)
        return false;
    const int index = FChildren->IndexOfObject(child);
    if (index < 0)
        return false;
    FChildren->Delete(index);
    TGObject* doomed = child;
    FreeObjectAndClear(doomed);
    return true;
}

void TGObjects::SetGLPanel(TSetupGL* panel)
{
    FGLPanel = panel;
    for (int i = 0; i < Count(); ++i)
        GetChild(i)->SetGLPanel(panel);
}

int TGObjects::PointCount() const
{
    int count = 0;
    for (int i = 0; i < Count(); ++i)
        count += GetChild(i)->PointCount();
    return count;
}

void TGObjects::FillTreeNode(QTreeWidgetItem* node)
{
    // The root adds no node of its own: the caller made it.
    QTreeWidgetItem* target = node;
    if (FParent != nullptr && node != nullptr)
        target = AddTreeNode(node, FName + QStringLiteral(" (") + QString::number(Count()) + QStringLiteral(")"), this);
    for (int i = 0; i < Count(); ++i)
        GetChild(i)->FillTreeNode(target);
}

void TGObjects::AddInfo(TStringList& lines, const QString& indent) const
{
    TGObjectL::AddInfo(lines, indent);
    for (int i = 0; i < Count(); ++i)
        GetChild(i)->AddInfo(lines, indent + QStringLiteral("  "));
}

bool TGObjects::IsSelfOrAncestor(const TGObject* object) const
{
    for (const TGObject* up = this; up != nullptr; up = up->FParent)
        if (up == object)
            return true;
    return false;
}

bool TGObjects::Add(TGObject* child)
{
    // A container inside itself would recurse without end when drawn or
    // destroyed.
    if (child == nullptr || IsSelfOrAncestor(child))
        return false;
    try {
        if (FGLPanel)
            child->SetGLPanel(FGLPanel);
        child->FParent = this;
        FChildren->AddObject(child->FName, child);
        return true;
    } catch (...) {
        return false;
    }
}

TGObject* TGObjects::GetChild(int index) const
{
    if (index < 0 || index > Count() - 1)
        return nullptr;
    return CheckedCast<TGObject>(FChildren->Objects(index));
}

TGObject* TGObjects::FindChild(const QString& name) const { return GetChild(FChildren->IndexOf(name)); }

// Tree nodes

namespace {

constexpr int ObjectRole = Qt::UserRole;

} // namespace

QTreeWidgetItem* AddTreeNode(QTreeWidgetItem* parent, const QString& text, TGObject* object)
{
    auto* node = new QTreeWidgetItem(parent, QStringList(text));
    SetTreeNodeObject(node, object);
    return node;
}

void SetTreeNodeObject(QTreeWidgetItem* node, TGObject* object)
{
    // Stored as the root class, so that reading it back can check the kind.
    node->setData(0, ObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(static_cast<TObject*>(object))));
}

TGObject* TreeNodeObject(const QTreeWidgetItem* node)
{
    if (node == nullptr)
        return nullptr;
    const QVariant data = node->data(0, ObjectRole);
    if (!data.isValid())
        return nullptr;
    return dynamic_cast<TGObject*>(reinterpret_cast<TObject*>(data.value<quintptr>()));
}
