#include "Table.h"

#include "FieldValue.h"
#include "Sql.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_set>

namespace store {

namespace {

// Above this many candidates a locate walks the list once instead of placing each candidate.
constexpr size_t LocateScanThreshold = 64;
// Records kept read; the cache is dropped whole when it grows past this.
constexpr int RecordCacheLimit = 1024;

} // namespace

Table::Table(Session &session, const QString &tableName, QObject *parent) : QObject(parent), m_session(session)
{
    auto [db, bare] = session.resolve(tableName);
    m_db = db;
    m_tableName = m_db->info(bare).name;
}

Table::~Table()
{
    if (m_master)
        m_master->m_details.removeAll(this);
    for (const QPointer<Table> &detail : std::as_const(m_details))
        if (detail)
            detail->m_master = nullptr;
}

const TableInfo &Table::info() const
{
    return m_db->info(m_tableName);
}

// ---------------------------------------------------------------- set-up

void Table::setIndexName(const QString &indexName)
{
    if (!indexName.isEmpty() && !info().index(indexName))
        throw Error(QStringLiteral("La tabla %1 no tiene el índice %2").arg(m_tableName, indexName));
    const QString canonical = indexName.isEmpty() ? QString() : info().index(indexName)->name;
    if (canonical == m_indexName)
        return;
    m_indexName = canonical;
    if (!isOpen())
        return;
    const qint64 current = rowId();
    rebuild();
    const int pos = positionOfRow(current);
    setPosition(pos >= 0 ? pos : (recordCount() > 0 ? 0 : -1));
    notifyDataSet();
}

void Table::setIndexFieldName(const QString &field)
{
    const TableInfo &ti = info();
    if (field.compare(ti.primaryField, Qt::CaseInsensitive) == 0 && !ti.primaryField.isEmpty()) {
        setIndexName(QString());
        return;
    }
    for (const IndexDef &ix : ti.indexes)
        if (ix.field.compare(field, Qt::CaseInsensitive) == 0) {
            setIndexName(ix.name);
            return;
        }
    throw Error(QStringLiteral("La tabla %1 no tiene un índice por %2").arg(m_tableName, field));
}

void Table::addIndex(const QString &name, const QString &field, bool caseInsensitive)
{
    IndexDef ix;
    ix.name = name;
    ix.field = field;
    ix.caseInsensitive = caseInsensitive;
    m_db->createIndex(m_tableName, ix);
}

QStringList Table::indexNames() const
{
    QStringList names;
    for (const IndexDef &ix : info().indexes)
        names << ix.name;
    return names;
}

void Table::setFilter(const QString &expression)
{
    m_filter = FilterExpression::parse(expression, info()); // throws before anything changes
    m_filterText = expression;
    if (isOpen() && m_filtered)
        refresh();
}

void Table::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (isOpen())
        refresh();
}

void Table::setMaster(Table *master, const QString &masterField)
{
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    m_masterField = masterField;
    m_hasRange = false;
    if (master)
        master->m_details << this;
    if (isOpen()) {
        if (isEditing())
            cancel();
        rebuild();
        setPosition(recordCount() > 0 ? 0 : -1);
        m_bof = true;
        m_eof = recordCount() == 0;
        notifyDataSet();
        scrolled();
    }
}

void Table::addLookupField(const QString &name, const QString &sourceField, Table *through, const QString &keyField,
                           const QString &resultField, int width)
{
    if (info().fieldIndex(sourceField) < 0)
        throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(m_tableName, sourceField));
    m_lookups << LookupDef{name, sourceField, through, keyField, resultField, width};
}

void Table::setLookupResultField(const QString &name, const QString &resultField)
{
    for (LookupDef &l : m_lookups)
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            l.resultField = resultField;
    m_cache.clear();
    if (isOpen())
        notifyDataSet();
}

void Table::addCalcField(const QString &name, int width)
{
    m_calcFields << name;
    m_calcWidths.insert(name.toLower(), width);
}

const Table::LookupDef *Table::lookup(const QString &name) const
{
    for (const LookupDef &l : m_lookups)
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}

// ---------------------------------------------------------------- open / close

