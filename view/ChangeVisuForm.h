#pragma once
// The view settings dialog: nine vertical track bars (minimum at the top)
// and the field-of-view box set the observer's distance, longitude and
// latitude, the zoom, the clipping distances and the rotation axis. Every
// change is written to the view parameters at once and the scene window is
// asked to refresh. Each creation and showing first sets the controls from
// the parameters (SyncControls), which writes them back rounded to the
// bars' steps.

#include "platform/Forms.h"
#include "scene/SceneState.h"

#include <memory>

class QSlider;
class TForm_SGLPoints;

namespace Ui {
class TForm_ChangeVisu;
}

// One map per track bar, position to value, built at the dialog's creation.
extern TLinearMap PosDisMap;
extern TLinearMap PosLongMap;
extern TLinearMap PosLatMap;
extern TLinearMap ZoomFinMap;
extern TLinearMap ZoomGrosMap;
extern TLinearMap ZNearMap;
extern TLinearMap ZfarMap;
extern TLinearMap RotLongMap;
extern TLinearMap RotLatMap;

class TForm_ChangeVisu : public TForm {
    Q_OBJECT
public:
    explicit TForm_ChangeVisu(QWidget* owner = nullptr);
    ~TForm_ChangeVisu() override;

    // Set by the scene window right after creating the dialog; null before.
    TForm_SGLPoints* SceneWindow = nullptr;

    // Sets every control from the current view parameters.
    void SyncControls();

    void ObsPosChange();
    void ZoomChange();
    void EditZoomFactorChange();
    void EditZoomFactorExit();
    void TrackBarZNearChange();
    void TrackBarZfarChange();
    void AxeRotChange();

protected:
    void FormCreate();
    void FormShow() override;

private:
    void Refresh();
    std::unique_ptr<Ui::TForm_ChangeVisu> FUi;
};

extern TForm_ChangeVisu* Form_ChangeVisu;
