#pragma once

#include <QDialog>

namespace reference {

// A web page viewer; no command of the program shows it. Created once at start-up; its contents come with its own part of the program.
class TFNavegador : public QDialog {
    Q_OBJECT
public:
    explicit TFNavegador(QWidget *parent = nullptr);
};

} // namespace reference
