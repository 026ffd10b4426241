#include "Suite.h"

#include "app/HerbaxisApplication.h"
#include "app/Program.h"
#include "app/WorkingFolder.h"
#include "common/AppContext.h"
#include "data/TDM.h"
#include "mainwin/TFPlantas.h"
#include "repertory/TFPlanRep.h"
#include "repertory/TFUsos.h"
#include "store/Error.h"
#include "store/Table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <map>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double msSince(Clock::time_point from)
{
    return msBetween(from, Clock::now());
}

// Lets the window do what it does after a change: relayout, repaint (offscreen).
void settle()
{
    QCoreApplication::processEvents();
}

// The row SQLite's own index finds for a typed text: the baseline of positioning.
qint64 plainNearest(PlainQuery &nearest, const QString &text)
{
    nearest.bind(1, text);
    const qint64 row = nearest.step() ? nearest.int64(0) : -1;
    nearest.reset();
    return row;
}

void showExposed(QWidget &window)
{
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    settle();
}

} // namespace

// The program as main() starts it on a session: the context, the windows in their order, the main
// window shown (offscreen) on its first record.
class RunningProgram {
public:
    RunningProgram(store::Session &session, const QString &folder)
    {
        m_context.workingFolder = folder;
        m_context.session = &session;
        m_program = std::make_unique<app::Program>(m_context);
        if (!m_program->start())
            throw store::Error(QStringLiteral("the main window did not start: %1").arg(m_program->mainWindow().startupError()));
        showExposed(m_program->mainWindow());
    }
    ~RunningProgram() { m_program.reset(); }

    mainwin::TFPlantas &window() const { return m_program->mainWindow(); }
    common::AppContext &context() { return m_context; }
    store::Table &plan() const { return *m_program->dataModule().TPlan; }

    // What choosing an item of the language box does.
    void chooseLanguage(int item)
    {
        window().findChild<widgets::DropDownCombo *>(QStringLiteral("CBIdioma"))->setCurrentIndex(item);
        window().CBIdiomaChange();
    }

private:
    common::AppContext m_context;
    std::unique_ptr<app::Program> m_program;
};

namespace {

// What the record panels show of the current plant.
const QStringList &panelFields()
{
    static const QStringList fields = QStringLiteral(
        "PinYin Nom0 Nom1 Nom2 Nom3 Nom4 Nom5 Nom6 Nom7 Nom8 Nom9 Nom10 Meridianos Sabor Energia Toxicidad Descripcion")
                                          .split(QLatin1Char(' '));
    return fields;
}

// The naming languages of the list's language box: item 0 is pin yin, item n is Nom(n-1).
constexpr int LanguageItems = 5;

QString fieldOfLanguage(int item)
{
    return item == 0 ? QStringLiteral("PinYin") : QStringLiteral("Nom%1").arg(item - 1);
}

QString nearestSql(const QString &field)
{
    return QStringLiteral("SELECT rowid FROM Plantas WHERE %1 >= ? COLLATE NOCASE ORDER BY %1 COLLATE NOCASE LIMIT 1").arg(field);
}

// The plain way to show the list in another order at the same record: where the record stands
// (how many rows come before it) and the page of rows from it on.
class SwitchBaseline {
public:
    SwitchBaseline(const PlainDb &db, const QString &field)
        : m_key(db, QStringLiteral("SELECT %1 FROM Plantas WHERE rowid=?").arg(field)),
          m_before(db, QStringLiteral("SELECT count(*) FROM Plantas WHERE %1 < ? COLLATE NOCASE").arg(field)),
          m_page(db, QStringLiteral("SELECT rowid, %1 FROM Plantas WHERE %1 >= ? COLLATE NOCASE ORDER BY %1 COLLATE NOCASE LIMIT 30").arg(field))
    {
    }

