#include "view/AddPointForm.h"

#include "platform/Numbers.h"
#include "scene/SceneState.h"
#include "view/ColorChoice.h"
#include "view/FormHelpers.h"

#include "ui_AddPointForm.h"

QString NewPointName;
long double NewPointMass = 0;
long double NewPointLongitude = 0;
long double NewPointLatitude = 0;

TForm_AddPoint* Form_AddPoint = nullptr;

TForm_AddPoint::TForm_AddPoint(QWidget* owner)
    : TModalForm(owner, Qt::Dialog | Qt::WindowStaysOnTopHint), FUi(std::make_unique<Ui::TForm_AddPoint>())
{
    FUi->setupUi(this);
    connect(FUi->BAddCol, &QPushButton::clicked, this, &TForm_AddPoint::BAddColClick);
    connect(FUi->BAddOK, &QPushButton::clicked, this, &TForm_AddPoint::BAddOKClick);
    connect(FUi->BAddKO, &QPushButton::clicked, this, &TForm_AddPoint::BAddKOClick);
    for (QLineEdit* box : {FUi->EAddPtLat, FUi->EAddPtLong, FUi->EAddPtMass})
        OnExit(box, [this, box]() { CheckIfReal(box); });
}

TForm_AddPoint::~TForm_AddPoint()
{
    if (Form_AddPoint == this)
        Form_AddPoint = nullptr;
}

void TForm_AddPoint::FormShow()
{
    CenterFormOnScreen(this);
    SetSwatchColor(FUi->EPtCol, NewPointColor);
}

void TForm_AddPoint::BAddColClick() { ChooseSwatchColor(NewPointColor, FUi->EPtCol); }

void TForm_AddPoint::CheckIfReal(QWidget* sender)
{
    auto* box = qobject_cast<QLineEdit*>(sender);
    if (box == nullptr)
        return;
    long double ignored;
    if (TryStrToFloat(box->text(), ignored))
        return;
    ShowPlainMessage(QStringLiteral("Bad floating point format"));
    box->setFocus(Qt::OtherFocusReason);
}

void TForm_AddPoint::BAddOKClick()
{
    // In this order: a box that does not convert stops here with an error,
    // leaving the values stored before it updated and the dialog open.
    NewPointName = FUi->EPtName->text();
    NewPointMass = StrToFloat(FUi->EAddPtMass->text());
    NewPointLongitude = StrToFloat(FUi->EAddPtLong->text());
    NewPointLatitude = StrToFloat(FUi->EAddPtLat->text());
    SetModalResult(mrOk);
}

void TForm_AddPoint::BAddKOClick() { SetModalResult(mrCancel); }
