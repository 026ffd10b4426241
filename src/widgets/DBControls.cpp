#include "DBControls.h"

namespace widgets {

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &DBEdit::edited);
}

void DBEdit::bind(DataSource *source, const QString &field)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_field = field;
    if (source) {
        connect(source, &DataSource::dataChanged, this, &DBEdit::load);
        connect(source, &DataSource::editableChanged, this, &DBEdit::updateReadOnly);
        if (store::Table *t = source->table())
            setMaxLength(t->fieldWidth(field) > 0 ? t->fieldWidth(field) : 32767);
    }
    load();
    updateReadOnly();
}

void DBEdit::load()
{
    if (m_loading)
        return;
    m_loading = true;
    const QString text = m_source ? m_source->value(m_field).toString() : QString();
    if (text != this->text()) {
        setText(text);
        setCursorPosition(0); // show the beginning of a text wider than the edit
    }
    m_loading = false;
    updateReadOnly();
}

void DBEdit::updateReadOnly()
{
    const store::Table *t = m_source ? m_source->table() : nullptr;
    setReadOnly(!t || t->isLookupOrCalc(m_field) || !m_source->canModify());
}

void DBEdit::edited(const QString &text)
{
    if (!m_source || m_loading)
        return;
    m_loading = true;
    const bool written = m_source->write(m_field, text);
    m_loading = false;
    if (!written)
        load();
}

DBText::DBText(QWidget *parent) : QLabel(parent) {}

void DBText::bind(DataSource *source, const QString &field)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_field = field;
    if (source)
        connect(source, &DataSource::dataChanged, this, &DBText::load);
    load();
}

QString DBText::displayText() const
{
    return m_source ? m_source->value(m_field).toString() : QString();
}

void DBText::load()
{
    setText(displayText());
}

DBMemo::DBMemo(QWidget *parent) : QTextEdit(parent)
{
    connect(this, &QTextEdit::textChanged, this, &DBMemo::edited);
}

void DBMemo::bind(DataSource *source, const QString &field)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    m_field = field;
    m_shownRow = -2; // force a reload
    if (source) {
        m_connections << connect(source, &DataSource::dataChanged, this, &DBMemo::load)
                      << connect(source, &DataSource::editableChanged, this, &DBMemo::updateReadOnly);
    }
    load();
}

void DBMemo::load()
{
    if (m_loading)
        return;
    store::Table *t = m_source ? m_source->table() : nullptr;
    const qint64 row = t && t->isOpen() ? t->rowId() : -1;
    const QString value = m_source ? m_source->value(m_field).toString() : QString();
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
    setReadOnly(!m_source || !m_source->canModify());
}

void DBMemo::edited()
{
    if (m_loading || !m_source)
        return;
    const QString text = m_rich ? toHtml() : toPlainText();
    if (!m_rich && text == m_shown)
        return;
    m_loading = true;
    const bool written = m_source->write(m_field, text);
    m_loading = false;
    if (written) {
        m_shown = m_source->value(m_field).toString();
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

} // namespace widgets
