#include "Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <optional>

namespace test {

namespace {

// `typed` travels by value: every retry is a new timer callback, and nothing of an earlier one
// may be pointed at once it has run.
void poll(const std::shared_ptr<ModalSeen> &seen, const QString &buttonName, int key, const std::shared_ptr<QElapsedTimer> &clock,
          int timeoutMs, const std::optional<QString> &typed = std::nullopt)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        if (clock->elapsed() < timeoutMs)
            QTimer::singleShot(10, [=] { poll(seen, buttonName, key, clock, timeoutMs, typed); });
        return;
    }
    seen->answered = true;
    seen->title = modal->windowTitle();
    seen->size = modal->size();
    if (auto *lab = modal->findChild<QLabel *>(QStringLiteral("Lab")))
        seen->text = lab->text();
    for (QAbstractButton *b : modal->findChildren<QAbstractButton *>())
        if (b->isVisible())
            seen->buttons << b->objectName();
    if (typed) {
        if (auto *edit = modal->findChild<QLineEdit *>()) {
            seen->text = edit->text();
            edit->setText(*typed);
            QTest::keyClick(edit, Qt::Key_Return);
            return;
        }
    }
    if (!buttonName.isEmpty()) {
        if (auto *b = modal->findChild<QAbstractButton *>(buttonName)) {
            b->click();
            return;
        }
    }
    QWidget *target = modal->focusWidget() ? modal->focusWidget() : modal;
    QTest::keyClick(target, Qt::Key(key ? key : Qt::Key_Escape));
}

} // namespace

std::shared_ptr<ModalSeen> answerNextModal(const QString &buttonName, int key, int timeoutMs)
{
    auto seen = std::make_shared<ModalSeen>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(seen, buttonName, key, clock, timeoutMs); });
    return seen;
}

} // namespace test

namespace test {

std::shared_ptr<ModalSeen> typeIntoNextModal(const QString &text, int timeoutMs)
{
    auto seen = std::make_shared<ModalSeen>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(seen, QString(), 0, clock, timeoutMs, text); });
    return seen;
}

} // namespace test

namespace test {

namespace {

void waitForModal(const std::function<void(QWidget *)> &action, const std::shared_ptr<QElapsedTimer> &clock, int timeoutMs)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        action(modal);
        return;
    }
    if (clock->elapsed() < timeoutMs)
        QTimer::singleShot(10, [=] { waitForModal(action, clock, timeoutMs); });
}

} // namespace

void onNextModal(const std::function<void(QWidget *)> &action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { waitForModal(action, clock, timeoutMs); });
}

} // namespace test
