#include "scene/MyGOPoints.h"

#include "platform/Forms.h"
#include "platform/GL.h"
#include "platform/Numbers.h"

#include <unistd.h>

#include <QTreeWidgetItem>

#include <chrono>
#include <cmath>
#include <new>
#include <numbers>
#include <random>
#include <stdexcept>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// Real numbers in the tree and info texts: general format, 5 digits.
QString Num(long double value) { return FloatToStrG(value, 5); }

QString VectorText(const TVector3& v)
{
    return Num(v.x) + QStringLiteral(" ; ") + Num(v.y) + QStringLiteral(" ; ") + Num(v.z);
}

void Vertex(const TVector3& p, long double s, const TVector3& unit)
{
    GL().Vertex3d(static_cast<GLdouble>(p.x + s * unit.x), static_cast<GLdouble>(p.y + s * unit.y),
        static_cast<GLdouble>(p.z + s * unit.z));
}

[[noreturn]] void ClusterTooLarge(long long count)
{
    throw EOutOfResources(QStringLiteral("Mémoire insuffisante pour un amas de %1 points").arg(count));
}

// A point costs its object, its name and its slot in the cluster; a
// request that the machine cannot hold at all is refused before anything
// is allocated, instead of running the system out of memory.
void CheckClusterFitsInMemory(int count)
{
    constexpr long double bytesPerPoint = sizeof(TG2DPoint) + sizeof(std::unique_ptr<TG2DPoint>) + 64;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return; // unknown: allocation failures are still caught
    if (static_cast<long double>(count) * bytesPerPoint > static_cast<long double>(pages) * pageSize)
        ClusterTooLarge(count);
}

} // namespace

TPointMesh BuildPointMesh()
{
    TPointMesh mesh {};
    for (int j = 0; j < PointMeshLongCount; ++j) {
        const long double phi = j * 2.0L * Pi / (PointMeshLongCount - 1);
        for (int i = 0; i < PointMeshLatCount; ++i) {
            const long double theta = (i + 1) * Pi / (PointMeshLatCount + 1);
            mesh[j][i] = { std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta) };
        }
    }
    return mesh;
}

const TPointMesh PointMesh = BuildPointMesh();

// TG2DPoint

TG2DPoint::TG2DPoint(const QString& name, int color, long double mass, const TVector3& position,
    const TVector3& velocity, int number, TGObject* parent)
    : TGObject(name, parent)
    , FColor(color)
    , FColorBits(ColorToBits(color))
    , FMass(mass)
    , FPosition(position)
    , FVelocity(velocity)
    , FNumber(number)
{
}

void TG2DPoint::FillOpenList()
{
    GL().PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const TColorBits& bits = FHighlighted ? HighlightBits : FColorBits;
    GL().Color3f(bits.Red, bits.Green, bits.Blue);

    long double s = (FMass + 3.0L) * 0.002L;
    if (FHighlighted)
        s = 2.0L * s;
    const TVector3& p = FPosition;
    constexpr TVector3 north { 0, 0, 1 };
    constexpr TVector3 south { 0, 0, -1 };

    // North cap, four bands, south cap; the poles stay along Z.
    GL().Begin(GL_TRIANGLE_FAN);
    Vertex(p, s, north);
    for (int j = 0; j < PointMeshLongCount; ++j)
        Vertex(p, s, PointMesh[j][0]);
    GL().End();
    for (int i = 0; i < PointMeshLatCount - 1; ++i) {
        GL().Begin(GL_QUAD_STRIP);
        for (int j = 0; j < PointMeshLongCount; ++j) {
            Vertex(p, s, PointMesh[j][i]);
            Vertex(p, s, PointMesh[j][i + 1]);
        }
        GL().End();
    }
    GL().Begin(GL_TRIANGLE_FAN);
    Vertex(p, s, south);
    for (int j = 0; j < PointMeshLongCount; ++j)
        Vertex(p, s, PointMesh[j][PointMeshLatCount - 1]);
    GL().End();
}

std::array<QString, 4> TG2DPoint::DetailTexts() const
{
    return {
        QStringLiteral("Couleur = (%1 , %2 , %3 ) ").arg(FColorBits.Red).arg(FColorBits.Green).arg(FColorBits.Blue),
        QStringLiteral("Masse = ") + Num(FMass),
        QStringLiteral("Position = ( ") + VectorText(FPosition) + QStringLiteral(" )"),
        QStringLiteral("Vitesse = (") + VectorText(FVelocity) + QStringLiteral(" )")
    };
}

void TG2DPoint::FillTreeNode(QTreeWidgetItem* node)
{
    if (node == nullptr)
        return;
    QTreeWidgetItem* own
        = AddTreeNode(node, FName + QStringLiteral(" (") + QString::number(FNumber) + QStringLiteral(")"), this);
    for (const QString& text : DetailTexts())
        AddTreeNode(own, text, this);
}