    // The first row of the page, which is the record itself.
    qint64 run(qint64 rowid, qint64 &sink)
    {
        m_key.bind(1, rowid);
        const QString key = m_key.step() ? m_key.text(0) : QString();
        m_key.reset();
        m_before.bind(1, key);
        sink += m_before.step() ? m_before.int64(0) : 0;
        m_before.reset();
        m_page.bind(1, key);
        qint64 first = -1;
        while (m_page.step()) {
            if (first < 0)
                first = m_page.int64(0);
            sink += m_page.text(1).size();
        }
        m_page.reset();
        return first;
    }

private:
    PlainQuery m_key;
    PlainQuery m_before;
    PlainQuery m_page;
};

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

struct ChildFigures {
    QHash<QString, double> values;
    double operator[](const char *key) const { return values.value(QString::fromLatin1(key)); }
};

ChildFigures launch(const QString &program, const QString &flag, const QString &folder)
{
    QProcess child;
    child.setProgram(program);
    const Clock::time_point t0 = Clock::now();
    child.setArguments({flag, folder, QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch()).count())});
    child.start();
    if (!child.waitForFinished(180000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw store::Error(QStringLiteral("%1 %2 failed: %3").arg(program, flag, QString::fromLocal8Bit(child.readAllStandardError())));
    ChildFigures figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("cold-start "))
            continue;
        for (const QByteArray &pair : line.mid(11).split(' ')) {
            const int eq = int(pair.indexOf('='));
            if (eq > 0)
                figures.values.insert(QString::fromLatin1(pair.left(eq)), pair.mid(eq + 1).toDouble());
        }
    }
    if (figures.values.isEmpty())
        throw store::Error(QStringLiteral("%1 %2 printed no figures").arg(program, flag));
    return figures;
}

} // namespace

// ------------------------------------------------------------------ the suite

Suite::Suite(const QString &folder, const Options &options) : m_folder(folder), m_options(options)
{
    m_session = std::make_unique<store::Session>(folder);
    m_plain = std::make_unique<PlainDb>(store::Database::filePathFor(folder));
    PlainQuery count(*m_plain, QStringLiteral("SELECT count(*) FROM Plantas"));
    m_plants = count.step() ? int(count.int64(0)) : 0;
    if (m_plants < 100)
        throw store::Error(QStringLiteral("%1 has too few plants to measure anything").arg(folder));
    // Names to type, taken from the folder itself at evenly spread records.
    PlainQuery name(*m_plain, QStringLiteral("SELECT PinYin FROM Plantas WHERE rowid=?"));
    const int wanted = m_options.quick ? 1 : 12;
    for (int i = 0; i < wanted; ++i) {
        name.bind(1, 1 + qint64(2 * i + 1) * m_plants / (2 * wanted));
        if (name.step())
            m_names << name.text(0);
        name.reset();
    }
}

Suite::~Suite() = default;

QStringList Suite::operationIds()
{
    return {QStringLiteral("cold-start"), QStringLiteral("typed-letter"), QStringLiteral("find-nearest"),
            QStringLiteral("switch-language-first"), QStringLiteral("switch-language"), QStringLiteral("filter-count"),
            QStringLiteral("page-scroll"), QStringLiteral("repertory-add"), QStringLiteral("repertory-remove"),
            QStringLiteral("chart")};
}

QList<Pending> Suite::pendingOperations()
{
    return {{QStringLiteral("full-text-search"), QStringLiteral("full-text search")},
            {QStringLiteral("property-filter"), QStringLiteral("property filter")},
            {QStringLiteral("repertory-open"), QStringLiteral("open a saved repertory")}};
}

QList<Measurement> Suite::run(const QString &id)
{
    if (id == QLatin1String("cold-start"))
        return coldStart();
    if (id == QLatin1String("typed-letter"))
        return {typedLetter()};
    if (id == QLatin1String("find-nearest"))
        return {findNearest()};
    if (id == QLatin1String("switch-language-first"))
        return {switchLanguageFirst()};
    if (id == QLatin1String("switch-language"))
        return {switchLanguage()};
    if (id == QLatin1String("filter-count"))
        return {filterCount()};
    if (id == QLatin1String("page-scroll"))
        return {pageScroll()};
    if (id == QLatin1String("repertory-add") || id == QLatin1String("repertory-remove"))
        return repertoryCounts(id);
    if (id == QLatin1String("chart"))
        return chart();
    throw store::Error(QStringLiteral("unknown operation %1").arg(id));
}

