#pragma once

#include "store/Database.h"
#include "store/Table.h"

#include <QTemporaryDir>

#include <memory>

namespace test {

// A temporary working folder with an empty plant database of the program's schema.
class WorkingFolder {
public:
    WorkingFolder();
    QString path() const { return m_dir.path(); }
    store::Session &session() { return *m_session; }
    // Closes the session so that the files can be reopened from scratch.
    void closeSession() { m_session.reset(); }
    void reopen();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<store::Session> m_session;
};

// Appends a plant and returns its key. Orden follows Clave as the program sets it.
int addPlant(store::Session &session, const QString &pinyin, bool formula = false, const QString &nom0 = QString());

// The first column of the first row of a query: a count or a number (-1 when there is no row),
// or a text (null when there is none).
qint64 scalar(store::Session &session, const QString &sql);
QString scalarText(store::Session &session, const QString &sql);
QVariant scalarValue(store::Session &session, const QString &sql); // null when there is no row

// Runs a store call and fails the test with the store's own message when it throws.
#define STORE_VERIFY(statement)                                                                                      \
    do {                                                                                                           \
        try {                                                                                                      \
            statement;                                                                                             \
        } catch (const store::Error &e_) {                                                                         \
            QFAIL(qPrintable(QStringLiteral("%1 failed: %2").arg(QStringLiteral(#statement), e_.message())));       \
        }                                                                                                          \
    } while (false)

} // namespace test
