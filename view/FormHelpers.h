#pragma once
// Small window helpers of the 3D windows.

#include <QString>

#include <functional>

class QWidget;
class TForm;

// Centres the window on its screen with the program's rounding:
// top = Round(screen height / 2) - Round(window height / 2), the same for
// left with widths, outer sizes, halves to even.
void CenterFormOnScreen(TForm* form);

// A plain message box with the application's title as caption.
void ShowPlainMessage(const QString& text);

// Shows a 0x00BBGGRR colour as the background of an edit box used as a swatch.
void SetSwatchColor(QWidget* swatch, int color);
int SwatchColor(const QWidget* swatch);

// Runs `handler` each time `widget` hands the keyboard focus to another
// control (the "exit" of an edit box). Focus lost because another window
// became active, such as the message box the handler itself may show, does
// not count.
void OnExit(QWidget* widget, std::function<void()> handler);
