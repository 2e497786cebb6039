#pragma once
// Failure messages show QStrings as text rather than as code units.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
