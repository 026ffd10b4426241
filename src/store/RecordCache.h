#pragma once

#include "TableInfo.h"

#include <QHash>
#include <QVariant>

#include <memory>
#include <vector>

namespace store {

class Database;

// One row's values: as read from the table, or as being edited. A field's value means something
// only once it is loaded.
struct Record {
    qint64 rowid = -1; // -1: a new row, not posted yet
    std::vector<QVariant> values;
    std::vector<bool> loaded;
    std::vector<bool> modified;
    QHash<QString, QVariant> calc; // computed columns, by lower-case name
    bool partial = false;          // read field by field (a grid row), not all at once

    // A record with a slot for every field of the table. `modified` is left empty: only a record
    // that is edited needs it, and a grid reads many records.
    static Record blank(const TableInfo &table, qint64 rowid, bool loaded);
};

// The records of one table read so far, by row id. A record wanted whole (the current record,
// whose fields are all shown) has every field but memos and pictures read in one statement; one
// a grid paints is read field by field as it is asked for; memos and pictures are read only
// when asked for. The cache is dropped whole when it grows past Limit, which costs less than
// keeping an age for every record.
class RecordCache {
public:
    static constexpr int Limit = 1024;

    RecordCache() = default;
    explicit RecordCache(Database &db) : m_db(&db) {}

    // The record of a row, from the cache or read now. A record read now is handed to
    // complete(Record &) (to compute its calculated fields) before it is kept.
    template <class Complete>
    Record *get(const TableInfo &table, qint64 rowid, bool whole, Complete &&complete);
    // Reads a field of the record that is not loaded yet.
    void load(const TableInfo &table, Record &record, int field) const;
    void clear() { m_records.clear(); }

private:
    Record *cached(const TableInfo &table, qint64 rowid, bool whole);
    Record *keep(std::shared_ptr<Record> record);
    std::shared_ptr<Record> read(const TableInfo &table, qint64 rowid, bool whole);
    void loadSmallFields(const TableInfo &table, Record &record) const;
    QVariant loadField(const TableInfo &table, qint64 rowid, int field) const;

    Database *m_db = nullptr;
    QHash<qint64, std::shared_ptr<Record>> m_records;
};

template <class Complete>
Record *RecordCache::get(const TableInfo &table, qint64 rowid, bool whole, Complete &&complete)
{
    if (Record *record = cached(table, rowid, whole))
        return record;
    std::shared_ptr<Record> record = read(table, rowid, whole);
    complete(*record);
    return keep(std::move(record));
}

} // namespace store
