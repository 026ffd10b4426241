#include "Fixture.h"

#include "data/Schema.h"
#include "store/Statement.h"

namespace test {

WorkingFolder::WorkingFolder()
{
    data::createDatabase(m_dir.path(), data::workingTables());
    reopen();
}

void WorkingFolder::reopen()
{
    m_session.reset();
    m_session = std::make_unique<store::Session>(m_dir.path());
}

int addPlant(store::Session &session, const QString &pinyin, bool formula, const QString &nom0)
{
    store::Table t(session, QStringLiteral("Plantas.DB"));
    t.open();
    t.append();
    t.setValue(QStringLiteral("PinYin"), pinyin);
    t.setValue(QStringLiteral("EsFormula"), formula);
    t.setValue(QStringLiteral("Nom0"), nom0);
    t.post();
    const int key = t.asInt(QStringLiteral("Clave"));
    t.edit();
    t.setValue(QStringLiteral("Orden"), key);
    t.post();
    return key;
}

qint64 scalar(store::Session &session, const QString &sql)
{
    store::Statement q(session.database().handle(), sql);
    return q.step() ? q.int64(0) : -1;
}

QString scalarText(store::Session &session, const QString &sql)
{
    return scalarValue(session, sql).toString();
}

QVariant scalarValue(store::Session &session, const QString &sql)
{
    store::Statement q(session.database().handle(), sql);
    return q.step() ? q.value(0) : QVariant();
}

} // namespace test
