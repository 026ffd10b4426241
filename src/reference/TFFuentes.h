#pragma once

#include <QDialog>

namespace reference {

// The sources window. Created once at start-up; its contents come with its own part of the program.
class TFFuentes : public QDialog {
    Q_OBJECT
public:
    explicit TFFuentes(QWidget *parent = nullptr);
};

} // namespace reference
