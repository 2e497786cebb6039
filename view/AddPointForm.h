#pragma once
// The add-point dialog: name, latitude, longitude and mass of one new point
// and the colour of points added by hand. It creates nothing: on OK it stores
// the values in the program-wide results below and closes with mrOk.

#include "view/ModalForm.h"

#include <QString>

#include <memory>

namespace Ui {
class TForm_AddPoint;
}

// Last values confirmed with OK (the colour is NewPointColor of the scene state).
extern QString NewPointName;
extern long double NewPointMass;
extern long double NewPointLongitude;
extern long double NewPointLatitude;

class TForm_AddPoint : public TModalForm {
    Q_OBJECT
public:
    explicit TForm_AddPoint(QWidget* owner = nullptr);
    ~TForm_AddPoint() override;


    void BAddColClick();
    void BAddOKClick();
    void BAddKOClick();
    // Refuses to let the learner leave a numeric box until its text is a real.
    void CheckIfReal(QWidget* sender);

protected:
    void FormShow() override;

private:
    std::unique_ptr<Ui::TForm_AddPoint> FUi;
};

extern TForm_AddPoint* Form_AddPoint;
