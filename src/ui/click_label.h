#pragma once
// A label that reports a click: link labels, the logo, the announcement line
// and the status-bar panels.
#include <QLabel>
#include <QMouseEvent>

namespace lumorra {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = QString(), QWidget* parent = nullptr)
        : QLabel(text, parent) {}

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            m_pressed = true;
        QLabel::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        QLabel::mouseReleaseEvent(e);
        if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            emit clicked();
    }

private:
    bool m_pressed = false;
};

} // namespace lumorra
