#pragma once
// The information window: an explanatory page beside the 3D scene window, in
// a viewer that fills the window and shows no images.

#include "platform/Forms.h"

#include <QString>

#include <memory>

namespace Ui {
class TForm_Information;
}
class THtmlPane;

class TForm_Information : public TForm {
    Q_OBJECT
public:
    explicit TForm_Information(QWidget* owner = nullptr);
    ~TForm_Information() override;

    THtmlPane* htmlInformation;
    // Loaded each time the window is shown; empty until the table of
    // contents names the page.
    QString PageFile;

protected:
    void FormShow() override;

private:
    std::unique_ptr<Ui::TForm_Information> FUi;
};

// The global Form_Information (declared in platform/Forms.h) as this class;
// created on first use.
TForm_Information* InformationWindow();