void Table::requireOpen() const
{
    if (!isOpen())
        throw Error(QStringLiteral("La tabla %1 está cerrada").arg(m_tableName));
}

void Table::requireBrowse(const char * /*operation*/)
{
    requireOpen();
    if (isEditing())
        post();
}

void Table::open()
{
    if (isOpen())
        return;
    // The cursors this one looks values up through are needed as soon as a row is shown.
    for (const LookupDef &l : std::as_const(m_lookups))
        if (l.through && l.through != this && !l.through->isOpen())
            l.through->open();
    m_state = State::Browse;
    try {
        rebuild();
    } catch (...) {
        m_state = State::Inactive;
        throw;
    }
    setPosition(recordCount() > 0 ? 0 : -1);
    m_bof = true;
    m_eof = recordCount() == 0;
    emit stateChanged();
    notifyDataSet();
    scrolled();
}

void Table::close()
{
    if (!isOpen())
        return;
    m_buffer.reset();
    m_newAt = -1;
    m_state = State::Inactive;
    m_order.reset();
    m_sel.clear();
    m_cache.clear();
    m_pos = -1;
    m_eof = m_bof = true;
    m_hasRange = false;
    emit stateChanged();
    notifyDataSet();
}

void Table::refresh()
{
    requireBrowse("refresh");
    const qint64 current = rowId();
    rebuild();
    int pos = positionOfRow(current);
    const bool moved = pos < 0;
    if (pos < 0)
        pos = std::min(m_pos, recordCount() - 1);
    setPosition(pos);
    m_eof = m_bof = false;
    if (recordCount() == 0)
        m_eof = m_bof = true;
    notifyDataSet();
    if (moved)
        scrolled();
    else if (m_disableCount == 0)
        emit recordChanged();
}

// ---------------------------------------------------------------- the row list

QVariant Table::masterValue() const
{
    if (!m_master || !m_master->isOpen())
        return QVariant();
    if (m_master->recordCount() == 0)
        return QVariant();
    return m_master->value(m_masterField);
}

void Table::rebuild()
{
    m_cache.clear();
    m_generation = m_db->generation(m_tableName);
    m_newAt = -1;
    const TableInfo &ti = info();
    const bool useExpression = m_filtered && !m_filter.isEmpty();

    if (m_master) {
        // A range on the leading field of the current index: read just those rows.
        m_hasRange = true;
        m_rangeValue = masterValue();
        auto order = std::make_shared<Order>();
        const IndexDef *ix = m_indexName.isEmpty() ? nullptr : ti.index(m_indexName);
        QString field = ix ? ix->field : ti.primaryField;
        if (field.compare(ti.rowidField, Qt::CaseInsensitive) == 0)
            field.clear();
        order->field = field;
        if (!m_rangeValue.isNull()) {
            const QString lead = field.isEmpty() ? QStringLiteral("rowid") : quoted(field);
            Statement q(m_db->handle(), QStringLiteral("SELECT rowid FROM %1 WHERE %2=? AND %3 ORDER BY rowid")
                                            .arg(quoted(m_tableName), lead, useExpression ? m_filter.sqlCondition() : QStringLiteral("1")));
            q.bind(1, m_rangeValue);
            if (useExpression)
                m_filter.bindTo(q, 2);
            const SortKey key = SortKey::fromValue(m_rangeValue, false);
            while (q.step()) {
                order->rowids.push_back(q.int64(0));
                order->keys.push_back(key);
            }
        }
        m_order = std::move(order);
        m_sel.clear();
        for (size_t p = 0; p < m_order->rowids.size(); ++p)
            m_sel.push_back(int(p));
    } else {
        m_hasRange = false;
        m_order = m_db->order(m_tableName, m_indexName);
        m_sel.clear();
        if (useExpression) {
            Statement q(m_db->handle(),
                        QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(quoted(m_tableName), m_filter.sqlCondition()));
            m_filter.bindTo(q, 1);
            std::vector<qint64> passing;
            qint64 highest = 0;
            while (q.step()) {
                passing.push_back(q.int64(0));
                highest = std::max(highest, passing.back());
            }
            const auto &rowids = m_order->rowids;
            m_sel.reserve(passing.size());
            if (highest < (qint64(1) << 24)) {
                // Row ids are dense: one bit per row id beats hashing.
                std::vector<bool> pass(size_t(highest) + 1, false);
                for (qint64 id : passing)
                    if (id >= 0)
                        pass[size_t(id)] = true;
                for (size_t p = 0; p < rowids.size(); ++p)
                    if (rowids[p] >= 0 && rowids[p] <= highest && pass[size_t(rowids[p])])
                        m_sel.push_back(int(p));
            } else {
                const std::unordered_set<qint64> pass(passing.begin(), passing.end());
                for (size_t p = 0; p < rowids.size(); ++p)
                    if (pass.count(rowids[p]))
                        m_sel.push_back(int(p));
            }
        } else {
            m_sel.resize(m_order->rowids.size());
            for (size_t p = 0; p < m_sel.size(); ++p)
                m_sel[p] = int(p);
        }
    }

    if (m_filtered && filterRecord) {
        std::vector<int> kept;
        kept.reserve(m_sel.size());
        // One probe record serves every row: only its loaded flags are reset, since a value is
        // read only once it is loaded for the row under test.
        Record probe;
        probe.values.assign(size_t(ti.fields.size()), QVariant());
        probe.loaded.assign(size_t(ti.fields.size()), false);
        const Record *previous = m_testing;
        for (int p : m_sel) {
            probe.rowid = m_order->rowids[size_t(p)];
            std::fill(probe.loaded.begin(), probe.loaded.end(), false);
            m_testing = &probe;
            bool accept = false;
            try {
                accept = filterRecord(*this);
            } catch (...) {
                m_testing = previous;
                throw;
            }
            if (accept)
                kept.push_back(p);
        }
        m_testing = previous;
        m_sel = std::move(kept);
    }
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    return int(m_sel.size()) + (m_newAt >= 0 ? 1 : 0);
}

