#pragma once
// The program's modal message boxes: always titled "Brenn系列软件".
#include <QString>

class QWidget;

namespace lumorra {

enum class MessageIcon { Information, Warning, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };

// The box's title, the same for every message of the program.
QString messageBoxTitle();

// Shows a modal box and returns the pressed button as a
// QMessageBox::StandardButton value. Closing a Yes/No/Cancel box (Escape or
// the window's close button) answers QMessageBox::Cancel.
int showMessage(QWidget* parent, const QString& text,
                MessageIcon icon = MessageIcon::Information,
                MessageButtons buttons = MessageButtons::Ok);

// Thin wrappers for the usual shapes.
int showInfo(QWidget* parent, const QString& text);                  // information, OK
int showWarning(QWidget* parent, const QString& text);               // exclamation, OK
int askYesNo(QWidget* parent, const QString& text);                  // question, Yes/No
int askYesNoCancel(QWidget* parent, const QString& text,
                   MessageIcon icon = MessageIcon::Question);        // Yes/No/Cancel

} // namespace lumorra
