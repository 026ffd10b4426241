#pragma once

#include <QDialog>

namespace reference {

// A read-only rich-text viewer; no command of the program shows it. Created once at start-up; its contents come with its own part of the program.
class TFBibliog : public QDialog {
    Q_OBJECT
public:
    explicit TFBibliog(QWidget *parent = nullptr);
};

} // namespace reference
