#pragma once
// Answers the program's modal boxes during a test: a timer looks for the
// active modal widget, records what it says and presses a button, so a
// handler that asks a question runs on as if the user had answered.
//
//     ModalAnswerer answerer;
//     answerer.queue(QMessageBox::No);           // first box: No
//     window->findChild<QPushButton*>("Command1")->click();
//     QCOMPARE(answerer.texts(), QStringList{"…"});
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QTimer;

namespace lumorra::testing {

class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject* parent = nullptr);
    ~ModalAnswerer() override;

    // The answer for the next message box not yet answered; answers are
    // used in the order queued.
    void queue(QMessageBox::StandardButton button);
    // The next box not yet answered is closed through its window, the way
    // the title bar's close button does, instead of by one of its buttons.
    void queueClose();
    // The answer once the queue is empty (default: the box's escape button,
    // i.e. OK, No or Cancel).
    void setFallback(QMessageBox::StandardButton button) { m_fallback = button; }

    // Modal windows that are not message boxes (a settings window, say) go
    // to this handler; without one they are rejected (closed).
    void onDialog(std::function<void(QWidget*)> handler) { m_dialogHandler = std::move(handler); }

    // What every message box said, in order.
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    QList<QMessageBox::Icon> icons() const { return m_icons; }
    QList<QMessageBox::StandardButtons> buttons() const { return m_buttons; }
    // The object names of every modal window that was not a message box.
    QStringList dialogs() const { return m_dialogs; }
    int count() const { return int(m_texts.size()); }
    QString lastText() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    void clear();

private:
    void poll();
    void answerBox(QMessageBox* box);

    struct Answer {
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        bool closeWindow = false;
    };

    QTimer* m_timer = nullptr;
    QList<Answer> m_queue;
    QMessageBox::StandardButton m_fallback = QMessageBox::NoButton;
    std::function<void(QWidget*)> m_dialogHandler;
    QList<QPointer<QWidget>> m_handled;
    QStringList m_texts;
    QStringList m_titles;
    QList<QMessageBox::Icon> m_icons;
    QList<QMessageBox::StandardButtons> m_buttons;
    QStringList m_dialogs;
};

} // namespace lumorra::testing
