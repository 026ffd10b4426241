#include "TFMensajes.h"

#include "AppContext.h"

#include "widgets/Toolkit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace common {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, int width)
{
    QPushButton *b = widgets::button(name, text, parent);
    b->resize(width, 25);
    return b;
}

} // namespace

TFMensajes::TFMensajes(const QString &text, MessageKind kind, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_kind(kind),
      m_result(kind == MessageKind::Notice ? MessageResult::OK : (kind == MessageKind::Question ? MessageResult::No : MessageResult::Cancel))
{
    setObjectName(QStringLiteral("FMensajes"));
    setModal(true);
    const AppContext &ctx = AppContext::current();
    setWindowTitle(ctx.applicationTitle);
    const bool english = ctx.EnglishMode;

    m_lab = new QLabel(text, this);
    m_lab->setObjectName(QStringLiteral("Lab"));
    m_lab->setWordWrap(true);
    m_lab->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    m_lab->setFont(font);
    m_lab->setStyleSheet(QStringLiteral("color: #5a3214;")); // dark brown

    m_aceptar = makeButton(this, "Aceptar", english ? QStringLiteral("OK") : QStringLiteral("Aceptar"), 79);
    m_si = makeButton(this, "si", english ? QStringLiteral("&Yes") : QStringLiteral("&Si"), 67);
    m_no = makeButton(this, "No", QStringLiteral("&No"), 67);
    m_cancelar = makeButton(this, "Cancelar", english ? QStringLiteral("Cancel") : QStringLiteral("Cancelar"), 79);
    connect(m_aceptar, &QPushButton::clicked, this, [this] { press(MessageResult::OK); });
    connect(m_si, &QPushButton::clicked, this, [this] { press(MessageResult::Yes); });
    connect(m_no, &QPushButton::clicked, this, [this] { press(MessageResult::No); });
    connect(m_cancelar, &QPushButton::clicked, this, [this] { press(MessageResult::Cancel); });

    // The text wraps at the client width of a 200-pixel window; the window is then 50 pixels wider
    // than that, with 15 pixels above and below the text and 33 under it for the buttons.
    const int wrapWidth = OuterWidth - 2 * FrameWidth;
    const int textHeight = m_lab->heightForWidth(wrapWidth);
    const int labelHeight = textHeight + 30;
    const int labelWidth = wrapWidth + 50;
    m_lab->setGeometry(0, 0, labelWidth, labelHeight);
    setFixedSize(labelWidth, labelHeight + 33);

    m_aceptar->setVisible(kind == MessageKind::Notice);
    m_si->setVisible(kind != MessageKind::Notice);
    m_no->setVisible(kind != MessageKind::Notice);
    m_cancelar->setVisible(kind == MessageKind::QuestionWithCancel);

    const int c = labelWidth / 2;
    const int top = labelHeight + 33 - 6 - 25;
    m_aceptar->move(c - 40, top);
    m_si->move(c - 111, top);
    m_no->move(c - 39, top);
    m_cancelar->move(c + 33, top);
    if (kind == MessageKind::Question) {
        m_si->move(c - 68, top);
        m_no->move(c + 4, top);
    }
    QPushButton *defaultButton = kind == MessageKind::Notice ? m_aceptar : m_si;
    defaultButton->setDefault(true);
    defaultButton->setFocus();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFMensajes::press(MessageResult result)
{
    m_result = result;
    done(int(result));
}

void TFMensajes::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus; without one, the default button.
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget());
            focused && focused->isVisible() && (focused == m_aceptar || focused == m_si || focused == m_no || focused == m_cancelar)) {
            focused->click();
            return;
        }
        press(m_kind == MessageKind::Notice ? MessageResult::OK : MessageResult::Yes);
        return;
    case Qt::Key_Escape:
        if (m_kind == MessageKind::Question)
            press(MessageResult::No);
        else if (m_kind == MessageKind::QuestionWithCancel)
            press(MessageResult::Cancel);
        return; // a notice is answered with its button only
    default:
        QDialog::keyPressEvent(event);
    }
}

MessageResult RunMessageBox(const QString &text, MessageKind kind)
{
    TFMensajes box(text, kind, QApplication::activeWindow());
    box.exec();
    return box.result();
}

void ShowMessageBox(const QString &text)
{
    RunMessageBox(text, MessageKind::Notice);
}

bool AskYesNo(const QString &text)
{
    return RunMessageBox(text, MessageKind::Question) == MessageResult::Yes;
}

MessageResult AskYesNoCancel(const QString &text)
{
    return RunMessageBox(text, MessageKind::QuestionWithCancel);
}

} // namespace common
