#include "modal_answerer.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace lumorra::testing {

ModalAnswerer::ModalAnswerer(QObject* parent)
    : QObject(parent)
{
    m_timer = new QTimer(this);
    m_timer->setInterval(15);
    connect(m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer->start();
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::queue(QMessageBox::StandardButton button)
{
    m_queue << Answer{button, false};
}

void ModalAnswerer::queueClose()
{
    m_queue << Answer{QMessageBox::NoButton, true};
}

void ModalAnswerer::clear()
{
    m_queue.clear();
    m_texts.clear();
    m_titles.clear();
    m_icons.clear();
    m_buttons.clear();
    m_dialogs.clear();
}

void ModalAnswerer::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    for (const QPointer<QWidget>& seen : std::as_const(m_handled)) {
        if (seen == modal)
            return;   // already answered, still closing
    }
    m_handled.removeAll(QPointer<QWidget>());
    m_handled << QPointer<QWidget>(modal);

    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        answerBox(box);
        return;
    }
    m_dialogs << modal->objectName();
    if (m_dialogHandler) {
        m_dialogHandler(modal);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

void ModalAnswerer::answerBox(QMessageBox* box)
{
    m_texts << box->text();
    m_titles << box->windowTitle();
    m_icons << box->icon();
    m_buttons << box->standardButtons();

    const Answer wanted = m_queue.isEmpty() ? Answer{m_fallback, false} : m_queue.takeFirst();
    if (wanted.closeWindow) {
        QPointer<QMessageBox> target(box);
        QTimer::singleShot(0, box, [target] {
            if (target)
                target->close();
        });
        return;
    }
    QAbstractButton* button = wanted.button != QMessageBox::NoButton ? box->button(wanted.button) : nullptr;
    if (!button)
        button = box->escapeButton();
    if (!button)
        button = box->defaultButton();
    if (button) {
        // Clicked from a fresh event, not from inside this poll.
        QPointer<QAbstractButton> target(button);
        QTimer::singleShot(0, box, [target] {
            if (target)
                target->click();
        });
    } else {
        box->reject();
    }
}

} // namespace lumorra::testing
