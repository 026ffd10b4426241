#pragma once

#include <QDialog>

namespace reference {

// The full-text search dialog. Created once at start-up; its contents come with its own part of the program.
class TFBuscar : public QDialog {
    Q_OBJECT
public:
    explicit TFBuscar(QWidget *parent = nullptr);
};

} // namespace reference
