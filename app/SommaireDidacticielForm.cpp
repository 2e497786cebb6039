#include "app/SommaireDidacticielForm.h"

#include "app/HtmlPageForm.h"
#include "app/InformationForm.h"
#include "app/KorvalithForm.h"
#include "app/SommaireTreeView.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "view/SGLPointsForm.h"

#include "ui_SommaireDidacticielForm.h"

TForm_SommaireViewer* Form_SommaireViewer = nullptr;

TForm_SommaireViewer::TForm_SommaireViewer(QWidget* owner)
    : TForm(owner), FUi(std::make_unique<Ui::TForm_SommaireViewer>())
{
    FUi->setupUi(this);
    Panel1 = FUi->Panel1;
    TreeViewSommaire = FUi->TreeViewSommaire;
    PanelSommaire = FUi->PanelSommaire;
    BQuit = FUi->BQuit;
    Button_Sommaire = FUi->Button_Sommaire;

    setBackgroundRole(QPalette::Button);
    SetFontPixels(this, QStringLiteral("MS Sans Serif"), 11);
    SetFontPixels(Panel1, QStringLiteral("Times New Roman"), 32);
    SetFontPixels(TreeViewSommaire, QStringLiteral("Times New Roman"), 24);
    SetFontPixels(Button_Sommaire, QStringLiteral("MS Sans Serif"), 16);
    QPalette treePalette = TreeViewSommaire->palette();
    treePalette.setColor(QPalette::Text, Qt::blue);
    treePalette.setColor(QPalette::Base, palette().color(QPalette::Button));
    TreeViewSommaire->setPalette(treePalette);

    TreeViewSommaire->OnMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        TreeViewSommaireMouseDown(button, shift, x, y);
    };
    connect(BQuit, &QPushButton::clicked, this, &TForm_SommaireViewer::BQuitClick);
    connect(Button_Sommaire, &QPushButton::clicked, this, &TForm_SommaireViewer::Button_SommaireClick);
    FormCreate();
}

TForm_SommaireViewer::~TForm_SommaireViewer() { FormDestroy(); }

QString TForm_SommaireViewer::ProgramFolder() { return FileSystem().ProgramFolder(); }

void TForm_SommaireViewer::FormCreate()
{
    BuildSommaire();
    Sommaire->FillTree(TreeViewSommaire);
}

void TForm_SommaireViewer::BuildSommaire()
{
    Sommaire = new TSommaire(QStringLiteral("Sommaire"));
    const QString folder = ProgramFolder();
    const QString introduction = folder + QStringLiteral("Docs\\Introduction.htm");
    Sommaire->AddItem(QStringLiteral("1 - Introduction"), introduction, [this]() { OpenPage(); });
    Sommaire->AddItem(QStringLiteral("2 - Se familiariser avec l'espace de calcul "),
                      folder + QStringLiteral("Docs\\VisualisationEspaceDeCalcul.htm"), [this]() { OpenExperiment(); });
    Sommaire->AddItem(QStringLiteral("3 - rien pour l'instant "), introduction, [this]() { ShowNothingYet(); });
    Sommaire->AddItem(QStringLiteral("4 - etc ..."), introduction, [this]() { ShowNothingYet(); });
}

void TForm_SommaireViewer::TreeViewSommaireMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    QTreeWidgetItem* node = TreeViewSommaire->LabelAt(QPoint(x, y));
    if (node == nullptr)
        return;
    TreeViewSommaire->setCurrentItem(node);
    if (button != Qt::LeftButton)
        return;
    auto* item = dynamic_cast<TSommaireItem*>(TSommaireItem::NodeData(TreeViewSommaire->currentItem()));
    if (item == nullptr)
        return;
    item->Execute();
}

void TForm_SommaireViewer::OpenPage()
{
    if (Form_Html == nullptr)
        Form_Html = new TForm_Html();
    auto* item = CheckedCast<TSommaireItem>(TSommaireItem::NodeData(TreeViewSommaire->currentItem()));
    if (item != nullptr)
        Form_Html->PageFile = item->FileName;
    Form_Html->ReturnWindow = this;
    Form_Html->Show();
    Form_Html->SetWindowState(TWindowState::wsMaximized);
    Hide();
}

void TForm_SommaireViewer::OpenExperiment()
{
    TForm_Information* information = InformationWindow();
    information->SetCaption(QStringLiteral("Quelques explications..."));
    // The page is named here again, not taken from the chapter's entry.
    information->PageFile = ProgramFolder() + QStringLiteral("Docs\\VisualisationEspaceDeCalcul.htm");
    if (Form_SGLPoints == nullptr)
        Form_SGLPoints = new TForm_SGLPoints();
    Form_SGLPoints->ReturnWindow = this;
    Form_SGLPoints->Show();
    Hide();
}

void TForm_SommaireViewer::ShowNothingYet()
{
    Dialogs().ShowMessage(ApplicationTitle(),
                          QStringLiteral(" On a dit :  \"Rien pour l'instant \"   !!!   <:o) "));
}

void TForm_SommaireViewer::Button_SommaireClick() { Close(); }

void TForm_SommaireViewer::FormClose()
{
    if (ReturnWindow != nullptr)
        ReturnWindow->SetWindowState(TWindowState::wsMaximized);
}

void TForm_SommaireViewer::BQuitClick()
{
    if (Form_Korvalith != nullptr)
        Form_Korvalith->Close();
}

void TForm_SommaireViewer::FormDeactivate() { SetWindowState(TWindowState::wsMinimized); }

void TForm_SommaireViewer::FormDestroy() { FreeObjectAndClear(Sommaire); }
