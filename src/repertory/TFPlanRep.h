#pragma once

#include <QDialog>

namespace repertory {

// The repertorial chart window. Created once at start-up; its contents come with its own part of the program.
class TFPlanRep : public QDialog {
    Q_OBJECT
public:
    explicit TFPlanRep(QWidget *parent = nullptr);
};

} // namespace repertory
