#include "RecordCache.h"

#include "Database.h"
#include "Sql.h"

namespace store {

Record Record::blank(const TableInfo &table, qint64 rowid, bool loaded)
{
    const size_t n = size_t(table.fields.size());
    Record record;
    record.rowid = rowid;
    record.values.assign(n, QVariant());
    record.loaded.assign(n, loaded);
    return record;
}

Record *RecordCache::cached(const TableInfo &table, qint64 rowid, bool whole)
{
    auto it = m_records.find(rowid);
    if (it == m_records.end())
        return nullptr;
    Record *record = it->get();
    if (whole && record->partial) {
        loadSmallFields(table, *record);
        record->partial = false;
    }
    return record;
}

std::shared_ptr<Record> RecordCache::read(const TableInfo &table, qint64 rowid, bool whole)
{
    // Room is made before the record is completed: completing it may read other records of this
    // table, and those are worth keeping.
    if (m_records.size() >= Limit)
        m_records.clear();
    auto record = std::make_shared<Record>(Record::blank(table, rowid, false));
    record->partial = !whole;
    if (whole)
        loadSmallFields(table, *record);
    return record;
}

Record *RecordCache::keep(std::shared_ptr<Record> record)
{
    Record *raw = record.get();
    const qint64 rowid = record->rowid;
    m_records.insert(rowid, std::move(record));
    return raw;
}

void RecordCache::load(const TableInfo &table, Record &record, int field) const
{
    if (table.fields[field].isLarge() || record.rowid < 0 || record.partial) {
        record.values[size_t(field)] = loadField(table, record.rowid, field);
        record.loaded[size_t(field)] = true;
    } else {
        loadSmallFields(table, record);
    }
}

void RecordCache::loadSmallFields(const TableInfo &table, Record &record) const
{
    QStringList columns;
    std::vector<int> indexes;
    for (int i = 0; i < table.fields.size(); ++i)
        if (!table.fields[i].isLarge()) {
            columns << quoted(table.fields[i].name);
            indexes.push_back(i);
        }
    if (columns.isEmpty())
        return;
    Statement &q = m_db->cached(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(columns.join(QLatin1String(", ")), quoted(table.name)));
    q.bind(1, record.rowid);
    const bool found = q.step();
    for (size_t c = 0; c < indexes.size(); ++c) {
        const size_t fi = size_t(indexes[c]);
        record.values[fi] = found ? q.value(int(c)) : QVariant();
        record.loaded[fi] = true;
    }
    q.reset();
}

QVariant RecordCache::loadField(const TableInfo &table, qint64 rowid, int field) const
{
    if (rowid < 0)
        return QVariant();
    Statement &q = m_db->cached(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(quoted(table.fields[field].name), quoted(table.name)));
    q.bind(1, rowid);
    QVariant v;
    if (q.step())
        v = q.value(0);
    q.reset();
    return v;
}

} // namespace store
