#include "app/KorvalithForm.h"

#include "app/SommaireDidacticielForm.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"

#include "ui_KorvalithForm.h"

TForm_Korvalith* Form_Korvalith = nullptr;

TForm_Korvalith::TForm_Korvalith(QWidget* owner) : TForm(owner), FUi(std::make_unique<Ui::TForm_Korvalith>())
{
    FUi->setupUi(this);
    Label1 = FUi->Label1;
    Label2 = FUi->Label2;
    Button_didactitiel = FUi->Button_didactitiel;
    Button_simulations = FUi->Button_simulations;
    Button1 = FUi->Button1;

    setBackgroundRole(QPalette::Button);
    SetFontPixels(this, QStringLiteral("MS Sans Serif"), 11);
    SetFontPixels(Label1, QStringLiteral("Times New Roman"), 64);
    SetFontPixels(Label2, QStringLiteral("MS Sans Serif"), 16, TFontWeight::Bold);
    SetFontPixels(Button_didactitiel, QStringLiteral("MS Sans Serif"), 16);
    for (QPushButton* button : {Button_didactitiel, Button_simulations, Button1})
        button->setAutoDefault(false);

    connect(Button_didactitiel, &QPushButton::clicked, this, &TForm_Korvalith::Button_didactitielClick);
    connect(Button1, &QPushButton::clicked, this, &TForm_Korvalith::Button1Click);
    SetWindowState(TWindowState::wsMaximized);
}

TForm_Korvalith::~TForm_Korvalith() = default;

void TForm_Korvalith::Button_didactitielClick()
{
    if (Form_SommaireViewer == nullptr)
        Form_SommaireViewer = new TForm_SommaireViewer();
    Form_SommaireViewer->ReturnWindow = this;
    Form_SommaireViewer->SetWindowState(TWindowState::wsMaximized);
    Form_SommaireViewer->Show();
    SetWindowState(TWindowState::wsMinimized);
}

void TForm_Korvalith::Button1Click() { Close(); }

bool TForm_Korvalith::FormCloseQuery()
{
    return Dialogs().Confirm(QStringLiteral("Confirmation"), QStringLiteral("Quitter l'application ?"));
}

void TForm_Korvalith::FormClose()
{
    // The main window closing ends the application.
    TerminateApplication();
}

void TForm_Korvalith::FormDeactivate() { SetWindowState(TWindowState::wsMinimized); }
