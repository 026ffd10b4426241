#include "Database.h"

#include "Error.h"
#include "Sql.h"
#include "TableAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <numeric>

namespace store {

namespace {

QString declaredType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::SmallInt:
        return QStringLiteral("SMALLINT");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Float:
        return QStringLiteral("DOUBLE");
    case FieldType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(f.width);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Picture:
        return QStringLiteral("BLOB");
    }
    return QString();
}

FieldDef fieldFromDeclared(const QString &name, const QString &declared, bool primaryKey)
{
    FieldDef f;
    f.name = name;
    const QString t = declared.trimmed().toUpper();
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
    const auto m = varchar.match(t);
    if (primaryKey && t == QLatin1String("INTEGER"))
        f.type = FieldType::AutoInc;
    else if (m.hasMatch()) {
        f.type = FieldType::Text;
        f.width = m.captured(1).toInt();
    } else if (t == QLatin1String("SMALLINT"))
        f.type = FieldType::SmallInt;
    else if (t == QLatin1String("BOOLEAN"))
        f.type = FieldType::Boolean;
    else if (t == QLatin1String("DOUBLE"))
        f.type = FieldType::Float;
    else if (t == QLatin1String("TEXT"))
        f.type = FieldType::Memo;
    else if (t == QLatin1String("BLOB"))
        f.type = FieldType::Picture;
    else
        f.type = FieldType::Integer;
    return f;
}

QString typeName(const FieldDef &f)
{
    return declaredType(f).section(QLatin1Char(' '), 0, 0);
}

// Index names are per table for the program but global in SQLite: they are stored as
// "Table_Name"; the store's own indexes as "Table__what" and are not listed as named indexes.
QString sqlIndexName(const QString &table, const QString &index)
{
    return table + QLatin1Char('_') + index;
}

void caseFold(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray folded = QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toCaseFolded().toUtf8();
    sqlite3_result_text(ctx, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

QString orderKey(const QString &table, const QString &index)
{
    return table.toLower() + QLatin1Char('\n') + index.toLower();
}

} // namespace

QString Database::filePathFor(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(FileName));
}

bool Database::existsIn(const QString &folder)
{
    return QFileInfo::exists(filePathFor(folder));
}

Database::Database(const QString &folder, OpenMode mode) : m_path(filePathFor(folder))
{
    if (mode == OpenMode::Existing) {
        if (!QFileInfo::exists(m_path))
            throw Error(QStringLiteral("No hay una base de datos en %1").arg(QDir::toNativeSeparators(folder)));
        openFile(SQLITE_OPEN_READONLY);
        try {
            checkOurs();
        } catch (...) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw;
        }
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        openFile(SQLITE_OPEN_READWRITE);
    } else {
        if (QFileInfo::exists(m_path))
            throw Error(QStringLiteral("%1 ya existe").arg(QDir::toNativeSeparators(m_path)));
        QDir().mkpath(folder);
        openFile(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        exec(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId));
        exec(QStringLiteral("PRAGMA user_version=1"));
    }
    // A posted record must survive a crash or a kill: write-ahead log, synced at every commit.
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    sqlite3_create_function_v2(m_db, "hx_casefold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, caseFold,
                               nullptr, nullptr, nullptr);
}

Database::~Database()
{
    m_statements.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Database::openFile(int flags)
{
    const QByteArray path = QFile::encodeName(m_path);
    if (sqlite3_open_v2(path.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("sin memoria");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw Error(QStringLiteral("No se puede abrir %1: %2").arg(QDir::toNativeSeparators(m_path), message));
    }
    sqlite3_busy_timeout(m_db, 2000);
}

void Database::checkOurs()
{
    const QString file = QDir::toNativeSeparators(m_path);
    int appId = 0;
    try {
        Statement id(m_db, QStringLiteral("PRAGMA application_id"));
        if (id.step())
            appId = int(id.int64(0));
    } catch (const Error &e) {
        throw Error(QStringLiteral("%1 no es una base de datos de Herbaxis (%2)").arg(file, e.message()));
    }
    if (appId != ApplicationId)
        throw Error(QStringLiteral("%1 no es una base de datos de Herbaxis").arg(file));
    Statement check(m_db, QStringLiteral("PRAGMA quick_check"));
    QStringList problems;
    while (check.step())
        problems << check.value(0).toString();
    if (problems != QStringList{QStringLiteral("ok")})
        throw Error(QStringLiteral("%1 está dañada: %2").arg(file, problems.join(QLatin1String("; "))));
}

void Database::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw Error(message);
    }
}

