#include "DBControls.h"

#include <QBuffer>
#include <QPixmap>

namespace widgets {

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent), m_link(new FieldLink(this))
{
    connect(this, &QLineEdit::textEdited, this, &DBEdit::edited);
    connect(m_link, &FieldLink::changed, this, &DBEdit::load);
    connect(m_link, &FieldLink::editableChanged, this, &DBEdit::updateReadOnly);
}

void DBEdit::bind(DataSource *source, const QString &field)
{
    m_link->bind(source, field);
    if (m_link->table())
        setMaxLength(m_link->width() > 0 ? m_link->width() : 32767);
    load();
    updateReadOnly();
}

void DBEdit::load()
{
    if (m_loading)
        return;
    m_loading = true;
    const QString text = m_link->value().toString();
    if (text != this->text()) {
        setText(text);
        setCursorPosition(0); // show the beginning of a text wider than the edit
    }
    m_loading = false;
    updateReadOnly();
}

void DBEdit::updateReadOnly()
{
    setReadOnly(!m_link->canModify());
}

void DBEdit::edited(const QString &text)
{
    if (m_loading)
        return;
    m_loading = true;
    const bool written = m_link->write(text);
    m_loading = false;
    if (!written)
        load();
}

DBText::DBText(QWidget *parent) : QLabel(parent), m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, &DBText::load);
}

void DBText::bind(DataSource *source, const QString &field)
{
    m_link->bind(source, field);
    load();
}

QString DBText::displayText() const
{
    return m_link->value().toString();
}

void DBText::load()
{
    setText(displayText());
}

DBMemo::DBMemo(QWidget *parent) : QTextEdit(parent), m_link(new FieldLink(this))
{
    connect(this, &QTextEdit::textChanged, this, &DBMemo::edited);
    connect(m_link, &FieldLink::changed, this, &DBMemo::load);
    connect(m_link, &FieldLink::editableChanged, this, &DBMemo::updateReadOnly);
}

void DBMemo::bind(DataSource *source, const QString &field)
{
    m_link->bind(source, field);
    m_shownRow = -2; // force a reload
    load();
}

void DBMemo::load()
{
    if (m_loading)
        return;
    store::Table *t = m_link->table();
    const qint64 row = t && t->isOpen() ? t->rowId() : -1;
    const QString value = m_link->value().toString();
    // Reloading the same text would throw away the caret and any marking on screen.
    if (row == m_shownRow && value == m_shown) {
        updateReadOnly();
        return;
    }
    m_loading = true;
    m_shown = value;
    m_shownRow = row;
    m_rich = Qt::mightBeRichText(value);
    if (m_rich)
        setHtml(value);
    else
        setPlainText(value);
    m_loading = false;
    updateReadOnly();
    emit loaded();
}

void DBMemo::updateReadOnly()
{
    setReadOnly(!m_link->canModify());
}

void DBMemo::edited()
{
    if (m_loading || !m_link->source())
        return;
    const QString text = m_rich ? toHtml() : toPlainText();
    if (!m_rich && text == m_shown)
        return;
    m_loading = true;
    const bool written = m_link->write(text);
    m_loading = false;
    if (written) {
        m_shown = m_link->value().toString();
    } else {
        m_shownRow = -2;
        load(); // input is not allowed now: show the record again
    }
}

void DBMemo::markDisplay(const std::function<void(QTextEdit &)> &mark)
{
    const bool was = m_loading;
    m_loading = true;
    mark(*this);
    m_loading = was;
}

DBImage::DBImage(QWidget *parent) : QLabel(parent), m_link(new FieldLink(this))
{
    setAlignment(Qt::AlignCenter);
    setMinimumSize(1, 1); // a scaled pixmap must not hold the layout open
    connect(m_link, &FieldLink::changed, this, &DBImage::load);
}

void DBImage::bind(DataSource *source, const QString &field)
{
    m_link->bind(source, field);
    load();
}

void DBImage::load()
{
    const QByteArray bytes = m_link->value().toByteArray();
    m_picture = bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
    showScaled();
    emit loaded();
}

bool DBImage::write(const QImage &image)
{
    QByteArray bytes;
    if (!image.isNull()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return false;
    }
    return m_link->write(bytes.isEmpty() ? QVariant() : QVariant(bytes));
}

void DBImage::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    showScaled();
}

void DBImage::showScaled()
{
    if (m_picture.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(m_picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

} // namespace widgets