qint64 Table::rowAt(int position) const
{
    if (position < 0 || position >= recordCount())
        return -1;
    if (m_newAt >= 0) {
        if (position == m_newAt)
            return -1;
        if (position > m_newAt)
            --position;
    }
    return m_order->rowids[size_t(m_sel[size_t(position)])];
}

int Table::positionOfRow(qint64 rowid)
{
    if (rowid < 0 || !m_order || m_sel.empty())
        return -1;
    int found = -1;
    // Place the row by its key in the order, then find that place among the rows that pass.
    const SortKey key = m_hasRange ? SortKey::fromValue(m_rangeValue, false) : m_db->keyOf(m_tableName, *m_order, rowid);
    const size_t lo = m_order->lowerBound(key, rowid);
    if (lo < m_order->rowids.size() && m_order->rowids[lo] == rowid) {
        const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), int(lo));
        if (it != m_sel.end() && *it == int(lo))
            found = int(it - m_sel.begin());
    } else {
        // The stored key moved since the order was read: look the row up the slow way.
        for (size_t i = 0; i < m_sel.size(); ++i)
            if (m_order->rowids[size_t(m_sel[i])] == rowid) {
                found = int(i);
                break;
            }
    }
    if (found >= 0 && m_newAt >= 0 && found >= m_newAt)
        ++found;
    return found;
}

bool Table::showsRow(qint64 rowid)
{
    return isOpen() && positionOfRow(rowid) >= 0;
}

void Table::setPosition(int position)
{
    m_pos = position;
}

void Table::scrolled()
{
    if (m_disableCount == 0) {
        for (const QPointer<Table> &detail : std::as_const(m_details))
            if (detail)
                detail->followMaster();
        emit recordChanged();
    }
    if (afterScroll)
        afterScroll(*this);
}

void Table::notifyDataSet()
{
    if (m_disableCount > 0) {
        m_pendingDataSet = true;
        return;
    }
    emit dataSetChanged();
    for (const QPointer<Table> &detail : std::as_const(m_details))
        if (detail)
            detail->followMaster();
}

void Table::followMaster()
{
    if (!isOpen() || !m_master)
        return;
    const QVariant value = masterValue();
    if (m_hasRange && value == m_rangeValue && m_generation == m_db->generation(m_tableName))
        return;
    if (isEditing())
        cancel();
    rebuild();
    setPosition(recordCount() > 0 ? 0 : -1);
    m_bof = true;
    m_eof = recordCount() == 0;
    notifyDataSet();
    scrolled();
}

