#pragma once
// Message boxes and the colour dialog. Windows call these through Dialogs();
// tests install a double that records what was shown and answers.

#include <QList>
#include <QString>

enum class TColorDialogResult { Chosen, Cancelled, Unavailable };

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A plain box with one "OK" button.
    virtual void ShowMessage(const QString& caption, const QString& text) = 0;
    // A confirmation box with "OK" (default) and "Annuler" (cancel, also
    // Escape and the close box). True on "OK".
    virtual bool Confirm(const QString& caption, const QString& text) = 0;
    // The application's standard error box: the application title as
    // caption, the message, one "OK".
    virtual void ShowError(const QString& message) = 0;
    // Lets the learner pick a colour (0x00BBGGRR); `color` is the starting
    // colour and receives the choice.
    virtual TColorDialogResult ChooseColor(int& color) = 0;
};

TDialogs& Dialogs();
// Installs dialogs (not owned); nullptr restores the real boxes.
void SetDialogs(TDialogs* dialogs);

// Real Qt message boxes, modal to the active window.
class TQtDialogs : public TDialogs {
public:
    void ShowMessage(const QString& caption, const QString& text) override;
    bool Confirm(const QString& caption, const QString& text) override;
    void ShowError(const QString& message) override;
    TColorDialogResult ChooseColor(int& color) override;
};

// Records what was shown and answers from its fields.
class TRecordingDialogs : public TDialogs {
public:
    struct TShown {
        QString Kind; // "message", "confirm" or "error"
        QString Caption;
        QString Text;
    };
    void ShowMessage(const QString& caption, const QString& text) override;
    bool Confirm(const QString& caption, const QString& text) override;
    void ShowError(const QString& message) override;
    TColorDialogResult ChooseColor(int& color) override;

    QList<TShown> Shown;
    bool ConfirmAnswer = true;
    TColorDialogResult ColorAnswer = TColorDialogResult::Cancelled;
    int ChosenColor = 0;
    int ColorRequests = 0;
};

// Colour conversions between the program's 0x00BBGGRR integers and Qt.
class QColor;
QColor ColorFromBGR(int color);
int ColorToBGR(const QColor& color);
