#include "platform/Dialogs.h"

#include "platform/Application.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

TDialogs* Installed = nullptr;

QWidget* DialogParent() { return QApplication::activeWindow(); }

} // namespace

TDialogs& Dialogs()
{
    static TQtDialogs real;
    return Installed ? *Installed : real;
}

void SetDialogs(TDialogs* dialogs) { Installed = dialogs; }

void TQtDialogs::ShowMessage(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, DialogParent());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool TQtDialogs::Confirm(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, DialogParent());
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

void TQtDialogs::ShowError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::NoButton, DialogParent());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

TColorDialogResult TQtDialogs::ChooseColor(int& color)
{
    const QColor chosen = QColorDialog::getColor(ColorFromBGR(color), DialogParent());
    if (!chosen.isValid())
        return TColorDialogResult::Cancelled;
    color = ColorToBGR(chosen);
    return TColorDialogResult::Chosen;
}

QColor ColorFromBGR(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int ColorToBGR(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void TRecordingDialogs::ShowMessage(const QString& caption, const QString& text)
{
    Shown.append({QStringLiteral("message"), caption, text});
}

bool TRecordingDialogs::Confirm(const QString& caption, const QString& text)
{
    Shown.append({QStringLiteral("confirm"), caption, text});
    return ConfirmAnswer;
}

void TRecordingDialogs::ShowError(const QString& message)
{
    Shown.append({QStringLiteral("error"), ApplicationTitle(), message});
}

TColorDialogResult TRecordingDialogs::ChooseColor(int& color)
{
    ++ColorRequests;
    if (ColorAnswer == TColorDialogResult::Chosen)
        color = ChosenColor;
    return ColorAnswer;
}