// What a user types to reach each name: "B", "Ba", "Bai", "Bai ", "Bai Z"... up to the name
// without its number.
QStringList Suite::prefixes() const
{
    static const QRegularExpression number(QStringLiteral(" \\d+$"));
    QStringList typed;
    static const QRegularExpression typeable(QStringLiteral("^[A-Za-z ]+$")); // keys the list takes
    for (QString name : m_names) {
        name.remove(number);
        for (int n = 1; n <= name.size(); ++n)
            if (typeable.match(name.left(n)).hasMatch())
                typed << name.left(n);
    }
    return typed;
}

void Suite::consume(const QVariant &value)
{
    m_sink += value.toString().size();
}

void Suite::consume(const QString &value)
{
    m_sink += value.size();
}

QList<Measurement> Suite::coldStart()
{
    Measurement time;
    time.id = QStringLiteral("cold-start");
    time.title = QStringLiteral("cold start to the first record");
    time.limits = {{Limit::Stat::Median, 1000}};
    Measurement memory;
    memory.id = QStringLiteral("cold-start-memory");
    memory.title = QStringLiteral("peak memory of the cold start");
    memory.unit = QStringLiteral("MB");
    memory.limits = {{Limit::Stat::Max, 400}};

    const QString program = m_options.program.isEmpty() ? QCoreApplication::applicationFilePath() : m_options.program;
    std::map<QString, std::vector<double>> phases;
    for (int r = 0; r < rounds(7); ++r) {
        const ChildFigures ours = launch(program, QStringLiteral("--cold-start"), m_folder);
        const ChildFigures plain = launch(program, QStringLiteral("--cold-start-baseline"), m_folder);
        time.samples.push_back(ours["ready"]);
        time.baseline.push_back(plain["ready"]);
        memory.samples.push_back(ours["hwm"] / 1024.0);
        memory.baseline.push_back(plain["hwm"] / 1024.0);
        phases["1 process start ms"].push_back(ours["main"]);
        phases["2 Qt application ms"].push_back(ours["app"] - ours["main"]);
        phases["3 open folder ms"].push_back(ours["open"] - ours["app"]);
        phases["4 main window ms"].push_back(ours["window"] - ours["open"]);
        phases["5 shown with record ms"].push_back(ours["ready"] - ours["window"]);
        if (ours["first"] != plain["first"])
            time.disagree(QStringLiteral("first record %1, SQLite's %2").arg(ours["first"]).arg(plain["first"]));
    }
    for (const auto &[name, values] : phases)
        time.details.insert(name, percentile(values, 0.5));
    return {time, memory};
}

Measurement Suite::typedLetter()
{
    Measurement m;
    m.id = QStringLiteral("typed-letter");
    m.title = QStringLiteral("typed letter: key handler, synonyms, positioning, panels");
    m.limits = {{Limit::Stat::P95, 16}};
    RunningProgram program(*m_session, m_folder);
    store::Table &plan = program.plan();
    PlainQuery nearest(*m_plain, nearestSql(QStringLiteral("PinYin")));
    PlainQuery record(*m_plain, QStringLiteral("SELECT %1 FROM Plantas WHERE rowid=?").arg(panelFields().join(QLatin1String(", "))));
    const QStringList typed = prefixes();
    for (int r = 0; r < rounds(3); ++r) {
        for (const QString &text : typed) {
            // The strip holds what was typed before; the letter goes through the list's own key
            // handler: synonym look-up, positioning, record panels.
            mainwin::TFPlantas &window = program.window();
            window.findChild<QLabel *>(QStringLiteral("LabBus"))->setText(text.chopped(1));
            const QChar last = text.back().toUpper();
            const int key = last == QLatin1Char(' ') ? int(Qt::Key_Space) : int(Qt::Key_A) + (last.unicode() - u'A');
            Clock::time_point t0 = Clock::now();
            window.GrNomKeyDown(key, Qt::NoModifier);
            for (const QString &field : panelFields())
                consume(plan.value(field));
            settle();
            m.samples.push_back(msSince(t0));

            t0 = Clock::now();
            const qint64 row = plainNearest(nearest, text);
            record.bind(1, row);
            if (record.step())
                for (int c = 0; c < record.columnCount(); ++c)
                    consume(record.text(c));
            record.reset();
            m.baseline.push_back(msSince(t0));
            if (plan.rowId() != row)
                m.disagree(QStringLiteral("\"%1\" finds row %2, SQLite row %3").arg(text).arg(plan.rowId()).arg(row));
        }
    }
    return m;
}