// ---------------------------------------------------------------- moving

void Table::first()
{
    requireBrowse("first");
    setPosition(recordCount() > 0 ? 0 : -1);
    m_bof = true;
    m_eof = recordCount() == 0;
    scrolled();
}

void Table::last()
{
    requireBrowse("last");
    setPosition(recordCount() - 1);
    m_eof = true;
    m_bof = recordCount() == 0;
    scrolled();
}

void Table::next()
{
    requireBrowse("next");
    if (m_eof)
        return;
    m_bof = false;
    if (m_pos + 1 < recordCount())
        setPosition(m_pos + 1);
    else
        m_eof = true;
    scrolled();
}

void Table::prior()
{
    requireBrowse("prior");
    if (m_bof)
        return;
    m_eof = false;
    if (m_pos > 0)
        setPosition(m_pos - 1);
    else
        m_bof = true;
    scrolled();
}

void Table::moveTo(int position)
{
    requireBrowse("moveTo");
    if (recordCount() == 0)
        return;
    position = std::clamp(position, 0, recordCount() - 1);
    if (position == m_pos)
        return;
    setPosition(position);
    m_bof = m_eof = false;
    scrolled();
}

bool Table::findNearest(const QVariant &value)
{
    requireBrowse("findNearest");
    if (m_sel.empty())
        return false;
    QVariant v = value;
    const QString field = m_order->field;
    if (!field.isEmpty() && !v.isNull()) {
        const int fi = info().fieldIndex(field);
        const FieldType type = info().fields[fi].type;
        if (type != FieldType::Text && type != FieldType::Memo) {
            bool ok = false;
            const double d = v.toDouble(&ok);
            v = ok ? QVariant(d) : QVariant();
        } else {
            v = v.toString();
        }
    } else if (field.isEmpty()) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        v = ok ? QVariant(d) : QVariant();
    }
    const SortKey key = SortKey::fromValue(v, m_order->caseInsensitive);
    const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), 0,
                                     [&](int p, int) { return m_order->compareKey(size_t(p), key) < 0; });
    int pos = int(it - m_sel.begin());
    if (pos >= int(m_sel.size()))
        pos = int(m_sel.size()) - 1;
    setPosition(pos);
    m_bof = m_eof = false;
    scrolled();
    return true;
}

bool Table::findKey(const QVariant &key)
{
    requireBrowse("findKey");
    const TableInfo &ti = info();
    qint64 rowid = -1;
    if (ti.primaryField.isEmpty() || ti.primaryField.compare(ti.rowidField, Qt::CaseInsensitive) == 0) {
        bool ok = false;
        rowid = key.toLongLong(&ok);
        if (!ok)
            return false;
    } else {
        Statement &q = m_db->cached(QStringLiteral("SELECT rowid FROM %1 WHERE %2=?").arg(quoted(m_tableName), quoted(ti.primaryField)));
        q.bind(1, key);
        if (q.step())
            rowid = q.int64(0);
        q.reset();
    }
    return gotoBookmark(rowid);
}

