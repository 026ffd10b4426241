#pragma once

#include <QDialog>

namespace relations {

// The class picker. Created once at start-up; its contents come with its own part of the program.
class TFSelClase : public QDialog {
    Q_OBJECT
public:
    explicit TFSelClase(QWidget *parent = nullptr);
};

} // namespace relations