Measurement Suite::findNearest()
{
    Measurement m;
    m.id = QStringLiteral("find-nearest");
    m.title = QStringLiteral("find-nearest alone, on PorPinYin");
    m.limits = {{Limit::Stat::Ratio, 1.0}};
    store::Table plan(*m_session, QStringLiteral("Plantas.DB"));
    plan.setIndexName(QStringLiteral("PorPinYin"));
    plan.open();
    PlainQuery nearest(*m_plain, nearestSql(QStringLiteral("PinYin")));
    const QStringList typed = prefixes();
    for (int r = 0; r < rounds(20); ++r) {
        for (const QString &text : typed) {
            Clock::time_point t0 = Clock::now();
            plan.findNearest(text);
            m.samples.push_back(msSince(t0));

            t0 = Clock::now();
            const qint64 row = plainNearest(nearest, text);
            m.baseline.push_back(msSince(t0));
            if (plan.rowId() != row)
                m.disagree(QStringLiteral("\"%1\" finds row %2, SQLite row %3").arg(text).arg(plan.rowId()).arg(row));
        }
    }
    return m;
}

Measurement Suite::switchLanguageFirst()
{
    Measurement m;
    m.id = QStringLiteral("switch-language-first");
    m.title = QStringLiteral("naming language switch, first after open");
    m.limits = {{Limit::Stat::P95, 150}};
    const int languages = m_options.quick ? 2 : LanguageItems;
    for (int r = 0; r < rounds(3); ++r) {
        for (int item = 1; item < languages; ++item) {
            // A session of its own: no order but pin yin's has been read yet.
            store::Session session(m_folder);
            RunningProgram program(session, m_folder);
            store::Table &plan = program.plan();
            plan.findNearest(m_names[(r * LanguageItems + item) % m_names.size()]);
            settle();
            const qint64 current = plan.rowId();

            Clock::time_point t0 = Clock::now();
            program.chooseLanguage(item);
            settle();
            m.samples.push_back(msSince(t0));
            if (plan.rowId() != current)
                m.disagree(QStringLiteral("%1 left record %2 for %3").arg(fieldOfLanguage(item)).arg(current).arg(plan.rowId()));

            PlainDb fresh(store::Database::filePathFor(m_folder));
            t0 = Clock::now();
            SwitchBaseline baseline(fresh, fieldOfLanguage(item));
            const qint64 first = baseline.run(current, m_sink);
            m.baseline.push_back(msSince(t0));
            if (first != current)
                m.disagree(QStringLiteral("SQLite's %1 page starts at %2, not at %3").arg(fieldOfLanguage(item)).arg(first).arg(current));
        }
    }
    return m;
}

Measurement Suite::switchLanguage()
{
    Measurement m;
    m.id = QStringLiteral("switch-language");
    m.title = QStringLiteral("naming language switch, warm");
    m.limits = {{Limit::Stat::P95, 150}};
    RunningProgram program(*m_session, m_folder);
    store::Table &plan = program.plan();
    std::vector<std::unique_ptr<SwitchBaseline>> baselines;
    // Every order read once, so that what is timed is a switch between orders already known.
    for (int item = LanguageItems - 1; item >= 0; --item) {
        program.chooseLanguage(item);
        baselines.insert(baselines.begin(), std::make_unique<SwitchBaseline>(*m_plain, fieldOfLanguage(item)));
        baselines.front()->run(1, m_sink);
    }
    settle();
    int step = 0;
    for (int r = 0; r < rounds(8); ++r) {
        for (int i = 1; i <= LanguageItems; ++i) {
            const int item = i % LanguageItems; // Nom0..Nom3, then back to pin yin
            plan.moveTo(int((qint64(++step) * 7919) % plan.recordCount()));
            settle();
            const qint64 current = plan.rowId();

            Clock::time_point t0 = Clock::now();
            program.chooseLanguage(item);
            settle();
            m.samples.push_back(msSince(t0));
            if (plan.rowId() != current)
                m.disagree(QStringLiteral("%1 left record %2 for %3").arg(fieldOfLanguage(item)).arg(current).arg(plan.rowId()));

            t0 = Clock::now();
            const qint64 first = baselines[size_t(item)]->run(current, m_sink);
            m.baseline.push_back(msSince(t0));
            if (first != current)
                m.disagree(QStringLiteral("SQLite's %1 page starts at %2, not at %3").arg(fieldOfLanguage(item)).arg(first).arg(current));
        }
    }
    return m;
}