bool Table::locate(const QStringList &fields, const QVariantList &values, bool caseInsensitive)
{
    requireBrowse("locate");
    if (fields.size() != values.size() || fields.isEmpty())
        throw Error(QStringLiteral("Búsqueda mal formada en %1").arg(m_tableName));
    const TableInfo &ti = info();
    QStringList conditions;
    QVariantList binds;
    for (int i = 0; i < fields.size(); ++i) {
        const int fi = ti.fieldIndex(fields[i]);
        if (fi < 0)
            throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(m_tableName, fields[i]));
        const FieldDef &f = ti.fields[fi];
        const QVariant v = normalised(f, values[i], m_tableName);
        if (v.isNull()) {
            conditions << quoted(f.name) + QStringLiteral(" IS NULL");
        } else if (caseInsensitive && (f.type == FieldType::Text || f.type == FieldType::Memo)) {
            const QString text = v.toString();
            bool ascii = true;
            for (QChar c : text)
                ascii = ascii && c.unicode() < 0x80;
            if (ascii) {
                // For a plain ASCII value SQLite's own case-insensitive comparison says the same as
                // full case folding, and an index made without regard to case serves it.
                conditions << QStringLiteral("%1=? COLLATE NOCASE").arg(quoted(f.name));
                binds << text;
            } else {
                conditions << QStringLiteral("hx_casefold(%1)=?").arg(quoted(f.name));
                binds << text.toCaseFolded();
            }
        } else {
            conditions << quoted(f.name) + QStringLiteral("=?");
            binds << v;
        }
    }
    Statement q(m_db->handle(), QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(quoted(m_tableName), conditions.join(QLatin1String(" AND "))));
    for (int i = 0; i < binds.size(); ++i)
        q.bind(i + 1, binds[i]);
    std::vector<qint64> candidates;
    while (q.step())
        candidates.push_back(q.int64(0));
    int best = -1;
    if (candidates.size() > LocateScanThreshold) {
        const std::unordered_set<qint64> set(candidates.begin(), candidates.end());
        for (int i = 0; i < recordCount(); ++i)
            if (set.count(rowAt(i))) {
                best = i;
                break;
            }
    } else {
        for (qint64 rowid : candidates) {
            const int pos = positionOfRow(rowid);
            if (pos >= 0 && (best < 0 || pos < best))
                best = pos;
        }
    }
    if (best < 0)
        return false;
    setPosition(best);
    m_bof = m_eof = false;
    scrolled();
    return true;
}

bool Table::gotoBookmark(Bookmark bookmark)
{
    requireBrowse("gotoBookmark");
    const int pos = positionOfRow(bookmark);
    if (pos < 0)
        return false;
    setPosition(pos);
    m_bof = m_eof = false;
    scrolled();
    return true;
}

// ---------------------------------------------------------------- reading

qint64 Table::rowId() const
{
    if (m_testing)
        return m_testing->rowid;
    if (m_buffer)
        return m_buffer->rowid;
    return rowAt(m_pos);
}

Table::Record *Table::recordFor(qint64 rowid, bool whole) const
{
    auto it = m_cache.find(rowid);
    if (it != m_cache.end()) {
        Record *cached = it->get();
        if (whole && cached->partial) {
            loadSmallFields(*cached);
            cached->partial = false;
        }
        return cached;
    }
    if (m_cache.size() >= RecordCacheLimit)
        m_cache.clear();
    auto record = std::make_shared<Record>();
    record->rowid = rowid;
    const int n = int(info().fields.size());
    record->values.assign(size_t(n), QVariant());
    record->loaded.assign(size_t(n), false);
    record->partial = !whole;
    if (whole)
        loadSmallFields(*record);
    computeCalc(*record);
    Record *raw = record.get();
    m_cache.insert(rowid, std::move(record));
    return raw;
}

void Table::loadSmallFields(Record &record) const
{
    const TableInfo &ti = info();
    QStringList columns;
    std::vector<int> indexes;
    for (int i = 0; i < ti.fields.size(); ++i)
        if (!ti.fields[i].isLarge()) {
            columns << quoted(ti.fields[i].name);
            indexes.push_back(i);
        }
    if (columns.isEmpty())
        return;
    Statement &q = m_db->cached(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(columns.join(QLatin1String(", ")), quoted(m_tableName)));
    q.bind(1, record.rowid);
    const bool found = q.step();
    for (size_t c = 0; c < indexes.size(); ++c) {
        const size_t fi = size_t(indexes[c]);
        record.values[fi] = found ? q.value(int(c)) : QVariant();
        record.loaded[fi] = true;
    }
    q.reset();
}

QVariant Table::loadField(qint64 rowid, int field) const
{
    if (rowid < 0)
        return QVariant();
    Statement &q = m_db->cached(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(quoted(info().fields[field].name), quoted(m_tableName)));
    q.bind(1, rowid);
    QVariant v;
    if (q.step())
        v = q.value(0);
    q.reset();
    return v;
}

