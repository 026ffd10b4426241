#pragma once

#include "FieldLink.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include <functional>

namespace widgets {

// A one-line edit bound to a field. Read-only unless its data source lets input start editing.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->source(); }

private:
    void load();
    void updateReadOnly();
    void edited(const QString &text);

    FieldLink *m_link;
    bool m_loading = false;
};

// A label showing a field (or a lookup) of the current record.
class DBText : public QLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_link->field(); }
    QString displayText() const;

private:
    void load();
    FieldLink *m_link;
};

// A rich-text memo bound to a field: a memo holding rich text is shown with its formatting and
// written back as rich text; a plain memo stays plain.
class DBMemo : public QTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_link->field(); }
    DataSource *dataSource() const { return m_link->source(); }
    // Changes only how the text looks (marking search terms); the record is not touched.
    void markDisplay(const std::function<void(QTextEdit &)> &mark);
    // Gives the characters of [start, start + length) the display mark (bold, underlined). The
    // mark is never stored: the text written back to the record is the text without it.
    void markRange(int start, int length);
    // Only a text that opens with a rich document header is rich; anything else, even with
    // "<b>" or "<5 g" in it, is plain and stays plain byte for byte.
    static bool isRichText(const QString &text);
    // The memo's content as it is stored: HTML for a rich memo, without the display marks.
    QString storedText() const;

signals:
    void loaded(); // a new text came from the record

private:
    void load();
    void updateReadOnly();
    void edited();

    FieldLink *m_link;
    QString m_shown; // what the record held when it was loaded
    qint64 m_shownRow = -1;
    bool m_rich = false;
    bool m_loading = false;
};

// A picture field (lossless image bytes) of the current record, scaled to fit and kept in
// proportion. An empty field shows nothing: the window decides what stands in for it.
class DBImage : public QLabel {
    Q_OBJECT
public:
    explicit DBImage(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_link->field(); }
    bool hasPicture() const { return !m_picture.isNull(); }
    QImage picture() const { return m_picture; }
    // Stores `image` as PNG bytes in the field (null clears it); false when input is not allowed now.
    bool write(const QImage &image);

signals:
    void loaded(); // a new picture came from the record

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void load();
    void showScaled();

    FieldLink *m_link;
    QImage m_picture;
};

} // namespace widgets
