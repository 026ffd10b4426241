#pragma once

#include <QDialog>

namespace reference {

// The glossary window. Created once at start-up; its contents come with its own part of the program.
class TFGlo : public QDialog {
    Q_OBJECT
public:
    explicit TFGlo(QWidget *parent = nullptr);
};

} // namespace reference