QVariant Table::fieldValue(const Record &record, int field) const
{
    const FieldDef &f = info().fields[field];
    if (f.type == FieldType::AutoInc && record.rowid >= 0)
        return QVariant(int(record.rowid));
    auto &rec = const_cast<Record &>(record);
    if (!rec.loaded[size_t(field)]) {
        if (f.isLarge() || record.rowid < 0 || record.partial) {
            rec.values[size_t(field)] = loadField(record.rowid, field);
            rec.loaded[size_t(field)] = true;
        } else {
            loadSmallFields(rec);
        }
    }
    return readValue(f, rec.values[size_t(field)]);
}

QVariant Table::lookupValue(const LookupDef &l, const Record &record) const
{
    Table *through = l.through.data();
    if (!through || !through->isOpen())
        return QVariant();
    const int sourceIndex = info().fieldIndex(l.sourceField);
    const QVariant key = fieldValue(record, sourceIndex);
    if (key.isNull())
        return QVariant();
    const TableInfo &ti = through->info();
    qint64 rowid = -1;
    if (l.keyField.compare(ti.rowidField, Qt::CaseInsensitive) == 0) {
        bool ok = false;
        rowid = key.toLongLong(&ok);
        if (!ok || !through->showsRow(rowid))
            return QVariant();
    } else {
        Statement &q = through->m_db->cached(
            QStringLiteral("SELECT rowid FROM %1 WHERE %2=?").arg(quoted(through->m_tableName), quoted(l.keyField)));
        q.bind(1, key);
        std::vector<qint64> candidates;
        while (q.step())
            candidates.push_back(q.int64(0));
        q.reset();
        for (qint64 c : candidates)
            if (through->showsRow(c)) {
                rowid = c;
                break;
            }
        if (rowid < 0)
            return QVariant();
    }
    const Record *row = through->recordFor(rowid, false);
    const Record *previous = through->m_testing;
    through->m_testing = row;
    QVariant result;
    try {
        result = through->value(l.resultField);
    } catch (...) {
        through->m_testing = previous;
        throw;
    }
    through->m_testing = previous;
    return result;
}

void Table::computeCalc(Record &record) const
{
    if (m_calcFields.isEmpty() || !onCalcFields)
        return;
    const Record *previous = m_testing;
    m_testing = &record;
    try {
        onCalcFields(const_cast<Table &>(*this));
    } catch (...) {
        m_testing = previous;
        throw;
    }
    m_testing = previous;
}

bool Table::hasField(const QString &name) const
{
    return info().fieldIndex(name) >= 0 || lookup(name) || m_calcFields.contains(name, Qt::CaseInsensitive);
}

bool Table::isLookupOrCalc(const QString &name) const
{
    return lookup(name) || m_calcFields.contains(name, Qt::CaseInsensitive);
}

int Table::fieldWidth(const QString &name) const
{
    const int fi = info().fieldIndex(name);
    if (fi >= 0)
        return info().fields[fi].width;
    if (const LookupDef *l = lookup(name))
        return l->width;
    return m_calcWidths.value(name.toLower());
}

QVariant Table::value(const QString &name) const
{
    const Record *record = m_testing;
    if (!record && m_buffer)
        record = m_buffer.get();
    if (!record) {
        const qint64 rowid = isOpen() ? rowAt(m_pos) : -1;
        if (rowid < 0) {
            if (!hasField(name))
                throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(m_tableName, name));
            return QVariant();
        }
        record = recordFor(rowid);
    }
    const int fi = info().fieldIndex(name);
    if (fi >= 0)
        return fieldValue(*record, fi);
    if (const LookupDef *l = lookup(name))
        return lookupValue(*l, *record);
    if (m_calcFields.contains(name, Qt::CaseInsensitive))
        return record->calc.value(name.toLower());
    throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(m_tableName, name));
}

QVariant Table::valueAt(int position, const QString &name) const
{
    if (position == m_pos && m_buffer)
        return value(name);
    const qint64 rowid = rowAt(position);
    if (rowid < 0)
        return QVariant();
    const Record *previous = m_testing;
    m_testing = recordFor(rowid, false);
    QVariant result;
    try {
        result = value(name);
    } catch (...) {
        m_testing = previous;
        throw;
    }
    m_testing = previous;
    return result;
}

// ---------------------------------------------------------------- writing