void TG2DPoint::AddInfo(TStringList& lines, const QString& indent) const
{
    lines.Add(indent + FName);
    for (const QString& text : DetailTexts())
        lines.Add(indent + QStringLiteral("  ") + text);
}

// TG2DPoints

TG2DPoints::TG2DPoints(const QString& name, TGObject* parent)
    : TGObject(name, parent)
{
}

TG2DPoints::~TG2DPoints()
{
    for (auto& point : FPoints)
        point.reset();
}

void TG2DPoints::FillOpenList()
{
    for (auto& point : FPoints)
        point->FillOpenList();
}

void TG2DPoints::SetHighlighted(bool value)
{
    FHighlighted = value;
    for (auto& point : FPoints)
        point->SetHighlighted(value);
}

bool TG2DPoints::RemoveChild(TGObject* child)
{
    if (child == nullptr || FPoints.empty())
        return false;
    for (auto it = FPoints.begin(); it != FPoints.end(); ++it) {
        if (it->get() == child) {
            std::unique_ptr<TG2DPoint> doomed = std::move(*it);
            FPoints.erase(it);
            doomed.reset();
            return true;
        }
    }
    return false;
}

void TG2DPoints::FillTreeNode(QTreeWidgetItem* node)
{
    if (node == nullptr)
        return;
    QTreeWidgetItem* own
        = AddTreeNode(node, FName + QStringLiteral(" (") + QString::number(PointCount()) + QStringLiteral(")"), this);
    for (auto& point : FPoints)
        point->FillTreeNode(own);
}

void TG2DPoints::AddInfo(TStringList& lines, const QString& indent) const
{
    lines.Add(indent + FName);
    // The points are listed with a fixed indent, whatever the cluster's.
    for (const auto& point : FPoints)
        point->AddInfo(lines, QStringLiteral("  "));
}

void TG2DPoints::AddPoint(TG2DPoint* point)
{
    if (point == nullptr)
        return;
    std::unique_ptr<TG2DPoint> owned(point);
    owned->FParent = this;
    FPoints.push_back(std::move(owned));
}

void TG2DPoints::NewPoint(int color, const TVector3& position, long double mass, const TVector3& velocity, int number)
{
    auto* point = new TG2DPoint(
        QStringLiteral("Pt : ") + QString::number(PointCount()), color, mass, position, velocity, number, this);
    if (FGLPanel)
        point->SetGLPanel(FGLPanel);
    AddPoint(point);
}

void TG2DPoints::ReservePoints(int count)
{
    if (count <= 0)
        return;
    try {
        FPoints.reserve(FPoints.size() + static_cast<size_t>(count));
    } catch (const std::length_error&) {
        ClusterTooLarge(count);
    } catch (const std::bad_alloc&) {
        ClusterTooLarge(count);
    }
}

TG2DPoint* TG2DPoints::Point(int index) const
{
    if (index < 0 || index >= PointCount())
        return nullptr;
    return FPoints[static_cast<size_t>(index)].get();
}

TG2DPoints* NewRandomCluster(int count, const QString& name, int color, TGObject* parent)
{
    // A point's colour and the cluster's size are checked before anything
    // is built.
    if (count > 0) {
        ColorToBits(color);
        CheckClusterFitsInMemory(count);
    }
    auto cluster = std::make_unique<TG2DPoints>(name, parent);
    std::mt19937_64 generator(
        static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<long double> uniform(0.0L, 1.0L);
    try {
        cluster->ReservePoints(count);
        for (int i = 1; i <= count; ++i) {
            // Uniform over the sphere: z uniform in [-1, 1), longitude
            // uniform, the ring radius from z.
            const long double z = 2.0L * uniform(generator) - 1.0L;
            const long double rho = std::sqrt(1.0L - z * z);
            const long double phi = 2.0L * Pi * uniform(generator);
            cluster->NewPoint(color, { rho * std::cos(phi), rho * std::sin(phi), z }, 1.0L, ZeroVector, i);
        }
    } catch (const std::bad_alloc&) {
        ClusterTooLarge(count);
    }
    return cluster.release();
}

void AddPointTo(const QString& name, int color, const TVector3& position, long double mass, const TVector3& velocity,
    TGObject* container)
{
    TGObjects* target = CheckedCast<TGObjects>(container);
    if (target == nullptr)
        throw EInvalidCast("Invalid class typecast");
    auto point = std::make_unique<TG2DPoint>(name, color, mass, position, velocity, target->Count(), target);
    if (!target->Add(point.get()))
        return;
    point.release();
    TGObjectL* root = target->GetRootL();
    root->BuildList(root->ListId());
}
