#include "FieldLink.h"

namespace widgets {

FieldLink::FieldLink(QObject *owner) : QObject(owner) {}

void FieldLink::bind(DataSource *source, const QString &field)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    m_field = field;
    if (source) {
        m_connections << connect(source, &DataSource::dataChanged, this, &FieldLink::changed)
                      << connect(source, &DataSource::editableChanged, this, &FieldLink::editableChanged);
    }
}

store::Table *FieldLink::table() const
{
    return m_source ? m_source->table() : nullptr;
}

QVariant FieldLink::value() const
{
    return m_source ? m_source->value(m_field) : QVariant();
}

bool FieldLink::canModify() const
{
    const store::Table *t = table();
    return t && !t->isLookupOrCalc(m_field) && m_source->canModify();
}

bool FieldLink::write(const QVariant &value)
{
    return m_source && m_source->write(m_field, value);
}

int FieldLink::width() const
{
    const store::Table *t = table();
    return t ? t->fieldWidth(m_field) : 0;
}

} // namespace widgets
