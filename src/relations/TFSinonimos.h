#pragma once

#include <QDialog>

namespace relations {

// The synonyms dialog. Created once at start-up; its contents come with its own part of the program.
class TFSinonimos : public QDialog {
    Q_OBJECT
public:
    explicit TFSinonimos(QWidget *parent = nullptr);
};

} // namespace relations
