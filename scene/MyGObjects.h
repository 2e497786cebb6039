#pragma once
// The scene object hierarchy. Every drawable thing of the 3D scene is a
// named node of one tree: containers (TGObjects) inside, points, clusters,
// the axes and the sphere frame at the leaves. A parentless TGObjectL (a
// root) compiles its whole subtree into one display list; objects below a
// root never own lists, they only emit geometry into their root's list.
// Every change below a root is followed by a recompilation of that root.

#include "platform/StringList.h"
#include "platform/TObject.h"
#include "view/clSetupGL/clSetupGL.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class QTreeWidgetItem;
class TGObjectL;
class TGObjects;

// Positions, velocities and mesh vertices, in extended precision.
struct TVector3 {
    long double x = 0;
    long double y = 0;
    long double z = 0;
    bool operator==(const TVector3&) const = default;
};

inline constexpr TVector3 ZeroVector { 0, 0, 0 };
inline void CopyVector(TVector3& dest, const TVector3& source) { dest = source; }

// A colour reduced to channels that are fully on (1) or off (0), as the
// scene draws them with glColor3f.
struct TColorBits {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const TColorBits&) const = default;
};

// Reduces a 0x00BBGGRR colour: a channel of 128 or more becomes 1 (each
// channel / 255 rounded half to even). A negative colour (a system colour
// code) can make a channel -1, which raises ERangeError.
TColorBits ColorToBits(int color);

// Highlighted points are drawn white: ColorToBits(0xFFFFFF).
extern const TColorBits HighlightBits;

// The abstract drawable object. Virtual operations are declared in their
// fixed slot order; the documented virtual constructor (Name, Parent) is the
// constructor of each class. A new object is not entered into its parent's
// collection: the caller still calls the parent's Add.
class TGObject : public TObject {
public:
    TGObject(const QString& name, TGObject* parent);

    // Emits the object's geometry into the display list being compiled.
    // Every drawable class overrides it; the base raises.
    virtual void FillOpenList();
    // Sets the flag and recompiles the root; nothing when unchanged.
    virtual void Highlight(bool value);
    virtual void SetHighlighted(bool value);
    // Has the parent take this object out and destroy it; false for a root.
    // On true, this object no longer exists.
    virtual bool RemoveFromParent();
    // Takes out and destroys a direct child; the base holds none.
    virtual bool RemoveChild(TGObject* child);
    virtual void SetGLPanel(TSetupGL* panel);
    // The top of the tree, which must own a list (else EInvalidCast).
    virtual TGObjectL* GetRootL();
    // The nearest container holding this object (itself for a parentless
    // container; EInvalidCast for a parentless non-container).
    virtual TGObjects* GetContainer();
    virtual int PointCount() const;
    // Adds this object's node (with itself as data) under `node`.
    virtual void FillTreeNode(QTreeWidgetItem* node);
    // Appends this object's description, one line per entry.
    virtual void AddInfo(TStringList& lines, const QString& indent) const;

    const QString& Name() const { return FName; }
    TSetupGL* GLPanel() const { return FGLPanel.data(); }
    TGObject* Parent() const { return FParent; }
    bool Highlighted() const { return FHighlighted; }

protected:
    QString FName;
    // Not owned; a guarded pointer, since the panel may go first at exit.
    QPointer<TSetupGL> FGLPanel;
    TGObject* FParent = nullptr; // not owned; null for a root
    bool FHighlighted = false;

private:
    friend class TGObjects;
    friend class TG2DPoints;
};

// An object that owns one display list and can compile itself into it.
class TGObjectL : public TGObject {
public:
    TGObjectL(const QString& name, TGObject* parent);
    ~TGObjectL() override;

    // Compiles the subtree into list `id`, deleting the previous list first
    // (also when `id` is the current number). Refused (false, nothing
    // touched) without a panel, for id <= 0, and for an object with a
    // parent. A FillOpenList failure closes the list and propagates.
    virtual bool BuildList(int id);
    // Replays the list, if there is one.
    virtual void CallList();

    // The list number, -1 while the object has none.
    int ListId() const { return FListId; }

protected:
    int FListId = -1;
};

// A container (a "complexe"): named children in insertion order, owned.
// Duplicate names are allowed.
class TGObjects : public TGObjectL {
public:
    TGObjects(const QString& name, TGObject* parent);
    ~TGObjects() override;

    void FillOpenList() override;
    void SetHighlighted(bool value) override;
    bool RemoveChild(TGObject* child) override;
    void SetGLPanel(TSetupGL* panel) override;
    int PointCount() const override;
    void FillTreeNode(QTreeWidgetItem* node) override;
    void AddInfo(TStringList& lines, const QString& indent) const override;

    // Appends `child` and takes ownership of it. Never raises: false when it
    // cannot be added (null, this container itself or one of its
    // ancestors), and the caller keeps the object then. Recompiles nothing.
    virtual bool Add(TGObject* child);
    // Null outside 0..Count-1.
    virtual TGObject* GetChild(int index) const;
    // The first child whose name matches ignoring case; null if none.
    virtual TGObject* FindChild(const QString& name) const;

    // Direct children only.
    int Count() const { return FChildren->Count(); }

private:
    bool IsSelfOrAncestor(const TGObject* object) const;
    std::unique_ptr<TStringList> FChildren;
};

// Tree-view nodes carry the scene object they stand for as their data.
// Adds a node with `text` under `parent` (which must not be null).
QTreeWidgetItem* AddTreeNode(QTreeWidgetItem* parent, const QString& text, TGObject* object);
void SetTreeNodeObject(QTreeWidgetItem* node, TGObject* object);
// The node's scene object; null for a null node or one without one. Node
// data does not follow destruction: rebuild the tree after a removal.
TGObject* TreeNodeObject(const QTreeWidgetItem* node);