qint64 Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

Statement &Database::cached(const QString &sql)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end())
        it = m_statements.insert(sql, std::make_shared<Statement>(m_db, sql));
    return **it;
}

bool Database::hasTable(const QString &name) const
{
    Statement q(m_db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    q.bind(1, TableAddress::parse(name).table);
    return q.step();
}

const TableInfo &Database::info(const QString &name)
{
    const QString bare = TableAddress::parse(name).table;
    const QString key = bare.toLower();
    auto it = m_infos.find(key);
    if (it == m_infos.end())
        it = m_infos.insert(key, std::make_shared<TableInfo>(readInfo(bare)));
    return **it;
}

TableInfo Database::readInfo(const QString &name)
{
    Statement master(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    master.bind(1, name);
    if (!master.step())
        throw Error(QStringLiteral("La tabla %1 no existe en %2").arg(name, QDir::toNativeSeparators(m_path)));
    TableInfo info;
    info.name = master.value(0).toString();

    Statement columns(m_db, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"));
    columns.bind(1, info.name);
    while (columns.step()) {
        const FieldDef f = fieldFromDeclared(columns.value(0).toString(), columns.value(1).toString(),
                                             columns.int64(2) != 0);
        if (f.type == FieldType::AutoInc)
            info.rowidField = f.name;
        info.fields << f;
    }
    info.primaryField = info.rowidField;

    Statement indexes(m_db, QStringLiteral("SELECT name FROM pragma_index_list(?) ORDER BY name"));
    indexes.bind(1, info.name);
    const QString prefix = info.name + QLatin1Char('_');
    QStringList names;
    while (indexes.step())
        names << indexes.value(0).toString();
    for (const QString &sqlName : names) {
        if (!sqlName.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        Statement cols(m_db, QStringLiteral("SELECT name, desc, coll FROM pragma_index_xinfo(?) WHERE key=1 ORDER BY seqno"));
        cols.bind(1, sqlName);
        if (!cols.step())
            continue;
        const QString suffix = sqlName.mid(prefix.size());
        if (suffix == QLatin1String("_primary")) {
            info.primaryField = cols.value(0).toString();
        } else if (!suffix.startsWith(QLatin1Char('_'))) {
            IndexDef ix;
            ix.name = suffix;
            ix.field = cols.value(0).toString();
            ix.descending = cols.int64(1) != 0;
            ix.caseInsensitive = cols.value(2).toString().compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0;
            info.indexes << ix;
        }
    }
    return info;
}

void Database::createTable(const TableDef &def)
{
    QStringList columns;
    for (const FieldDef &f : def.fields)
        columns << quoted(f.name) + QLatin1Char(' ') + declaredType(f);
    begin();
    try {
        exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(def.name), columns.join(QLatin1String(", "))));
        for (const IndexDef &ix : def.indexes)
            createIndex(def.name, ix);
        const FieldDef *primary = def.field(def.primaryField);
        if (primary && primary->type != FieldType::AutoInc)
            exec(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                     .arg(quoted(def.name + QLatin1String("__primary")), quoted(def.name), quoted(primary->name)));
        if (!def.uniqueKey.isEmpty()) {
            QStringList cols;
            for (const QString &c : def.uniqueKey)
                cols << quoted(c);
            exec(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                     .arg(quoted(def.name + QLatin1String("__unique")), quoted(def.name), cols.join(QLatin1String(", "))));
        }
        for (const QString &fields : def.lookupFields) {
            QStringList columns;
            for (const QString &field : fields.split(QLatin1Char(',')))
                columns << quoted(field.trimmed());
            QString name = fields;
            name.replace(QLatin1Char(','), QLatin1Char('_'));
            exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quoted(def.name + QLatin1String("__") + name), quoted(def.name), columns.join(QLatin1String(", "))));
        }
        for (const QString &sql : def.triggers)
            exec(sql);
        commit();
    } catch (...) {
        rollback();
        throw;
    }
    m_infos.remove(def.name.toLower());
}

