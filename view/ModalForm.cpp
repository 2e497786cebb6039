#include "view/ModalForm.h"

#include <QEventLoop>
#include <QHideEvent>

TModalForm::TModalForm(QWidget* owner, Qt::WindowFlags flags) : TForm(owner, flags) {}

int TModalForm::ShowModal()
{
    if (FLoop != nullptr)
        return mrCancel; // already running: a second modal showing cannot nest
    FModalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FLoop = &loop;
    Show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    FLoop = nullptr;
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    return FModalResult;
}

void TModalForm::SetModalResult(int result)
{
    FModalResult = result;
    if (result != mrNone && FLoop != nullptr)
        hide();
}

void TModalForm::hideEvent(QHideEvent* event)
{
    TForm::hideEvent(event);
    // Minimising is not an answer; any other hiding ends the dialog.
    if (event->spontaneous() || FLoop == nullptr)
        return;
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    FLoop->quit();
}
