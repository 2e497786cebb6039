#include "view/AddCplxForm.h"

#include "view/FormHelpers.h"

#include "ui_AddCplxForm.h"

QString NewComplexName;

TForm_AddCplx* Form_AddCplx = nullptr;

TForm_AddCplx::TForm_AddCplx(QWidget* owner)
    // Fixed single border, a caption and no title-bar buttons.
    : TModalForm(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , FUi(std::make_unique<Ui::TForm_AddCplx>())
{
    FUi->setupUi(this);
    setFixedSize(size());
    connect(FUi->BAddCplxOK, &QPushButton::clicked, this, &TForm_AddCplx::BAddCplxOKClick);
    connect(FUi->BAddCplxKO, &QPushButton::clicked, this, &TForm_AddCplx::BAddCplxKOClick);
    // Placed once, at creation (FormCreate).
    CenterFormOnScreen(this);
}

TForm_AddCplx::~TForm_AddCplx()
{
    if (Form_AddCplx == this)
        Form_AddCplx = nullptr;
}

void TForm_AddCplx::BAddCplxOKClick()
{
    NewComplexName = FUi->EClxName->text();
    SetModalResult(mrOk);
}

void TForm_AddCplx::BAddCplxKOClick() { SetModalResult(mrCancel); }
