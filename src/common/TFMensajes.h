#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace common {

enum class MessageKind { Notice = 1, Question = 2, QuestionWithCancel = 3 };
enum class MessageResult { OK, Yes, No, Cancel };

// The program's own message box: every notice and question goes through it, so its caption, its
// button texts and its sizing are the same everywhere.
class TFMensajes : public QDialog {
    Q_OBJECT
public:
    static constexpr int OuterWidth = 200;
    static constexpr int FrameWidth = 4; // each side of a tool window's border

    TFMensajes(const QString &text, MessageKind kind, QWidget *parent = nullptr);
    MessageResult result() const { return m_result; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void press(MessageResult result);

    MessageKind m_kind;
    MessageResult m_result;
    QLabel *m_lab;
    QPushButton *m_aceptar;
    QPushButton *m_si;
    QPushButton *m_no;
    QPushButton *m_cancelar;
};

MessageResult RunMessageBox(const QString &text, MessageKind kind);
void ShowMessageBox(const QString &text);
bool AskYesNo(const QString &text);
MessageResult AskYesNoCancel(const QString &text);

} // namespace common