void Database::createIndex(const QString &table, const IndexDef &index)
{
    const TableInfo &ti = info(table);
    if (ti.fieldIndex(index.field) < 0)
        throw Error(QStringLiteral("La tabla %1 no tiene el campo %2").arg(ti.name, index.field));
    exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3%4%5)")
             .arg(quoted(sqlIndexName(ti.name, index.name)), quoted(ti.name), quoted(index.field),
                  index.caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString(),
                  index.descending ? QStringLiteral(" DESC") : QString()));
    m_infos.remove(table.toLower());
}

QStringList Database::checkTable(const TableDef &def)
{
    QStringList problems;
    if (!hasTable(def.name))
        return {QStringLiteral("falta la tabla %1").arg(def.name)};
    const TableInfo &stored = info(def.name);
    for (const FieldDef &f : def.fields) {
        const int i = stored.fieldIndex(f.name);
        if (i < 0) {
            problems << QStringLiteral("%1: falta el campo %2").arg(def.name, f.name);
            continue;
        }
        const FieldDef &s = stored.fields[i];
        if (typeName(s) != typeName(f) || s.width != f.width)
            problems << QStringLiteral("%1.%2: tipo %3, se esperaba %4").arg(def.name, f.name, declaredType(s), declaredType(f));
    }
    return problems;
}

