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
class QListWidget;
class QBoxLayout;
class QVBoxLayout;

namespace lumorra::pageui {

// "Command27", 12 -> "Command27(12)": the name of one element of a control array.
QString arrayName(const QString& array, int index);

QPushButton* button(const QString& name, const QString& caption, QWidget* parent);
QLineEdit* lineEdit(const QString& name, QWidget* parent, const QString& text = {});
QLabel* label(const QString& caption, QWidget* parent);
QGroupBox* frame(const QString& caption, QWidget* parent);

// A caption followed by a text box that takes the row's spare width, both
// added to `row`; returns the box.
QLineEdit* addCaptionedBox(QBoxLayout* row, const QString& caption, const QString& name,
                           QWidget* parent, const QString& text = {});

// Buttons `array(first)` … in order, one per caption, added to `row`.
void addButtonArray(QBoxLayout* row, const QString& array, int first,
                    const QStringList& captions, QWidget* parent);

// The usual fetch / next / previous trio of a paged listing.
QStringList pagingCaptions();

// A row of the trio `array(first)` … `array(first + 2)` with the spare width
// after it, added to `page`; further controls added to the row stand at its
// right end.
QHBoxLayout* addPagingRow(QBoxLayout* page, const QString& array, int first, QWidget* parent);

// A framed, short list box named `name` for the addresses resolved from a
// row, added to `page`; returns the list box.
QListWidget* addAddressBox(QBoxLayout* page, const QString& caption, const QString& name,
                           QWidget* parent);

// Margins and spacing used by every page, so all pages line up.
void tidy(QBoxLayout* layout, bool outer);

// The top-to-bottom layout of a page or tab, with the outer margins.
QVBoxLayout* pageColumn(QWidget* owner);

} // namespace lumorra::pageui
