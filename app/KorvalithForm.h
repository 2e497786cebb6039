#pragma once
// The title screen: leads into the tutorial's table of contents and ends the
// application after a confirmation.

#include "platform/Forms.h"

#include <memory>

namespace Ui {
class TForm_Korvalith;
}
class QLabel;
class QPushButton;

class TForm_Korvalith : public TForm {
    Q_OBJECT
public:
    explicit TForm_Korvalith(QWidget* owner = nullptr);
    ~TForm_Korvalith() override;

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button_didactitiel;
    QPushButton* Button_simulations;
    QPushButton* Button1;

    void Button_didactitielClick();
    void Button1Click();

protected:
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormDeactivate() override;

private:
    std::unique_ptr<Ui::TForm_Korvalith> FUi;
};

extern TForm_Korvalith* Form_Korvalith;
