#pragma once
// The tutorial's table of contents: its fixed chapters as a tree; pressing a
// chapter's label runs its action.

#include "app/GestionSommaire.h"
#include "platform/Forms.h"

#include <memory>

namespace Ui {
class TForm_SommaireViewer;
}
class QLabel;
class QFrame;
class QPushButton;
class TSommaireTreeView;

class TForm_SommaireViewer : public TForm {
    Q_OBJECT
public:
    explicit TForm_SommaireViewer(QWidget* owner = nullptr);
    ~TForm_SommaireViewer() override;

    QLabel* Panel1;
    TSommaireTreeView* TreeViewSommaire;
    QFrame* PanelSommaire;
    QPushButton* BQuit;
    QPushButton* Button_Sommaire;

    TSommaire* Sommaire = nullptr;
    TForm* ReturnWindow = nullptr;

    void TreeViewSommaireMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OpenPage();
    void OpenExperiment();
    void ShowNothingYet();
    void Button_SommaireClick();
    void BQuitClick();

    // The folder of the program's executable, ending with a separator.
    static QString ProgramFolder();

protected:
    void FormCreate();
    void BuildSommaire();
    void FormClose() override;
    void FormDeactivate() override;
    void FormDestroy();

private:
    std::unique_ptr<Ui::TForm_SommaireViewer> FUi;
};

extern TForm_SommaireViewer* Form_SommaireViewer;
