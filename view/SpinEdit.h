#pragma once
// A spin edit that lets the learner type any text: its value is the integer
// in the text, the minimum when the text is not an integer, and a value
// outside the range is replaced by the nearer limit when the box loses the
// focus (and whenever Value is read, so an unchecked text never escapes).

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value) { setValue(value); }

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    int valueFromText(const QString& text) const override;

private:
    int ValueOfText(const QString& text) const;
};