std::shared_ptr<Order> Database::buildOrder(const TableInfo &ti, const QString &indexName)
{
    auto order = std::make_shared<Order>();
    if (indexName.isEmpty()) {
        if (ti.primaryField.compare(ti.rowidField, Qt::CaseInsensitive) != 0)
            order->field = ti.primaryField;
    } else {
        const IndexDef *ix = ti.index(indexName);
        if (!ix)
            throw Error(QStringLiteral("La tabla %1 no tiene el índice %2").arg(ti.name, indexName));
        order->field = ix->field;
        order->caseInsensitive = ix->caseInsensitive;
        order->descending = ix->descending;
    }

    // Any full index of the table holds every row id and is far smaller than a table with memos
    // and pictures; a named index also holds its field. Reading through one never touches the
    // table's own pages.
    QString namedIndex, anyIndex;
    {
        Statement ix(m_db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name=? AND sql IS NOT NULL ORDER BY name"));
        ix.bind(1, ti.name);
        const QString wanted = indexName.isEmpty() ? QString() : sqlIndexName(ti.name, indexName);
        while (ix.step()) {
            const QString name = ix.value(0).toString();
            if (ix.value(1).toString().contains(QLatin1String(" WHERE "), Qt::CaseInsensitive))
                continue; // a partial index does not hold every row
            if (anyIndex.isEmpty())
                anyIndex = name;
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                namedIndex = name;
        }
    }
    auto indexedBy = [](const QString &index) { return index.isEmpty() ? QString() : QStringLiteral(" INDEXED BY %1").arg(quoted(index)); };

    std::vector<qint64> rowids;
    std::vector<SortKey> keys;
    if (order->field.isEmpty()) {
        Statement q(m_db, QStringLiteral("SELECT rowid FROM %1%2").arg(quoted(ti.name), indexedBy(anyIndex)));
        while (q.step())
            rowids.push_back(q.int64(0));
        std::sort(rowids.begin(), rowids.end());
        for (qint64 id : rowids) {
            SortKey k;
            k.kind = SortKey::Number;
            k.number = double(id);
            keys.push_back(std::move(k));
        }
        order->rowids = std::move(rowids);
        order->keys = std::move(keys);
        return order;
    }

    Statement q(m_db, QStringLiteral("SELECT rowid, %1 FROM %2%3").arg(quoted(order->field), quoted(ti.name), indexedBy(namedIndex)));
    while (q.step()) {
        rowids.push_back(q.int64(0));
        keys.push_back(SortKey::fromValue(q.value(1), order->caseInsensitive));
    }
    std::vector<size_t> perm(rowids.size());
    std::iota(perm.begin(), perm.end(), size_t(0));
    const bool desc = order->descending;
    std::sort(perm.begin(), perm.end(), [&](size_t a, size_t b) {
        int c = compareKeys(keys[a], keys[b]);
        if (desc)
            c = -c;
        return c != 0 ? c < 0 : rowids[a] < rowids[b];
    });
    order->rowids.reserve(perm.size());
    order->keys.reserve(perm.size());
    for (size_t p : perm) {
        order->rowids.push_back(rowids[p]);
        order->keys.push_back(std::move(keys[p]));
    }
    return order;
}

std::shared_ptr<const Order> Database::order(const QString &table, const QString &indexName)
{
    const TableInfo &ti = info(table);
    const QString key = orderKey(ti.name, indexName);
    auto it = m_orders.find(key);
    if (it == m_orders.end())
        it = m_orders.insert(key, buildOrder(ti, indexName));
    return *it;
}

SortKey Database::keyOf(const QString &table, const Order &order, qint64 rowid)
{
    if (order.field.isEmpty()) {
        SortKey k;
        k.kind = SortKey::Number;
        k.number = double(rowid);
        return k;
    }
    Statement &q = cached(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(quoted(order.field), quoted(info(table).name)));
    q.bind(1, rowid);
    SortKey k;
    if (q.step())
        k = SortKey::fromValue(q.value(0), order.caseInsensitive);
    q.reset();
    return k;
}

void Database::rowChanged(const QString &table, qint64 rowid, Change change)
{
    const QString prefix = table.toLower() + QLatin1Char('\n');
    ++m_generations[table.toLower()];
    for (auto it = m_orders.begin(); it != m_orders.end(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        auto updated = std::make_shared<Order>(**it);
        const auto found = std::find(updated->rowids.begin(), updated->rowids.end(), rowid);
        if (found != updated->rowids.end()) {
            const auto at = found - updated->rowids.begin();
            updated->rowids.erase(found);
            updated->keys.erase(updated->keys.begin() + at);
        }
        if (change != Change::Deleted) {
            SortKey key = keyOf(table, *updated, rowid);
            const size_t lo = updated->lowerBound(key, rowid);
            updated->rowids.insert(updated->rowids.begin() + lo, rowid);
            updated->keys.insert(updated->keys.begin() + lo, std::move(key));
        }
        it.value() = std::move(updated);
    }
}

void Database::tableReset(const QString &table)
{
    const QString prefix = table.toLower() + QLatin1Char('\n');
    ++m_generations[table.toLower()];
    for (auto it = m_orders.begin(); it != m_orders.end();) {
        if (it.key().startsWith(prefix))
            it = m_orders.erase(it);
        else
            ++it;
    }
}

quint64 Database::generation(const QString &table) const
{
    return m_generations.value(table.toLower());
}

Database::LightCommits::LightCommits(Database &db) : m_db(db)
{
    m_db.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

Database::LightCommits::~LightCommits()
{
    try {
        m_db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (...) {
    }
}

void Database::begin()
{
    exec(QStringLiteral("BEGIN"));
}

void Database::commit()
{
    exec(QStringLiteral("COMMIT"));
}

void Database::rollback()
{
    char *error = nullptr;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, &error);
    sqlite3_free(error);
}

} // namespace store
