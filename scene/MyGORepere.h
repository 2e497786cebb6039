#pragma once
// The two fixed objects that frame the unit sphere: the positive half-axes
// with their arrowheads, and a wire-frame of meridians and parallels. Both
// are parentless roots with a list of their own; they take no part in
// highlighting and never appear in the object tree.

#include "scene/MyGObjects.h"

class TGAxes : public TGObjectL {
public:
    // Each axis runs from `axisStart` to the arrow tip at `axisEnd`; the
    // arrowhead is `arrowRatio` × axisEnd long, with half that as radius.
    TGAxes(const QString& name, int colorX, int colorY, int colorZ, long double axisStart, long double axisEnd,
        long double arrowRatio, TGObject* parent);

    void FillOpenList() override;
    // The flag stays false.
    void SetHighlighted(bool value) override;
    // Adds nothing.
    void FillTreeNode(QTreeWidgetItem* node) override;

private:
    TColorBits FColorBitsX;
    TColorBits FColorBitsY;
    TColorBits FColorBitsZ;
    long double FAxisStart;
    long double FAxisEnd;
    long double FArrowRatio;
};

class TGSphereRepere : public TGObjectL {
public:
    // `radius` is kept; the frame is always drawn on the unit sphere.
    TGSphereRepere(const QString& name, int colorMeridian0, int colorMeridian90, int colorEquator, int colorLines,
        long double radius, TGObject* parent);

    void FillOpenList() override;
    void SetHighlighted(bool value) override;
    void FillTreeNode(QTreeWidgetItem* node) override;

    long double Radius() const { return FRadius; }

private:
    TColorBits FMeridian0Bits;
    TColorBits FMeridian90Bits;
    TColorBits FEquatorBits;
    TColorBits FLineBits;
    long double FRadius;
};
