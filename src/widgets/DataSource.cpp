#include "DataSource.h"

namespace widgets {

DataSource::DataSource(store::Table *table, QObject *parent) : QObject(parent)
{
    setTable(table);
}

void DataSource::setTable(store::Table *table)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_table = table;
    if (table) {
        m_connections << connect(table, &store::Table::recordChanged, this, &DataSource::dataChanged)
                      << connect(table, &store::Table::dataSetChanged, this, &DataSource::dataChanged)
                      << connect(table, &store::Table::stateChanged, this, &DataSource::dataChanged)
                      << connect(table, &store::Table::stateChanged, this, &DataSource::editableChanged);
    }
    emit dataChanged();
    emit editableChanged();
}

void DataSource::setAutoEdit(bool on)
{
    if (m_autoEdit == on)
        return;
    m_autoEdit = on;
    emit editableChanged();
}

bool DataSource::canModify() const
{
    if (!m_table || !m_table->isOpen())
        return false;
    if (m_table->isEditing())
        return true;
    return m_autoEdit && m_table->recordCount() > 0;
}

QVariant DataSource::value(const QString &field) const
{
    if (!m_table || !m_table->isOpen() || field.isEmpty())
        return QVariant();
    return m_table->value(field);
}

bool DataSource::write(const QString &field, const QVariant &value)
{
    if (!canModify())
        return false;
    if (!m_table->isEditing())
        m_table->edit();
    m_table->setValue(field, value);
    return true;
}

} // namespace widgets
