#pragma once
// The status line: panel 2 of S1. Searches and row actions report here by
// replacing its text; nothing is appended.
#include <QString>

class QLabel;

namespace lumorra {

class StatusLine {
public:
    static void attach(QLabel* panel);   // the main window's panel 2
    static void set(const QString& text);
    static QString text();
};

} // namespace lumorra