void Table::setValue(const QString &name, const QVariant &value)
{
    if (!isEditing() || !m_buffer)
        throw Error(QStringLiteral("La tabla %1 no está en edición").arg(m_tableName));
    const int fi = info().fieldIndex(name);
    if (fi < 0) {
        if (isLookupOrCalc(name))
            throw Error(QStringLiteral("El campo %1 de %2 es calculado").arg(name, m_tableName));
        throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(m_tableName, name));
    }
    const FieldDef &f = info().fields[fi];
    if (f.type == FieldType::AutoInc)
        throw Error(QStringLiteral("El campo %1 de %2 es de sólo lectura").arg(f.name, m_tableName));
    m_buffer->values[size_t(fi)] = normalised(f, value, m_tableName);
    m_buffer->loaded[size_t(fi)] = true;
    m_buffer->modified[size_t(fi)] = true;
    if (m_disableCount == 0)
        emit recordChanged();
}

void Table::setCalcValue(const QString &name, const QVariant &value)
{
    Record *record = const_cast<Record *>(m_testing);
    if (!record)
        throw Error(QStringLiteral("%1: valor calculado fuera del cálculo").arg(m_tableName));
    QVariant v = value;
    const int width = m_calcWidths.value(name.toLower());
    if (width > 0 && v.typeId() == QMetaType::QString && v.toString().size() > width)
        v = v.toString().left(width);
    record->calc.insert(name.toLower(), v);
}

void Table::edit()
{
    requireOpen();
    if (isEditing())
        return;
    const qint64 rowid = rowAt(m_pos);
    if (rowid < 0)
        throw Error(QStringLiteral("La tabla %1 no tiene registro actual").arg(m_tableName));
    const Record *current = recordFor(rowid);
    m_buffer = std::make_unique<Record>(*current);
    m_buffer->modified.assign(m_buffer->values.size(), false);
    m_state = State::Edit;
    emit stateChanged();
}

void Table::append()
{
    requireBrowse("append");
    const TableInfo &ti = info();
    m_buffer = std::make_unique<Record>();
    m_buffer->rowid = -1;
    m_buffer->values.assign(size_t(ti.fields.size()), QVariant());
    m_buffer->loaded.assign(size_t(ti.fields.size()), true);
    m_buffer->modified.assign(size_t(ti.fields.size()), false);
    m_newAt = int(m_sel.size());
    m_pos = m_newAt;
    m_state = State::Insert;
    m_eof = m_bof = false;
    // A new row of a detail belongs to the master's current record.
    if (m_master && m_hasRange && !m_rangeValue.isNull()) {
        const IndexDef *ix = m_indexName.isEmpty() ? nullptr : ti.index(m_indexName);
        const QString lead = ix ? ix->field : ti.primaryField;
        const int fi = ti.fieldIndex(lead);
        if (fi >= 0 && ti.fields[fi].type != FieldType::AutoInc) {
            m_buffer->values[size_t(fi)] = normalised(ti.fields[fi], m_rangeValue, m_tableName);
            m_buffer->modified[size_t(fi)] = true;
        }
    }
    emit stateChanged();
    notifyDataSet();
    if (afterInsert)
        afterInsert(*this);
    if (m_state != State::Insert)
        return; // the handler cancelled it
    scrolled();
}

void Table::insert()
{
    const int at = std::max(m_pos, 0);
    append();
    if (m_state == State::Insert && m_newAt != at && at < int(m_sel.size())) {
        m_newAt = at;
        m_pos = at;
        notifyDataSet();
    }
}

