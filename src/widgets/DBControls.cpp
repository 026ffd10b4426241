#include "DBControls.h"

#include <QBuffer>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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

namespace {

// Properties of a display mark: set on the marked characters together with the weight and the
// underline they had before, so that the stored text can be given back without the mark.
constexpr int MarkedProperty = QTextFormat::UserProperty + 1;
constexpr int FormerWeightProperty = QTextFormat::UserProperty + 2;
constexpr int FormerUnderlineProperty = QTextFormat::UserProperty + 3;

void restoreProperty(QTextCharFormat &format, int property, const QVariant &former)
{
    if (former.isValid())
        format.setProperty(property, former);
    else
        format.clearProperty(property);
}

} // namespace

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
    m_rich = isRichText(value);
    // The caret's character format (a marked or bold word of the last text) must not carry over
    // into the next one.
    clear();
    setCurrentCharFormat(QTextCharFormat());
    if (m_rich)
        setHtml(value);
    else
        setPlainText(value);
    setCurrentCharFormat(QTextCharFormat());
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
    const QString text = storedText();
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

bool DBMemo::isRichText(const QString &text)
{
    const QStringView head = QStringView(text).trimmed().left(20);
    return head.startsWith(QLatin1String("<!DOCTYPE html"), Qt::CaseInsensitive)
        || head.startsWith(QLatin1String("<html"), Qt::CaseInsensitive);
}

QString DBMemo::storedText() const
{
    if (!m_rich)
        return toPlainText(); // the marks are formats only: the plain text has none of them
    std::unique_ptr<QTextDocument> copy(document()->clone());
    // The marked runs are read first and given back their former look afterwards: changing a
    // format while its fragments are walked would pull them away under the walk.
    struct Run {
        int start, end;
        QTextCharFormat format;
    };
    QList<Run> marked;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().boolProperty(MarkedProperty))
                marked.append({fragment.position(), fragment.position() + fragment.length(), fragment.charFormat()});
        }
    for (Run &run : marked) {
        restoreProperty(run.format, QTextFormat::FontWeight, run.format.property(FormerWeightProperty));
        restoreProperty(run.format, QTextFormat::TextUnderlineStyle, run.format.property(FormerUnderlineProperty));
        run.format.clearProperty(MarkedProperty);
        run.format.clearProperty(FormerWeightProperty);
        run.format.clearProperty(FormerUnderlineProperty);
        QTextCursor cursor(copy.get());
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
    return copy->toHtml();
}

void DBMemo::markRange(int start, int length)
{
    const bool was = m_loading;
    m_loading = true;
    // Fragment by fragment, so that each keeps a note of its own former look.
    int at = start;
    const int end = start + length;
    while (at < end) {
        QTextCursor probe(document());
        probe.setPosition(at);
        probe.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        QTextCharFormat format = probe.charFormat();
        int stop = at + 1;
        // The run of characters that share this format.
        while (stop < end) {
            QTextCursor next(document());
            next.setPosition(stop);
            next.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            if (next.charFormat() != format)
                break;
            ++stop;
        }
        if (!format.boolProperty(MarkedProperty)) {
            format.setProperty(MarkedProperty, true);
            // A character without a weight or underline of its own gets none noted, and none back.
            format.setProperty(FormerWeightProperty, format.property(QTextFormat::FontWeight));
            format.setProperty(FormerUnderlineProperty, format.property(QTextFormat::TextUnderlineStyle));
        }
        format.setFontWeight(QFont::Bold);
        format.setFontUnderline(true);
        QTextCursor cursor(document());
        cursor.setPosition(at);
        cursor.setPosition(stop, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
        at = stop;
    }
    m_loading = was;
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
