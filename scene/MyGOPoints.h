#pragma once
// Material points on the unit sphere and clusters of them. A point is drawn
// as a small ball whose size grows with its mass, made from one shared
// table of unit-sphere vertices, so drawing evaluates no trigonometry.
// Points and clusters own no list: they are compiled into their root's.

#include "scene/MyGObjects.h"

#include <array>
#include <vector>

// The ball mesh: PointMeshLongCount columns (longitudes 0, 45, ... 360, the
// last repeating the first) by PointMeshLatCount rows (30, 60, ... 150
// degrees from the north pole; the poles are the fans' centres).
inline constexpr int PointMeshLongCount = 9;
inline constexpr int PointMeshLatCount = 5;
using TPointMesh = std::array<std::array<TVector3, PointMeshLatCount>, PointMeshLongCount>;
// Entry [j][i] = (sin θi cos φj, sin θi sin φj, cos θi).
TPointMesh BuildPointMesh();
extern const TPointMesh PointMesh;

// Vertices per ball: two fans of 1 + 9 and four strips of 2 × 9.
inline constexpr int VerticesPerPoint = 2 * (1 + PointMeshLongCount) + (PointMeshLatCount - 1) * 2 * PointMeshLongCount;

class TG2DPoint : public TGObject {
public:
    TG2DPoint(const QString& name, int color, long double mass, const TVector3& position, const TVector3& velocity,
        int number, TGObject* parent);

    // A ball of radius (mass + 3) × 0.002 around the position, white and
    // twice as large when highlighted.
    void FillOpenList() override;
    int PointCount() const override { return 1; }
    // "Name (number)" with the colour, mass, position and velocity below.
    void FillTreeNode(QTreeWidgetItem* node) override;
    void AddInfo(TStringList& lines, const QString& indent) const override;

    int Color() const { return FColor; }
    TColorBits ColorBits() const { return FColorBits; }
    long double Mass() const { return FMass; }
    const TVector3& Position() const { return FPosition; }
    const TVector3& Velocity() const { return FVelocity; }
    int Number() const { return FNumber; }

    // The four detail texts: colour, mass, position, velocity.
    std::array<QString, 4> DetailTexts() const;

private:
    int FColor;
    TColorBits FColorBits;
    long double FMass;
    TVector3 FPosition;
    TVector3 FVelocity;
    int FNumber;
};

// A cluster: a flat, owned array of points in insertion order.
class TG2DPoints : public TGObject {
public:
    TG2DPoints(const QString& name, TGObject* parent);
    ~TG2DPoints() override;

    void FillOpenList() override;
    void SetHighlighted(bool value) override;
    // Takes out and destroys one of its points; later points move down and
    // keep their names.
    bool RemoveChild(TGObject* child) override;
    int PointCount() const override { return static_cast<int>(FPoints.size()); }
    void FillTreeNode(QTreeWidgetItem* node) override;
    void AddInfo(TStringList& lines, const QString& indent) const override;

    // Appends `point` (taking ownership) and makes the cluster its parent.
    void AddPoint(TG2DPoint* point);
    // Appends a point named "Pt : " + the number of points held before it.
    void NewPoint(int color, const TVector3& position, long double mass, const TVector3& velocity, int number);
    // Makes room for `count` more points at once (EOutOfResources when the
    // memory is not there).
    void ReservePoints(int count);

    // Null outside 0..PointCount-1.
    TG2DPoint* Point(int index) const;

private:
    std::vector<std::unique_ptr<TG2DPoint>> FPoints;
};

// A cluster of `count` points spread uniformly over the unit sphere, named
// `name`, with mass 1 and zero velocity, numbered 1..count; the generator is
// reseeded from the clock on each call. The cluster has `parent` as parent
// but is not added to it. A count of 0 or less gives an empty cluster; a
// count beyond the machine's memory raises EOutOfResources.
TG2DPoints* NewRandomCluster(int count, const QString& name, int color, TGObject* parent);

// Creates one point in `container`, numbered with the container's child
// count, and recompiles the container's root. A container that is not a
// TGObjects raises EInvalidCast before anything is created.
void AddPointTo(const QString& name, int color, const TVector3& position, long double mass, const TVector3& velocity,
    TGObject* container);