Measurement Suite::filterCount()
{
    constexpr int Elements = 0, Formulas = 1, Both = 2; // the kind buttons
    Measurement m;
    m.id = QStringLiteral("filter-count");
    m.title = QStringLiteral("kind and class filter with its count");
    m.limits = {{Limit::Stat::P95, 50}, {Limit::Stat::Ratio, 1.0}};
    QList<int> classes;
    PlainQuery top(*m_plain, QStringLiteral("SELECT Num FROM Clases WHERE Padre=0 ORDER BY Num"));
    while (top.step())
        classes << int(top.int64(0));
    if (m_options.quick)
        classes = classes.mid(0, 1);
    RunningProgram program(*m_session, m_folder);
    mainwin::TFPlantas &window = program.window();
    store::Table &plan = program.plan();
    PlainQuery count(*m_plain, QStringLiteral("SELECT count(*) FROM Plantas WHERE EsFormula=? AND KClase=?"));
    for (int r = 0; r < rounds(2); ++r) {
        for (const int kind : {Formulas, Elements}) {
            for (const int cls : std::as_const(classes)) {
                window.ClassFilter = 0;
                window.findChild<QButtonGroup *>(QStringLiteral("SelPlanFormGroup"))->button(Both)->click();
                settle();

                // A class chosen, then the kind clicked: the list is filtered and counted.
                Clock::time_point t0 = Clock::now();
                window.ClassFilter = cls;
                window.findChild<QButtonGroup *>(QStringLiteral("SelPlanFormGroup"))->button(kind)->click();
                const int shown = plan.recordCount();
                settle();
                m.samples.push_back(msSince(t0));

                t0 = Clock::now();
                count.bind(1, kind == Formulas ? 1 : 0);
                count.bind(2, cls);
                const qint64 counted = count.step() ? count.int64(0) : -1;
                count.reset();
                m.baseline.push_back(msSince(t0));
                if (shown != counted)
                    m.disagree(QStringLiteral("kind %1, class %2: the list shows %3 rows, SQLite counts %4").arg(kind).arg(cls).arg(shown).arg(counted));
            }
        }
    }
    return m;
}

Measurement Suite::pageScroll()
{
    constexpr int Page = 30;
    Measurement m;
    m.id = QStringLiteral("page-scroll");
    m.title = QStringLiteral("plant list scrolled by a page");
    m.limits = {{Limit::Stat::P95, 16}};
    RunningProgram program(*m_session, m_folder);
    store::Table &plan = program.plan();
    plan.first();
    settle();
    // The plain way to the next page: the rows after the last one shown, through the index.
    PlainQuery next(*m_plain, QStringLiteral("SELECT rowid, PinYin FROM Plantas WHERE PinYin > ? COLLATE NOCASE "
                                             "ORDER BY PinYin COLLATE NOCASE LIMIT %1").arg(Page));
    QString lastShown = plan.valueAt(Page - 1, QStringLiteral("PinYin")).toString();
    const int pages = m_options.quick ? 1 : std::min(200, plan.recordCount() / Page - 2);
    for (int p = 0; p < pages; ++p) {
        Clock::time_point t0 = Clock::now();
        plan.moveTo(plan.recNo() + Page);
        for (int i = 0; i < Page; ++i)
            consume(plan.valueAt(plan.recNo() + i, QStringLiteral("PinYin")));
        settle();
        m.samples.push_back(msSince(t0));

        t0 = Clock::now();
        next.bind(1, lastShown);
        qint64 first = -1;
        while (next.step()) {
            if (first < 0)
                first = next.int64(0);
            lastShown = next.text(1);
            consume(lastShown);
        }
        next.reset();
        m.baseline.push_back(msSince(t0));
        if (plan.rowId() != first)
            m.disagree(QStringLiteral("page %1 starts at row %2, SQLite's at %3").arg(p + 1).arg(plan.rowId()).arg(first));
    }
    return m;
}

