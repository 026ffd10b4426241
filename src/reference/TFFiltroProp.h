#pragma once

#include <QDialog>

namespace reference {

// The property filter dialog. Created once at start-up; its contents come with its own part of the program.
class TFFiltroProp : public QDialog {
    Q_OBJECT
public:
    explicit TFFiltroProp(QWidget *parent = nullptr);
};

} // namespace reference