void Table::writeRecord()
{
    const TableInfo &ti = info();
    if (m_state == State::Insert) {
        QStringList columns, marks;
        QVariantList values;
        for (int i = 0; i < ti.fields.size(); ++i) {
            const QVariant &v = m_buffer->values[size_t(i)];
            if (ti.fields[i].type == FieldType::AutoInc || v.isNull())
                continue;
            columns << quoted(ti.fields[i].name);
            marks << QStringLiteral("?");
            values << v;
        }
        const QString sql = columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_tableName))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(m_tableName), columns.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        Statement q(m_db->handle(), sql);
        for (int i = 0; i < values.size(); ++i)
            q.bind(i + 1, values[i]);
        q.run();
        m_buffer->rowid = sqlite3_last_insert_rowid(m_db->handle());
        m_db->rowChanged(m_tableName, m_buffer->rowid, Database::Change::Inserted);
        return;
    }
    QStringList sets;
    QVariantList values;
    for (int i = 0; i < ti.fields.size(); ++i)
        if (m_buffer->modified[size_t(i)]) {
            sets << quoted(ti.fields[i].name) + QStringLiteral("=?");
            values << m_buffer->values[size_t(i)];
        }
    if (sets.isEmpty())
        return;
    Statement q(m_db->handle(), QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quoted(m_tableName), sets.join(QLatin1String(", "))));
    int n = 1;
    for (const QVariant &v : values)
        q.bind(n++, v);
    q.bind(n, m_buffer->rowid);
    q.run();
    m_db->rowChanged(m_tableName, m_buffer->rowid, Database::Change::Updated);
}

bool Table::handlePostError(const Error &error)
{
    if (!onPostError)
        return false;
    PostAction action = PostAction::Fail;
    onPostError(*this, error, action);
    return action == PostAction::Abort;
}

void Table::post()
{
    requireOpen();
    if (!isEditing())
        return;
    try {
        writeRecord();
    } catch (const Error &e) {
        const Error error(QStringLiteral("No se pudo guardar el registro en %1: %2").arg(m_tableName, e.message()));
        if (handlePostError(error))
            throw Abort();
        throw error;
    }
    const qint64 rowid = m_buffer->rowid;
    m_buffer.reset();
    m_state = State::Browse;
    rebuild();
    int pos = positionOfRow(rowid);
    if (pos < 0 && m_order && !m_hasRange) {
        // The posted row no longer passes the filter: it stays in view until the next refresh,
        // so that the user sees what was just written.
        const size_t lo = m_order->lowerBound(m_db->keyOf(m_tableName, *m_order, rowid), rowid);
        if (lo < m_order->rowids.size() && m_order->rowids[lo] == rowid) {
            const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), int(lo));
            pos = int(it - m_sel.begin());
            m_sel.insert(it, int(lo));
        }
    }
    setPosition(pos >= 0 ? pos : std::min(m_pos, recordCount() - 1));
    emit stateChanged();
    notifyDataSet();
    if (m_disableCount == 0)
        emit recordChanged();
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == State::Insert;
    m_buffer.reset();
    m_state = State::Browse;
    if (inserting) {
        const int at = m_newAt;
        m_newAt = -1;
        setPosition(recordCount() == 0 ? -1 : std::min(at, recordCount() - 1));
        emit stateChanged();
        notifyDataSet();
        scrolled();
        return;
    }
    emit stateChanged();
    if (m_disableCount == 0)
        emit recordChanged();
}

void Table::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    const qint64 rowid = rowAt(m_pos);
    if (rowid < 0)
        throw Error(QStringLiteral("La tabla %1 no tiene registro actual").arg(m_tableName));
    Statement q(m_db->handle(), QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoted(m_tableName)));
    q.bind(1, rowid);
    q.run();
    m_db->rowChanged(m_tableName, rowid, Database::Change::Deleted);
    const int at = m_pos;
    rebuild();
    setPosition(recordCount() == 0 ? -1 : std::min(at, recordCount() - 1));
    m_eof = m_bof = recordCount() == 0;
    notifyDataSet();
    scrolled();
}

void Table::emptyTable()
{
    if (isEditing())
        cancel();
    m_db->exec(QStringLiteral("DELETE FROM %1").arg(quoted(m_tableName)));
    m_db->tableReset(m_tableName);
    if (!isOpen())
        return;
    rebuild();
    setPosition(-1);
    m_eof = m_bof = true;
    notifyDataSet();
    scrolled();
}

// ---------------------------------------------------------------- controls

void Table::disableControls()
{
    ++m_disableCount;
}

void Table::enableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_pendingDataSet) {
        m_pendingDataSet = false;
        notifyDataSet();
    }
    for (const QPointer<Table> &detail : std::as_const(m_details))
        if (detail)
            detail->followMaster();
    emit recordChanged();
}

} // namespace store
