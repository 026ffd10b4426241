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

} // namespace

// Points m_testing at a row for the length of a scope, so that value() and rowId() read that row
// (the row a filter callback tests, a grid reads, or a calculation computes); the row that was
// under test before comes back when the scope ends, however it ends.
class Table::TestingRow {
public:
    TestingRow(const Table &table, const Record *row) : m_table(table), m_previous(table.m_testing)
    {
        table.m_testing = row;
    }
    ~TestingRow() { m_table.m_testing = m_previous; }
    TestingRow(const TestingRow &) = delete;
    TestingRow &operator=(const TestingRow &) = delete;

private:
    const Table &m_table;
    const Record *m_previous;
};

Table::Table(Session &session, const QString &tableName, QObject *parent) : QObject(parent), m_session(session)
{
    auto [db, bare] = session.resolve(tableName);
    m_db = db;
    m_tableName = m_db->info(bare).name;
    m_records = RecordCache(*m_db);
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
    place(pos >= 0 ? pos : 0, m_bof, m_eof);
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
    m_rows.forgetRange();
    if (master)
        master->m_details << this;
    if (isOpen()) {
        if (isEditing())
            cancel();
        rebuild();
        placeOnFirst();
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
    m_records.clear();
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

void Table::requireBrowse()
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
    placeOnFirst();
    emit stateChanged();
    notifyDataSet();
    scrolled();
}

void Table::close()
{
    if (!isOpen())
        return;
    m_buffer.reset();
    m_state = State::Inactive;
    m_rows = RowList();
    m_records.clear();
    place(-1, true, true);
    emit stateChanged();
    notifyDataSet();
}

void Table::refresh()
{
    requireBrowse();
    const qint64 current = rowId();
    rebuild();
    const int pos = positionOfRow(current);
    const bool moved = pos < 0;
    place(pos >= 0 ? pos : m_pos, false, false);
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
    m_records.clear();
    m_generation = m_db->generation(m_tableName);
    const TableInfo &ti = info();
    const bool useExpression = m_filtered && !m_filter.isEmpty();

    if (m_master) {
        // A range on the leading field of the current index: read just those rows.
        const QVariant value = masterValue();
        const IndexDef *ix = m_indexName.isEmpty() ? nullptr : ti.index(m_indexName);
        QString field = ix ? ix->field : ti.primaryField;
        if (field.compare(ti.rowidField, Qt::CaseInsensitive) == 0)
            field.clear();
        std::vector<qint64> rowids;
        if (!value.isNull()) {
            const QString lead = field.isEmpty() ? QStringLiteral("rowid") : quoted(field);
            Statement q(m_db->handle(), QStringLiteral("SELECT rowid FROM %1 WHERE %2=? AND %3 ORDER BY rowid")
                                            .arg(quoted(m_tableName), lead, useExpression ? m_filter.sqlCondition() : QStringLiteral("1")));
            q.bind(1, value);
            if (useExpression)
                m_filter.bindTo(q, 2);
            while (q.step())
                rowids.push_back(q.int64(0));
        }
        m_rows = RowList::range(field, value, std::move(rowids));
    } else {
        m_rows = RowList(m_db->order(m_tableName, m_indexName));
        if (useExpression) {
            Statement q(m_db->handle(),
                        QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(quoted(m_tableName), m_filter.sqlCondition()));
            m_filter.bindTo(q, 1);
            std::vector<qint64> passing;
            while (q.step())
                passing.push_back(q.int64(0));
            m_rows.keepRowIds(passing);
        }
    }

    if (m_filtered && filterRecord) {
        // One probe record serves every row: only its loaded flags are reset, since a value is
        // read only once it is loaded for the row under test.
        Record probe = Record::blank(ti, -1, false);
        const TestingRow testing(*this, &probe);
        m_rows.keepIf([&](qint64 rowid) {
            probe.rowid = rowid;
            std::fill(probe.loaded.begin(), probe.loaded.end(), false);
            return filterRecord(*this);
        });
    }
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    return m_rows.count();
}

qint64 Table::rowAt(int position) const
{
    return isOpen() ? m_rows.rowAt(position) : -1;
}

SortKey Table::keyOf(qint64 rowid) const
{
    if (m_rows.isRange())
        return m_rows.rangeKey();
    return m_db->keyOf(m_tableName, *m_rows.order(), rowid);
}

int Table::positionOfRow(qint64 rowid) const
{
    // The key costs a read: none is made for a row that cannot be there.
    if (rowid < 0 || m_rows.storedCount() == 0)
        return -1;
    return m_rows.positionOf(rowid, keyOf(rowid));
}

bool Table::showsRow(qint64 rowid) const
{
    return isOpen() && positionOfRow(rowid) >= 0;
}

void Table::place(int position, bool bof, bool eof)
{
    const int count = recordCount();
    if (count == 0) {
        m_pos = -1;
        m_bof = m_eof = true;
        return;
    }
    m_pos = std::clamp(position, 0, count - 1);
    m_bof = bof;
    m_eof = eof;
}

void Table::placeOnFirst()
{
    place(0, true, false);
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
    if (m_rows.isRange() && value == m_rows.rangeValue() && m_generation == m_db->generation(m_tableName))
        return;
    if (isEditing())
        cancel();
    rebuild();
    placeOnFirst();
    notifyDataSet();
    scrolled();
}

// ---------------------------------------------------------------- moving

void Table::first()
{
    requireBrowse();
    placeOnFirst();
    scrolled();
}

void Table::last()
{
    requireBrowse();
    place(recordCount() - 1, false, true);
    scrolled();
}

void Table::next()
{
    requireBrowse();
    if (m_eof)
        return;
    const bool atLast = m_pos + 1 >= recordCount();
    place(atLast ? m_pos : m_pos + 1, false, atLast);
    scrolled();
}

void Table::prior()
{
    requireBrowse();
    if (m_bof)
        return;
    const bool atFirst = m_pos <= 0;
    place(atFirst ? m_pos : m_pos - 1, atFirst, false);
    scrolled();
}

void Table::moveTo(int position)
{
    requireBrowse();
    if (recordCount() == 0)
        return;
    position = std::clamp(position, 0, recordCount() - 1);
    if (position == m_pos)
        return;
    place(position, false, false);
    scrolled();
}

bool Table::findNearest(const QVariant &value)
{
    requireBrowse();
    if (m_rows.storedCount() == 0)
        return false;
    QVariant v = value;
    const QString field = m_rows.order()->field;
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
    place(m_rows.nearest(SortKey::fromValue(v, m_rows.order()->caseInsensitive)), false, false);
    scrolled();
    return true;
}

bool Table::findKey(const QVariant &key)
{
    requireBrowse();
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
    requireBrowse();
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
    place(best, false, false);
    scrolled();
    return true;
}

bool Table::gotoBookmark(Bookmark bookmark)
{
    requireBrowse();
    const int pos = positionOfRow(bookmark);
    if (pos < 0)
        return false;
    place(pos, false, false);
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

Record *Table::recordFor(qint64 rowid, bool whole) const
{
    return m_records.get(info(), rowid, whole, [this](Record &record) { computeCalc(record); });
}

QVariant Table::fieldValue(const Record &record, int field) const
{
    const TableInfo &ti = info();
    const FieldDef &f = ti.fields[field];
    if (f.type == FieldType::AutoInc && record.rowid >= 0)
        return QVariant(int(record.rowid));
    auto &rec = const_cast<Record &>(record);
    if (!rec.loaded[size_t(field)])
        m_records.load(ti, rec, field);
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
    const TestingRow testing(*through, through->recordFor(rowid, false));
    return through->value(l.resultField);
}

void Table::computeCalc(Record &record) const
{
    if (m_calcFields.isEmpty() || !onCalcFields)
        return;
    const TestingRow testing(*this, &record);
    onCalcFields(const_cast<Table &>(*this));
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
    const TestingRow testing(*this, recordFor(rowid, false));
    return value(name);
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
    requireBrowse();
    const TableInfo &ti = info();
    m_buffer = std::make_unique<Record>(Record::blank(ti, -1, true));
    m_buffer->modified.assign(m_buffer->values.size(), false);
    m_rows.placeNewRow(m_rows.storedCount());
    m_state = State::Insert;
    place(m_rows.newRowAt(), false, false);
    // A new row of a detail belongs to the master's current record.
    if (m_master && m_rows.isRange() && !m_rows.rangeValue().isNull()) {
        const IndexDef *ix = m_indexName.isEmpty() ? nullptr : ti.index(m_indexName);
        const QString lead = ix ? ix->field : ti.primaryField;
        const int fi = ti.fieldIndex(lead);
        if (fi >= 0 && ti.fields[fi].type != FieldType::AutoInc) {
            m_buffer->values[size_t(fi)] = normalised(ti.fields[fi], m_rows.rangeValue(), m_tableName);
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
    if (m_state == State::Insert && m_rows.newRowAt() != at && at < m_rows.storedCount()) {
        m_rows.placeNewRow(at);
        place(at, m_bof, m_eof);
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
    if (pos < 0 && m_rows.order() && !m_rows.isRange()) {
        // The posted row no longer passes the filter: it stays in view until the next refresh,
        // so that the user sees what was just written.
        pos = m_rows.show(rowid, keyOf(rowid));
    }
    place(pos >= 0 ? pos : m_pos, m_bof, m_eof);
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
        const int at = m_rows.newRowAt();
        m_rows.dropNewRow();
        place(at, m_bof, m_eof);
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
    place(at, false, false);
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
    place(-1, true, true);
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