// ------------------------------------------------------------------ the repertory

namespace {

// The indications with the most relation rows, most related first.
QList<int> mostRelatedIndications(const PlainDb &db, int count)
{
    QList<int> keys;
    PlainQuery q(db, QStringLiteral("SELECT KSint FROM RelSint GROUP BY KSint ORDER BY count(*) DESC, KSint LIMIT %1").arg(count));
    while (q.step())
        keys << int(q.int64(0));
    return keys;
}

// The same counts kept by plain SQL in a temporary table of the baseline's own connection, with
// the repertory's indexes: one statement per item added or removed.
class PlainRepertory {
public:
    explicit PlainRepertory(const PlainDb &db) : m_db(db)
    {
        exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS R (KPlanta INTEGER, Cant INTEGER, P1 TEXT, P2 TEXT, P3 TEXT)"));
        exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS temp.R_key ON R (KPlanta)"));
        exec(QStringLiteral("CREATE INDEX IF NOT EXISTS temp.R_cant ON R (Cant DESC)"));
        exec(QStringLiteral("DELETE FROM R"));
    }
    void add(int order)
    {
        PlainQuery q(m_db, QStringLiteral("INSERT INTO R (KPlanta, Cant, P1, P2, P3) SELECT r.KPlanta, 1, p.Meridianos, p.Energia, p.Sabor "
                                          "FROM RelSint r LEFT JOIN Plantas p ON p.Clave=r.KPlanta WHERE r.OSint=? "
                                          "ON CONFLICT(KPlanta) DO UPDATE SET Cant=Cant+1"));
        q.bind(1, order);
        q.step();
    }
    void remove(int order)
    {
        PlainQuery q(m_db, QStringLiteral("UPDATE R SET Cant=Cant-1 WHERE KPlanta IN (SELECT KPlanta FROM RelSint WHERE OSint=?)"));
        q.bind(1, order);
        q.step();
        PlainQuery d(m_db, QStringLiteral("DELETE FROM R WHERE Cant<=0"));
        d.step();
    }
    qint64 total()
    {
        PlainQuery q(m_db, QStringLiteral("SELECT count(*) * 1000000 + total(Cant) FROM R"));
        return q.step() ? q.int64(0) : -1;
    }

private:
    void exec(const QString &sql)
    {
        PlainQuery q(m_db, sql);
        q.step();
    }
    const PlainDb &m_db;
};

qint64 programTotal(repertory::TFUsos &window)
{
    store::Statement q(window.TRep->database().handle(), QStringLiteral("SELECT count(*) * 1000000 + total(Cant) FROM Repertor"));
    return q.step() ? q.int64(0) : -1;
}

} // namespace

