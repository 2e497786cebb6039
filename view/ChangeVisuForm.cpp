#include "view/ChangeVisuForm.h"

#include "platform/Numbers.h"
#include "view/FormHelpers.h"
#include "view/SGLPointsForm.h"

#include "ui_ChangeVisuForm.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TLinearMap PosDisMap;
TLinearMap PosLongMap;
TLinearMap PosLatMap;
TLinearMap ZoomFinMap;
TLinearMap ZoomGrosMap;
TLinearMap ZNearMap;
TLinearMap ZfarMap;
TLinearMap RotLongMap;
TLinearMap RotLatMap;

TForm_ChangeVisu* Form_ChangeVisu = nullptr;

namespace {

constexpr long double DegreesPerRadian = 180.0L / std::numbers::pi_v<long double>;

// Round for values that may be NaN or infinite (a view at the origin): those
// pass through unrounded instead of raising.
long double RoundReal(long double value) { return std::isfinite(value) ? static_cast<long double>(Round(value)) : value; }

long double ValueOf(const TLinearMap& map, const QSlider* bar) { return MapToValue(map, bar->value()); }

// Moves a bar to the whole position nearest `position`, clamped to its
// range; a position that is not a number leaves the bar where it is. The
// bar's change handler runs only when the position changes.
void SetPosition(QSlider* bar, long double position)
{
    if (std::isnan(position))
        return;
    const long double clamped = std::clamp<long double>(position, bar->minimum(), bar->maximum());
    bar->setValue(static_cast<int>(Round(clamped)));
}

void PlaceAt(QSlider* bar, const TLinearMap& map, long double value) { SetPosition(bar, MapToPosition(map, value)); }

void BuildMap(TLinearMap& map, const QSlider* bar, long double valueAtMin, long double valueAtMax)
{
    MakeLinearMap(map, valueAtMax, valueAtMin, bar->maximum(), bar->minimum());
}

// Whole-degree latitude and longitude of a direction, as the dialog shows it.
struct TRoundedDirection {
    long double Latitude;
    long double Longitude;
    long double Length;
};

TRoundedDirection RoundedDirection(const TVector3f& v)
{
    const long double x = v.x, y = v.y, z = v.z;
    const long double r = std::sqrt(x * x + y * y + z * z);
    return {90 - RoundReal(std::acos(z / r) * DegreesPerRadian), RoundReal(std::atan2(y / r, x / r) * DegreesPerRadian), r};
}

} // namespace

TForm_ChangeVisu::TForm_ChangeVisu(QWidget* owner)
    : TForm(owner, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), FUi(std::make_unique<Ui::TForm_ChangeVisu>())
{
    FUi->setupUi(this);
    setFixedSize(size());
    Ui::TForm_ChangeVisu& ui = *FUi;
    for (QSlider* bar : {ui.TrackBarPosDis, ui.TrackBarPosLong, ui.TrackBarPosLat})
        connect(bar, &QSlider::valueChanged, this, &TForm_ChangeVisu::ObsPosChange);
    for (QSlider* bar : {ui.TrackBarZoomFin, ui.TrackBarZoomGros})
        connect(bar, &QSlider::valueChanged, this, &TForm_ChangeVisu::ZoomChange);
    connect(ui.TrackBarZNear, &QSlider::valueChanged, this, &TForm_ChangeVisu::TrackBarZNearChange);
    connect(ui.TrackBarZfar, &QSlider::valueChanged, this, &TForm_ChangeVisu::TrackBarZfarChange);
    for (QSlider* bar : {ui.TrackBarRotLong, ui.TrackBarRotLat})
        connect(bar, &QSlider::valueChanged, this, &TForm_ChangeVisu::AxeRotChange);
    connect(ui.EditZoomFactor, &QLineEdit::textChanged, this, &TForm_ChangeVisu::EditZoomFactorChange);
    OnExit(ui.EditZoomFactor, [this]() { EditZoomFactorExit(); });
    FormCreate();
}

TForm_ChangeVisu::~TForm_ChangeVisu()
{
    if (Form_ChangeVisu == this)
        Form_ChangeVisu = nullptr;
}

void TForm_ChangeVisu::FormCreate()
{
    CenterFormOnScreen(this);
    Ui::TForm_ChangeVisu& ui = *FUi;
    BuildMap(PosDisMap, ui.TrackBarPosDis, 0, 10);
    BuildMap(PosLongMap, ui.TrackBarPosLong, 360, 0);
    BuildMap(PosLatMap, ui.TrackBarPosLat, 90, -90);
    BuildMap(ZoomFinMap, ui.TrackBarZoomFin, 0, 90);
    BuildMap(ZoomGrosMap, ui.TrackBarZoomGros, 1E-20L, 0);
    BuildMap(ZNearMap, ui.TrackBarZNear, 5, -1);
    BuildMap(ZfarMap, ui.TrackBarZfar, 10, 0);
    BuildMap(RotLongMap, ui.TrackBarRotLong, 180, 0);
    BuildMap(RotLatMap, ui.TrackBarRotLat, 90, 0);
    SyncControls();
}

