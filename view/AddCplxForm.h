#pragma once
// The add-complex dialog: the name of a new, empty container of objects.

#include "view/ModalForm.h"

#include <QString>

#include <memory>

namespace Ui {
class TForm_AddCplx;
}

extern QString NewComplexName;

class TForm_AddCplx : public TModalForm {
    Q_OBJECT
public:
    explicit TForm_AddCplx(QWidget* owner = nullptr);
    ~TForm_AddCplx() override;


    void BAddCplxOKClick();
    void BAddCplxKOClick();

private:
    std::unique_ptr<Ui::TForm_AddCplx> FUi;
};

extern TForm_AddCplx* Form_AddCplx;
