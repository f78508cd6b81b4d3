#pragma once
// Small builders shared by the page widgets: every control is created with
// its objectName and caption in one call, so a page reads like its layout.
#include <QString>
#include <QStringList>

class QWidget;
class QPushButton;
class QLineEdit;
class QLabel;
class QGroupBox;
class QHBoxLayout;
class QBoxLayout;

namespace lumorra::pageui {

// "Command27", 12 -> "Command27(12)": the name of one element of a control array.
QString arrayName(const QString& array, int index);

QPushButton* button(const QString& name, const QString& caption, QWidget* parent);
QLineEdit* lineEdit(const QString& name, QWidget* parent, const QString& text = {});
QLabel* label(const QString& caption, QWidget* parent);
QGroupBox* frame(const QString& caption, QWidget* parent);

// Buttons `array(first)` … in order, one per caption, added to `row`.
void addButtonArray(QBoxLayout* row, const QString& array, int first,
                    const QStringList& captions, QWidget* parent);

// The usual fetch / next / previous trio of a paged listing.
QStringList pagingCaptions();

// Margins and spacing used by every page, so all pages line up.
void tidy(QBoxLayout* layout, bool outer);

} // namespace lumorra::pageui
