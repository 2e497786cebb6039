#pragma once
// A window shown as a modal dialog: ShowModal runs a local event loop until a
// handler sets a non-zero result or the window is closed by other means, which
// counts as cancel. Callers act only on mrOk.

#include "platform/Forms.h"

class QEventLoop;

class TModalForm : public TForm {
    Q_OBJECT
public:
    static constexpr int mrNone = 0;
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit TModalForm(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Window);

    int ShowModal();
    int ModalResult() const { return FModalResult; }
    // A non-zero result hides the window and ends ShowModal.
    void SetModalResult(int result);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QEventLoop* FLoop = nullptr;
    int FModalResult = mrNone;
};
