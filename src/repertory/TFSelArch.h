#pragma once

#include <QDialog>

namespace repertory {

// The saved-repertory chooser. Created once at start-up; its contents come with its own part of the program.
class TFSelArch : public QDialog {
    Q_OBJECT
public:
    explicit TFSelArch(QWidget *parent = nullptr);
};

} // namespace repertory
