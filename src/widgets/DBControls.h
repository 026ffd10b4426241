#pragma once

#include "DataSource.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTextEdit>

#include <functional>

namespace widgets {

// A one-line edit bound to a field. Read-only unless its data source lets input start editing.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_field; }
    DataSource *dataSource() const { return m_source; }

private:
    void load();
    void updateReadOnly();
    void edited(const QString &text);

    QPointer<DataSource> m_source;
    QString m_field;
    bool m_loading = false;
};

// A label showing a field (or a lookup) of the current record.
class DBText : public QLabel {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_field; }
    QString displayText() const;

private:
    void load();
    QPointer<DataSource> m_source;
    QString m_field;
};

// A rich-text memo bound to a field: a memo holding rich text is shown with its formatting and
// written back as rich text; a plain memo stays plain.
class DBMemo : public QTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    QString field() const { return m_field; }
    DataSource *dataSource() const { return m_source; }
    // Changes only how the text looks (marking search terms); the record is not touched.
    void markDisplay(const std::function<void(QTextEdit &)> &mark);

signals:
    void loaded(); // a new text came from the record

private:
    void load();
    void updateReadOnly();
    void edited();

    QPointer<DataSource> m_source;
    QString m_field;
    QString m_shown; // what the record held when it was loaded
    qint64 m_shownRow = -1;
    bool m_rich = false;
    bool m_loading = false;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace widgets
