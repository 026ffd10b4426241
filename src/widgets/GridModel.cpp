#include "GridModel.h"

#include <QLocale>

namespace widgets {

GridModel::GridModel(store::Table *table, QObject *parent) : QAbstractTableModel(parent), m_table(table)
{
    connect(table, &store::Table::dataSetChanged, this, &GridModel::resetFromTable);
    connect(table, &store::Table::stateChanged, this, &GridModel::resetFromTable);
    connect(table, &store::Table::recordChanged, this, &GridModel::currentChanged);
    m_rows = table->recordCount();
}

void GridModel::setColumns(const QList<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows = m_table ? m_table->recordCount() : 0;
    endResetModel();
}

void GridModel::resetFromTable()
{
    beginResetModel();
    m_rows = m_table ? m_table->recordCount() : 0;
    m_indicated = m_table ? m_table->recNo() : -1;
    endResetModel();
    emit currentRowChanged(m_table ? m_table->recNo() : -1);
}

void GridModel::currentChanged()
{
    if (!m_table)
        return;
    if (m_table->recordCount() != m_rows) {
        resetFromTable();
        return;
    }
    const int row = m_table->recNo();
    if (row >= 0 && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    if (row != m_indicated) {
        const int previous = m_indicated;
        m_indicated = row;
        if (previous >= 0 && previous < m_rows)
            emit headerDataChanged(Qt::Vertical, previous, previous);
        if (row >= 0)
            emit headerDataChanged(Qt::Vertical, row, row);
    }
    emit currentRowChanged(row);
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!m_editable || !m_table || !index.isValid() || index.column() >= m_columns.size())
        return f;
    const QString &field = m_columns[index.column()].field;
    const int fi = m_table->info().fieldIndex(field);
    if (fi >= 0 && m_table->info().fields[fi].type != store::FieldType::AutoInc)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (index.row() != m_table->recNo())
        m_table->moveTo(index.row());
    if (!m_table->isEditing())
        m_table->edit();
    m_table->setValue(m_columns[index.column()].field, value);
    emit dataChanged(index, index);
    return true;
}

QString GridModel::formatValue(const QVariant &value, const QString &format)
{
    if (value.isNull())
        return QString();
    if (format == QLatin1String("0.0 %")) {
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator); // "1250,0 %", as it is typed
        return locale.toString(value.toDouble(), 'f', 1) + QStringLiteral(" %");
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!m_table || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns.size())
        return QVariant();
    const Column &column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        try {
            return formatValue(m_table->valueAt(index.row(), column.field), column.format);
        } catch (const store::Error &) {
            return QVariant(); // a row removed under the view: it is redrawn at the next reset
        }
    case Qt::TextAlignmentRole:
        return column.alignment;
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? QVariant(m_columns[section].title) : QVariant();
    // The record indicator: a mark beside the current row, a star beside a row being inserted.
    if (m_table && section == m_table->recNo())
        return m_table->state() == store::Table::State::Insert ? QStringLiteral("*") : QStringLiteral("▸");
    return QVariant();
}

} // namespace widgets
