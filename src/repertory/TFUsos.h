#pragma once

#include <QDialog>

namespace repertory {

// The repertorization window. Created once at start-up; its contents come with its own part of the program.
class TFUsos : public QDialog {
    Q_OBJECT
public:
    explicit TFUsos(QWidget *parent = nullptr);
};

} // namespace repertory
