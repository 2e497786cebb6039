#include "view/AddClusterForm.h"

#include "view/ColorChoice.h"
#include "view/FormHelpers.h"

#include "ui_AddClusterForm.h"

QString NewClusterName;
int NewClusterSize = 0;
int NewClusterColor = 255;

TForm_AddCluster* Form_AddCluster = nullptr;

TForm_AddCluster::TForm_AddCluster(QWidget* owner)
    : TModalForm(owner, Qt::Dialog | Qt::WindowStaysOnTopHint), FUi(std::make_unique<Ui::TForm_AddCluster>())
{
    FUi->setupUi(this);
    connect(FUi->BAddCol, &QPushButton::clicked, this, &TForm_AddCluster::BAddColClick);
    connect(FUi->BAddOK, &QPushButton::clicked, this, &TForm_AddCluster::BAddOKClick);
    connect(FUi->BAddKO, &QPushButton::clicked, this, &TForm_AddCluster::BAddKOClick);
}

TForm_AddCluster::~TForm_AddCluster()
{
    if (Form_AddCluster == this)
        Form_AddCluster = nullptr;
}

void TForm_AddCluster::FormShow()
{
    SetSwatchColor(FUi->EClusCol, NewClusterColor);
    CenterFormOnScreen(this);
}

void TForm_AddCluster::BAddColClick() { ChooseSwatchColor(NewClusterColor, FUi->EClusCol); }

void TForm_AddCluster::BAddOKClick()
{
    NewClusterName = FUi->EClusName->text();
    NewClusterSize = FUi->SpENbClusPt->Value();
    SetModalResult(mrOk);
}

void TForm_AddCluster::BAddKOClick() { SetModalResult(mrCancel); }
