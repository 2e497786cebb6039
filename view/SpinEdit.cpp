#include "view/SpinEdit.h"

#include "platform/Numbers.h"

#include <QLineEdit>

#include <algorithm>

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) { setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue); }

int TSpinEdit::ValueOfText(const QString& text) const
{
    return std::clamp(StrToIntDef(text, minimum()), minimum(), maximum());
}

int TSpinEdit::Value() const { return ValueOfText(lineEdit()->text()); }

QValidator::State TSpinEdit::validate(QString& text, int& pos) const
{
    Q_UNUSED(pos);
    const int fallback = minimum() - 1; // cannot be a valid value
    const int value = StrToIntDef(text, fallback);
    if (value != fallback && value >= minimum() && value <= maximum())
        return QValidator::Acceptable;
    return QValidator::Intermediate; // any text may be typed; fixup decides
}

void TSpinEdit::fixup(QString& text) const { text = QString::number(ValueOfText(text)); }

int TSpinEdit::valueFromText(const QString& text) const { return ValueOfText(text); }
