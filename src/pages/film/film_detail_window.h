#pragma once
// Form11, "影片详情": a BT board post shown as a film – poster, description,
// synopsis and its two download addresses. A modal window of its own (not a
// child of the main window, whose controls share names with its own), made
// afresh for every post and gone once closed.
#include <QDialog>
#include <QString>

class QImage;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lumorra {

struct FilmDetail;

class FilmDetailWindow : public QDialog {
    Q_OBJECT
public:
    // Form_Load: the window comes up without an icon and the main window's
    // status line says the film is in.
    FilmDetailWindow();

    // Text2, Text1 and the two addresses; a button whose address is empty
    // is disabled.
    void fill(const FilmDetail& detail);
    void setPoster(const QImage& image);
    // Shows the window modally, over the main window; returns at once.
    void showOver(QWidget* form1);

    QString a() const { return m_a; }   // first download address
    QString b() const { return m_b; }   // second download address

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    QString m_a;
    QString m_b;
    QLabel* m_poster = nullptr;                     // Image1
    QPlainTextEdit* m_synopsisBox = nullptr;        // Text1
    QPlainTextEdit* m_descriptionBox = nullptr;     // Text2
    QPushButton* m_firstAddressButton = nullptr;    // Command1
    QPushButton* m_secondAddressButton = nullptr;   // Command2
};

} // namespace lumorra
