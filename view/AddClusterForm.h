#pragma once
// The add-cluster dialog: name, number of points (1 to 5000) and colour of a
// cluster of random points. On OK it stores them in the results below.

#include "view/ModalForm.h"

#include <QString>

#include <memory>

namespace Ui {
class TForm_AddCluster;
}

extern QString NewClusterName;
extern int NewClusterSize;
extern int NewClusterColor; // 0x00BBGGRR, kept for the whole run

class TForm_AddCluster : public TModalForm {
    Q_OBJECT
public:
    explicit TForm_AddCluster(QWidget* owner = nullptr);
    ~TForm_AddCluster() override;


    void BAddColClick();
    void BAddOKClick();
    void BAddKOClick();

protected:
    void FormShow() override;

private:
    std::unique_ptr<Ui::TForm_AddCluster> FUi;
};

extern TForm_AddCluster* Form_AddCluster;