QList<Measurement> Suite::repertoryCounts(const QString &id)
{
    const bool adding = id == QLatin1String("repertory-add");
    Measurement m;
    m.id = id;
    m.title = adding ? QStringLiteral("add the most related indication") : QStringLiteral("remove the most related indication");
    m.limits = {{Limit::Stat::P95, 50}, {Limit::Stat::Ratio, 1.0}};
    // A few common items stand in the selection already, so that the counts meet existing records.
    const QList<int> items = mostRelatedIndications(*m_plain, 4);
    if (items.isEmpty())
        return {m};
    RunningProgram program(*m_session, m_folder);
    auto *window = qobject_cast<repertory::TFUsos *>(program.context().FUsos);
    window->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    settle();
    PlainRepertory plain(*m_plain);
    for (int other : items.mid(1)) {
        window->Tabla->locate(QStringLiteral("Clave"), other);
        window->AgregarClick();
        plain.add(window->Tabla->asInt(QStringLiteral("Orden")));
    }
    const int key = items.first();
    for (int r = 0; r < rounds(15); ++r) {
        window->Tabla->locate(QStringLiteral("Clave"), key);
        const int order = window->Tabla->asInt(QStringLiteral("Orden"));
        settle();
        Clock::time_point t0 = Clock::now();
        window->AgregarClick();
        settle();
        if (adding)
            m.samples.push_back(msSince(t0));
        t0 = Clock::now();
        plain.add(order);
        if (adding)
            m.baseline.push_back(msSince(t0));
        if (adding && programTotal(*window) != plain.total())
            m.disagree(QStringLiteral("after adding %1 the repertories differ").arg(key));

        window->TSel->locate(QStringLiteral("Num"), key);
        settle();
        t0 = Clock::now();
        window->QuitarClick();
        settle();
        if (!adding)
            m.samples.push_back(msSince(t0));
        t0 = Clock::now();
        plain.remove(order);
        if (!adding)
            m.baseline.push_back(msSince(t0));
        if (!adding && programTotal(*window) != plain.total())
            m.disagree(QStringLiteral("after removing %1 the repertories differ").arg(key));
    }
    m.details.insert(QStringLiteral("relation rows of the item"), window->TRel->recordCount());
    window->Modified = false;
    window->close();
    return {m};
}

QList<Measurement> Suite::chart()
{
    Measurement build;
    build.id = QStringLiteral("chart");
    build.title = QStringLiteral("build the chart of 20 items");
    build.limits = {{Limit::Stat::Median, 500}, {Limit::Stat::Ratio, 2.0}};
    Measurement scroll;
    scroll.id = QStringLiteral("chart-scroll");
    scroll.title = QStringLiteral("chart scrolled by a page");
    scroll.limits = {{Limit::Stat::P95, 16}};
    RunningProgram program(*m_session, m_folder);
    auto *window = qobject_cast<repertory::TFUsos *>(program.context().FUsos);
    auto *chartWindow = qobject_cast<repertory::TFPlanRep *>(program.context().FPlanRep);
    window->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    // Twenty items spread over the common ones: a repertory of thousands of plants.
    const QList<int> common = mostRelatedIndications(*m_plain, 200);
    for (int i = 0; i < 20 && i * 10 < common.size(); ++i) {
        window->Tabla->locate(QStringLiteral("Clave"), common[i * 10]);
        window->AgregarClick();
    }
    settle();
    // The plain way to the same plant x item matrix, in the repertory's order.
    PlainQuery matrix(*m_plain, QStringLiteral("SELECT p.PinYin, r.Cant, x.KSint FROM Repertor r "
                                               "LEFT JOIN Plantas p ON p.Clave=r.KPlanta "
                                               "LEFT JOIN RelSint x ON x.KPlanta=r.KPlanta AND x.KSint IN (SELECT Num FROM Selecc) "
                                               "ORDER BY r.Cant DESC, r.rowid"));
    for (int r = 0; r < rounds(7); ++r) {
        Clock::time_point t0 = Clock::now();
        const bool built = window->BuildChart();
        chartWindow->SortByWeight();
        chartWindow->FitLayout();
        settle();
        build.samples.push_back(msSince(t0));
        qint64 marks = 0;
        for (quint8 mark : chartWindow->chart().marks)
            marks += mark;

        t0 = Clock::now();
        qint64 plainMarks = 0;
        while (matrix.step()) {
            consume(matrix.text(0));
            if (matrix.int64(2) != 0)
                ++plainMarks;
        }
        matrix.reset();
        build.baseline.push_back(msSince(t0));
        if (!built || marks != plainMarks)
            build.disagree(QStringLiteral("the chart holds %1 marks, SQLite's matrix %2").arg(marks).arg(plainMarks));
    }
    build.details.insert(QStringLiteral("plants"), chartWindow->chart().plants());

    // The chart shown and scrolled a page at a time, each page painted.
    chartWindow->show();
    showExposed(*chartWindow);
    QScrollBar *bar = chartWindow->Gr->verticalScrollBar();
    const int pages = m_options.quick ? 1 : 100;
    for (int p = 0; p < pages; ++p) {
        Clock::time_point t0 = Clock::now();
        bar->setValue((bar->value() + bar->pageStep()) % std::max(bar->maximum(), 1));
        chartWindow->Gr->viewport()->repaint();
        settle();
        scroll.samples.push_back(msSince(t0));
        // Beside it: the page painted again where it stands, the painting alone.
        t0 = Clock::now();
        chartWindow->Gr->viewport()->repaint();
        scroll.baseline.push_back(msSince(t0));
    }
    chartWindow->hide();
    window->Modified = false;
    window->close();
    return {build, scroll};
}