void TForm_ChangeVisu::FormShow() { SyncControls(); }

void TForm_ChangeVisu::Refresh()
{
    if (SceneWindow != nullptr)
        SceneWindow->RefreshView();
}

void TForm_ChangeVisu::SyncControls()
{
    Ui::TForm_ChangeVisu& ui = *FUi;
    // 1-4. The observer, from angles taken before any bar moves.
    const TRoundedDirection eye = RoundedDirection(EyePosition);
    PlaceAt(ui.TrackBarPosDis, PosDisMap, eye.Length);
    PlaceAt(ui.TrackBarPosLong, PosLongMap, eye.Longitude);
    PlaceAt(ui.TrackBarPosLat, PosLatMap, eye.Latitude);
    // 5-6. The zoom.
    EditZoomFactorExit();
    ZoomChange();
    // 7-8. The clipping distances; the near bar is placed through its map
    // but read through (50 - p) / 10, so its value drifts at each sync.
    PlaceAt(ui.TrackBarZNear, ZNearMap, ZNear);
    PlaceAt(ui.TrackBarZfar, ZfarMap, ZFar);
    // 9. The rotation axis.
    const TRoundedDirection axis = RoundedDirection(RotationAxis);
    SetPosition(ui.TrackBarRotLong, RoundReal(360 - 2 * axis.Longitude));
    SetPosition(ui.TrackBarRotLat, RoundReal(180 - 2 * axis.Latitude));
}

void TForm_ChangeVisu::ObsPosChange()
{
    Ui::TForm_ChangeVisu& ui = *FUi;
    LatLongToXYZ(EyePosition.x, EyePosition.y, EyePosition.z, ValueOf(PosDisMap, ui.TrackBarPosDis),
                 ValueOf(PosLongMap, ui.TrackBarPosLong), ValueOf(PosLatMap, ui.TrackBarPosLat));
    Refresh();
}

void TForm_ChangeVisu::ZoomChange()
{
    Ui::TForm_ChangeVisu& ui = *FUi;
    const long double f = ValueOf(ZoomFinMap, ui.TrackBarZoomFin) + ValueOf(ZoomGrosMap, ui.TrackBarZoomGros);
    const QString text = FloatToStrG(f, 7);
    // A new text runs EditZoomFactorChange, which marks the projection.
    if (ui.EditZoomFactor->text() != text)
        ui.EditZoomFactor->setText(text);
    FieldOfView = static_cast<float>(f);
    Refresh();
}

void TForm_ChangeVisu::EditZoomFactorChange()
{
    long double value;
    if (!TryStrToFloat(FUi->EditZoomFactor->text(), value)) {
        ShowPlainMessage(QStringLiteral("Bad floating point format"));
        FUi->EditZoomFactor->setFocus(Qt::OtherFocusReason);
        return;
    }
    FieldOfView = static_cast<float>(value);
    ProjectionChanged = true;
    Refresh();
}

void TForm_ChangeVisu::EditZoomFactorExit()
{
    if (!std::isfinite(FieldOfView))
        return; // no bar position stands for it
    const long double w = std::trunc(static_cast<long double>(FieldOfView));
    const long double q = RoundReal(FieldOfView - w);
    PlaceAt(FUi->TrackBarZoomFin, ZoomFinMap, w);
    PlaceAt(FUi->TrackBarZoomGros, ZoomGrosMap, q);
}

void TForm_ChangeVisu::TrackBarZNearChange()
{
    const QSlider* bar = FUi->TrackBarZNear;
    ZNear = static_cast<float>((bar->maximum() - bar->value()) / 10.0L);
    ProjectionChanged = true;
    Refresh();
}

void TForm_ChangeVisu::TrackBarZfarChange()
{
    const QSlider* bar = FUi->TrackBarZfar;
    ZFar = static_cast<float>((bar->maximum() - bar->value()) / 10.0L);
    ProjectionChanged = true;
    Refresh();
}

void TForm_ChangeVisu::AxeRotChange()
{
    const QSlider* lon = FUi->TrackBarRotLong;
    const QSlider* lat = FUi->TrackBarRotLat;
    LatLongToXYZ(RotationAxis.x, RotationAxis.y, RotationAxis.z, 1, (lon->maximum() - lon->value()) / 2.0L,
                 (lat->maximum() - lat->value()) / 2.0L);
    Refresh();
}
