#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

#include <functional>
#include <memory>

namespace test {

// What the modal window that was answered showed.
struct ModalSeen {
    bool answered = false;
    QString title;
    QString text;     // the text of its label named "Lab", when it has one
    QStringList buttons; // object names of its visible buttons
    QSize size;
};

// Waits (inside whatever modal loop comes next) for a modal window and presses its button named
// `buttonName`; an empty name presses nothing and closes it with `key` instead.
std::shared_ptr<ModalSeen> answerNextModal(const QString &buttonName, int key = 0, int timeoutMs = 5000);

// Runs `action` on the next modal window, inside its own event loop.
void onNextModal(const std::function<void(QWidget *)> &action, int timeoutMs = 5000);

// Waits for the next modal window with a line edit, types `text` into it and presses Enter.
std::shared_ptr<ModalSeen> typeIntoNextModal(const QString &text, int timeoutMs = 5000);

} // namespace test