// ------------------------------------------------------------------ the cold start, child side

bool isColdStartChild(int argc, char *argv[])
{
    return argc == 4 && (qstrcmp(argv[1], "--cold-start") == 0 || qstrcmp(argv[1], "--cold-start-baseline") == 0);
}

int runColdStartChild(int argc, char *argv[])
{
    const Clock::time_point entered = Clock::now();
    const Clock::time_point t0{std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(std::atoll(argv[3])))};
    const bool baseline = qstrcmp(argv[1], "--cold-start-baseline") == 0;
    app::HerbaxisApplication application(argc, argv);
    const Clock::time_point started = Clock::now();
    const QString folder = QString::fromLocal8Bit(argv[2]);
    Clock::time_point opened, built, ready;
    qint64 peak = 0; // read at once: closing the program is not part of its start
    qint64 first = -1;
    qint64 sink = 0;
    try {
        if (baseline) {
            // A plain program: open the file, read the first page in pin yin order into a grid,
            // read the first record.
            PlainDb db(store::Database::filePathFor(folder));
            opened = Clock::now();
            QStandardItemModel model;
            PlainQuery page(db, QStringLiteral("SELECT rowid, PinYin FROM Plantas ORDER BY PinYin COLLATE NOCASE LIMIT 40"));
            while (page.step()) {
                if (first < 0)
                    first = page.int64(0);
                model.appendRow(new QStandardItem(page.text(1)));
            }
            QMainWindow window;
            window.resize(1024, 700);
            auto *view = new QTableView(&window);
            view->setModel(&model);
            window.setCentralWidget(view);
            built = Clock::now();
            showExposed(window);
            PlainQuery record(db, QStringLiteral("SELECT %1 FROM Plantas WHERE rowid=?").arg(panelFields().join(QLatin1String(", "))));
            record.bind(1, first);
            if (record.step())
                for (int c = 0; c < record.columnCount(); ++c)
                    sink += record.text(c).size();
            ready = Clock::now();
            peak = peakResidentKb();
        } else {
            // What main() does.
            common::AppContext context;
            context.workingFolder = folder;
            std::unique_ptr<store::Session> session = app::openWorkingFolder(folder, [](const QString &) { return false; });
            if (!session)
                throw store::Error(QStringLiteral("no database in %1").arg(folder));
            context.session = session.get();
            opened = Clock::now();
            app::Program program(context);
            built = Clock::now();
            if (!program.start())
                throw store::Error(program.mainWindow().startupError());
            showExposed(program.mainWindow());
            store::Table &plan = *program.dataModule().TPlan;
            for (const QString &field : panelFields())
                sink += plan.value(field).toString().size();
            first = plan.rowId();
            ready = Clock::now();
            peak = peakResidentKb();
        }
    } catch (const store::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("cold-start first=%lld main=%.3f app=%.3f open=%.3f window=%.3f ready=%.3f hwm=%lld read=%lld\n",
                static_cast<long long>(first), msBetween(t0, entered), msBetween(t0, started), msBetween(t0, opened),
                msBetween(t0, built), msBetween(t0, ready), static_cast<long long>(peak),
                static_cast<long long>(sink));
    std::fflush(stdout);
    return 0;
}

} // namespace bench
