#include "SampleImport.h"

#include "data/Profile.h"
#include "data/Schema.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace data {

using store::Error;

QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool inQuotes = false;
    bool fieldStarted = false;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty()) {
            inQuotes = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
            fieldStarted = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            if (fieldStarted || !field.isEmpty() || !row.isEmpty()) {
                row << field;
                rows << row;
            }
            row.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !row.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

QList<double> dosesToPercentages(const QList<double> &doses)
{
    const double total = std::accumulate(doses.begin(), doses.end(), 0.0);
    QList<double> result;
    if (doses.isEmpty() || total <= 0)
        return result;
    // Largest remainder in tenths of a percent, so that the rounded parts add up to 1000 tenths.
    QList<int> tenths;
    QList<std::pair<double, int>> remainders;
    int assigned = 0;
    for (int i = 0; i < doses.size(); ++i) {
        const double exact = doses[i] * 1000.0 / total;
        const int floor = int(std::floor(exact));
        tenths << floor;
        assigned += floor;
        remainders << std::make_pair(exact - floor, i);
    }
    std::stable_sort(remainders.begin(), remainders.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (int k = 0; assigned < 1000 && k < remainders.size(); ++k, ++assigned)
        ++tenths[remainders[k].second];
    for (int t : tenths)
        result << t / 10.0;
    return result;
}

namespace {

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("No se puede leer %1").arg(path));
    return QString::fromUtf8(f.readAll());
}

// A catalogue file: its rows by header name, with the line each started on for messages.
struct CsvTable {
    QString path;
    QStringList header;
    QList<QStringList> rows;

    QString get(const QStringList &row, const char *column) const
    {
        const int i = int(header.indexOf(QString::fromLatin1(column)));
        if (i < 0)
            throw Error(QStringLiteral("%1: falta la columna %2").arg(path, QString::fromLatin1(column)));
        return i < row.size() ? row[i].trimmed() : QString();
    }
};

CsvTable readCsv(const QString &path)
{
    CsvTable t;
    t.path = path;
    QList<QStringList> rows = parseCsv(readText(path));
    if (rows.isEmpty())
        throw Error(QStringLiteral("%1 está vacío").arg(path));
    t.header = rows.takeFirst();
    for (QString &h : t.header)
        h = h.trimmed();
    t.rows = rows;
    return t;
}

struct Record {
    QString path;
    bool formula = false;
    QMap<QString, QString> keys; // key -> value
    QMap<QString, int> keyLines;
    QMap<QString, QString> memos;
    QList<std::pair<int, QString>> textLines; // every memo line with its line number, for citations
};

Record readRecord(const QString &path, bool formula)
{
    Record r;
    r.path = path;
    r.formula = formula;
    const QStringList lines = readText(path).split(QLatin1Char('\n'));
    QString section;
    QStringList body;
    auto flush = [&] {
        if (section.isEmpty())
            return;
        while (!body.isEmpty() && body.last().trimmed().isEmpty())
            body.removeLast();
        while (!body.isEmpty() && body.first().trimmed().isEmpty())
            body.removeFirst();
        r.memos.insert(section, body.join(QLatin1Char('\n')));
        body.clear();
    };
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1String("=="))) {
            flush();
            section = line.mid(2).trimmed();
            continue;
        }
        if (!section.isEmpty()) {
            body << line;
            r.textLines.append({i + 1, line});
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        const int colon = int(line.indexOf(QLatin1Char(':')));
        if (colon <= 0)
            throw Error(QStringLiteral("%1:%2: se esperaba \"Clave: valor\"").arg(path).arg(i + 1));
        const QString key = line.left(colon).trimmed();
        r.keys.insert(key, line.mid(colon + 1).trimmed());
        r.keyLines.insert(key, i + 1);
    }
    flush();
    if (r.keys.value(QStringLiteral("PinYin")).isEmpty())
        throw Error(QStringLiteral("%1: falta PinYin").arg(path));
    return r;
}

QStringList listItems(const QString &value)
{
    QStringList items;
    for (const QString &item : value.split(QLatin1Char('|')))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    return items;
}

// "Sp 9, Lu 6" -> a digit string of `width` positions by the code order given.
QString profileFrom(const QString &value, const QStringList &codes, int width, const QString &where)
{
    QString digits(width, QLatin1Char('0'));
    for (const QString &part : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        bool ok = false;
        const int degree = words.size() == 2 ? words[1].toInt(&ok) : 0;
        if (!ok || degree < 0 || degree > 9)
            throw Error(QStringLiteral("%1: \"%2\" no es \"Código grado\"").arg(where, part.trimmed()));
        int position = -1;
        for (int i = 0; i < codes.size(); ++i)
            if (codes[i].compare(words[0], Qt::CaseInsensitive) == 0)
                position = i;
        if (position < 0)
            throw Error(QStringLiteral("%1: código desconocido \"%2\"").arg(where, words[0]));
        digits[position] = QChar(u'0' + degree);
    }
    return digits;
}

// Every syllable of Mandarin in pin yin without tone marks (ü written ü, v or u after l and n).
// A cited name is a run of these, each capitalised, so that ordinary Spanish and English words are
// not mistaken for names: "Con Ren Shen y Bai Zhu" cites Ren Shen and Bai Zhu, and nothing else.
const QSet<QString> &pinyinSyllables()
{
    static const QSet<QString> syllables = [] {
        const QString all = QStringLiteral(
            "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can cang cao ce "
            "cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan chuang chui chun "
            "chuo ci cong cou cu cuan cui cun cuo da dai dan dang dao de dei den deng di dia dian diao die ding diu "
            "dong dou du duan dui dun duo e ei en eng er fa fan fang fei fen feng fo fou fu ga gai gan gang gao ge "
            "gei gen geng gong gou gu gua guai guan guang gui gun guo ha hai han hang hao he hei hen heng hong hou "
            "hu hua huai huan huang hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun ka kai "
            "kan kang kao ke kei ken keng kong kou ku kua kuai kuan kuang kui kun kuo la lai lan lang lao le lei "
            "leng li lia lian liang liao lie lin ling liu lo long lou lu luan lun luo lü lüe lv lve lue ma mai man "
            "mang mao me mei men meng mi mian miao mie min ming miu mo mou mu na nai nan nang nao ne nei nen neng ni "
            "nian niang niao nie nin ning niu nong nou nu nuan nuo nü nüe nv nve nue o ou pa pai pan pang pao pei "
            "pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie qin qing qiong qiu qu quan que "
            "qun ran rang rao re ren reng ri rong rou ru rua ruan rui run ruo sa sai san sang sao se sen seng sha "
            "shai shan shang shao she shei shen sheng shi shou shu shua shuai shuan shuang shui shun shuo si song "
            "sou su suan sui sun suo ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo "
            "wa wai wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan "
            "yang yao ye yi yin ying yo yong you yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai zhan "
            "zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou "
            "zu zuan zui zun zuo");
        QSet<QString> set;
        for (const QString &s : all.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            set.insert(s);
        return set;
    }();
    return syllables;
}

// "Shen", not "shen", "SHEN" or "Shenn".
bool isNameSyllable(const QString &word)
{
    if (word.isEmpty() || !word[0].isUpper())
        return false;
    for (int i = 1; i < word.size(); ++i)
        if (!word[i].isLower())
            return false;
    return pinyinSyllables().contains(word.toLower());
}

bool isPinyinName(const QString &name)
{
    const QStringList words = name.split(QLatin1Char(' '));
    return std::all_of(words.begin(), words.end(), isNameSyllable);
}

// The runs of two or more capitalised syllables in a line of text, each run a possible citation.
// Words that open a sentence and happen to be syllables ("A", "La", "Se", "En") are dropped from a
// run's head: "A Shang Han Lun formula" cites Shang Han Lun.
QList<QStringList> syllableRuns(const QString &line)
{
    static const QSet<QString> openers = {QStringLiteral("A"), QStringLiteral("O"), QStringLiteral("E"),
                                          QStringLiteral("La"), QStringLiteral("Le"), QStringLiteral("Lo"),
                                          QStringLiteral("Se"), QStringLiteral("En")};
    QList<QStringList> runs;
    QStringList run;
    auto close = [&] {
        while (!run.isEmpty() && openers.contains(run.first()))
            run.removeFirst();
        if (run.size() >= 2)
            runs << run;
        run.clear();
    };
    const int n = int(line.size());
    int i = 0;
    int lastEnd = -1;
    while (i < n) {
        if (!line[i].isLetter()) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && line[i].isLetter())
            ++i;
        const QString word = line.mid(start, i - start);
        const bool adjacent = lastEnd >= 0 && start == lastEnd + 1 && line[lastEnd] == QLatin1Char(' ');
        if (!isNameSyllable(word)) {
            close();
            lastEnd = -1;
            continue;
        }
        if (!adjacent)
            close();
        run << word;
        lastEnd = i;
    }
    close();
    return runs;
}

// Whether a run of syllables is one known name or several side by side. A formula named after its
// herbs is a name of its own: "Ma Huang Fu Zi Xi Xin Tang" is not resolved by Ma Huang, Fu Zi and
// Xi Xin, since its "Tang" is left over.
bool splitsIntoKnownNames(const QStringList &run, const QSet<QString> &known)
{
    const int n = int(run.size());
    QList<bool> reachable(n + 1, false);
    reachable[0] = true;
    for (int i = 0; i < n; ++i) {
        if (!reachable[i])
            continue;
        for (int j = i + 2; j <= n; ++j)
            if (known.contains(QStringList(run.mid(i, j - i)).join(QLatin1Char(' '))))
                reachable[j] = true;
    }
    return reachable[n];
}

class Importer {
public:
    Importer(const QString &source, const QString &target) : m_source(source), m_target(target) {}
    void run();

private:
    QString src(const QString &name) const { return QDir(m_source).filePath(name); }
    void checkWidth(const QString &value, int width, const QString &where) const
    {
        if (value.size() > width)
            throw Error(QStringLiteral("%1: \"%2\" pasa de %3 caracteres").arg(where, value).arg(width));
    }
    qint64 insert(const QString &table, const QStringList &columns, const QVariantList &values);
    void loadCatalogues();
    void loadRecords();
    void insertPlants();
    void insertRelations();
    int insertGlossary(store::Database &db, const QString &table, const QString &file);
    void copyPages();
    void checkGrading(const Record &r);
    void loadUnrecorded();
    void checkCitations();

    // Breaches of the grading convention and unresolved citations are gathered, not thrown one by
    // one, so that a single build lists every one of them.
    QStringList m_problems;
    // Cited names that deliberately have no record (sin-ficha.txt), with the line that lists them.
    struct Unrecorded {
        QString name;
        int line = 0;
        bool pending = false;
    };
    QList<Unrecorded> m_unrecorded;

    QString m_source, m_target;
    std::unique_ptr<store::Database> m_db;
    QHash<QString, qint64> m_especies, m_fuentes, m_usos, m_sintomas, m_componen;
    QHash<QString, int> m_classes;                   // NomEsp of a class -> Num
    QHash<QString, QHash<QString, int>> m_subclasses; // class NomEsp -> subclass NomEsp -> Num
    QList<Record> m_records;
    QHash<QString, qint64> m_plants; // PinYin -> Clave
    QHash<qint64, QString> m_profiles[3];
    QHash<qint64, QString> m_toxicity; // element key -> its mark, to derive the formulas' marks
};

qint64 Importer::insert(const QString &table, const QStringList &columns, const QVariantList &values)
{
    QStringList quoted, marks;
    for (const QString &c : columns) {
        quoted << QLatin1Char('"') + c + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    store::Statement &q = m_db->cached(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                           .arg(table, quoted.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        q.bind(i + 1, v.typeId() == QMetaType::QString && v.toString().isEmpty() ? QVariant() : v);
    }
    try {
        q.run();
    } catch (const Error &e) {
        q.reset();
        throw Error(QStringLiteral("%1: %2").arg(table, e.message()));
    }
    q.reset();
    return m_db->lastInsertRowId();
}

void Importer::loadCatalogues()
{
    auto loadNamed = [&](const char *file, const char *table, QStringList columns, QHash<QString, qint64> &into,
                         const QList<int> &widths) {
        const CsvTable t = readCsv(src(QString::fromLatin1(file)));
        for (int r = 0; r < t.rows.size(); ++r) {
            QVariantList values;
            for (int c = 0; c < columns.size(); ++c) {
                const QString v = t.get(t.rows[r], columns[c].toLatin1().constData());
                checkWidth(v, widths[c], QStringLiteral("%1, fila %2").arg(t.path).arg(r + 2));
                values << v;
            }
            const QString key = values[0].toString();
            if (key.isEmpty())
                throw Error(QStringLiteral("%1, fila %2: nombre vacío").arg(t.path).arg(r + 2));
            if (into.contains(key))
                throw Error(QStringLiteral("%1, fila %2: \"%3\" está repetido").arg(t.path).arg(r + 2).arg(key));
            const bool ordered = QString::fromLatin1(table) != QLatin1String("Especies") &&
                                 QString::fromLatin1(table) != QLatin1String("Fuentes");
            qint64 id = insert(QString::fromLatin1(table), columns, values);
            if (ordered)
                m_db->exec(QStringLiteral("UPDATE \"%1\" SET Orden=rowid WHERE rowid=%2").arg(QString::fromLatin1(table)).arg(id));
            into.insert(key, id);
        }
    };
    loadNamed("especies.csv", "Especies", {QStringLiteral("Nom"), QStringLiteral("NomIng")}, m_especies, {10, 10});
    loadNamed("fuentes.csv", "Fuentes",
              {QStringLiteral("Titulo"), QStringLiteral("Chino"), QStringLiteral("Autor"), QStringLiteral("Dinastia")},
              m_fuentes, {100, 100, 80, 80});
    loadNamed("usos.csv", "Usos", {QStringLiteral("Nom"), QStringLiteral("NomIng")}, m_usos, {120, 120});
    loadNamed("sintomas.csv", "Sintomas", {QStringLiteral("Nom"), QStringLiteral("NomIng")}, m_sintomas, {120, 120});
    loadNamed("componen.csv", "Componen", {QStringLiteral("Nom"), QStringLiteral("NomIng")}, m_componen, {40, 40});

    const CsvTable clases = readCsv(src(QStringLiteral("clases.csv")));
    QHash<int, QString> classNames;
    for (int r = 0; r < clases.rows.size(); ++r) {
        const QStringList &row = clases.rows[r];
        const QString where = QStringLiteral("%1, fila %2").arg(clases.path).arg(r + 2);
        bool okNum = false, okPadre = false;
        const int num = clases.get(row, "Num").toInt(&okNum);
        const int padre = clases.get(row, "Padre").toInt(&okPadre);
        const QString esp = clases.get(row, "NomEsp");
        const QString ing = clases.get(row, "NomIng");
        if (!okNum || !okPadre || num <= 0)
            throw Error(QStringLiteral("%1: Num y Padre deben ser números (Num > 0)").arg(where));
        checkWidth(esp, 80, where);
        checkWidth(ing, 80, where);
        if (padre == 0) {
            if (m_classes.contains(esp))
                throw Error(QStringLiteral("%1: la clase \"%2\" está repetida").arg(where, esp));
            m_classes.insert(esp, num);
            classNames.insert(num, esp);
        } else {
            if (!classNames.contains(padre))
                throw Error(QStringLiteral("%1: la clase %2 no existe (o viene después)").arg(where).arg(padre));
            m_subclasses[classNames.value(padre)].insert(esp, num);
        }
        insert(QStringLiteral("Clases"), {QStringLiteral("Num"), QStringLiteral("Padre"), QStringLiteral("NomEsp"), QStringLiteral("NomIng")},
               {num, padre, esp, ing});
    }
}

void Importer::loadRecords()
{
    for (const auto &[folder, formula] : {std::pair{QStringLiteral("elementos"), false}, std::pair{QStringLiteral("formulas"), true}}) {
        QDir dir(src(folder));
        const QStringList files = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        for (const QString &f : files)
            m_records << readRecord(dir.filePath(f), formula);
    }
}

void Importer::insertPlants()
{
    static const QStringList textKeys = {
        QStringLiteral("PinYin"), QStringLiteral("Nom0"), QStringLiteral("Nom1"), QStringLiteral("Nom2"),
        QStringLiteral("Nom3"), QStringLiteral("Nom4"), QStringLiteral("Nom5"), QStringLiteral("Nom6"),
        QStringLiteral("Nom7"), QStringLiteral("Nom8"), QStringLiteral("Nom9"), QStringLiteral("Nom10"),
        QStringLiteral("Familia"), QStringLiteral("Habitat"), QStringLiteral("Parte"), QStringLiteral("ParteIng")};
    static const QList<int> textWidths = {50, 50, 50, 50, 50, 35, 35, 35, 35, 35, 35, 35, 25, 50, 40, 40};
    static const QStringList otherKeys = {
        QStringLiteral("Especie"), QStringLiteral("Clase"), QStringLiteral("SubClase"), QStringLiteral("Fuente"),
        QStringLiteral("Toxicidad"), QStringLiteral("Canales"), QStringLiteral("Sabores"), QStringLiteral("Naturaleza"),
        QStringLiteral("Acciones"), QStringLiteral("Indicaciones"), QStringLiteral("Componentes"),
        QStringLiteral("Sinonimos"), QStringLiteral("Ingredientes")};
    static const QStringList memoKeys = {
        QStringLiteral("Descripcion"), QStringLiteral("Floracion"), QStringLiteral("Aplicacion"),
        QStringLiteral("Administracion"), QStringLiteral("DescripcionIng"), QStringLiteral("FloracionIng"),
        QStringLiteral("AdministracionIng")};
    static const QStringList channels = {QStringLiteral("Lu"), QStringLiteral("Sp"), QStringLiteral("HT"), QStringLiteral("Ki"),
                                         QStringLiteral("PC"), QStringLiteral("LR"), QStringLiteral("LI"), QStringLiteral("St"),
                                         QStringLiteral("SI"), QStringLiteral("BL"), QStringLiteral("TB"), QStringLiteral("GB")};
    static const QStringList tastes = {QStringLiteral("Sour"), QStringLiteral("Bitter"), QStringLiteral("Pungent"),
                                       QStringLiteral("Sweet"), QStringLiteral("Aromatic"), QStringLiteral("Astringent"),
                                       QStringLiteral("Salty"), QStringLiteral("Tasteless")};
    static const QStringList natures = {QStringLiteral("Neutral"), QStringLiteral("Warm"), QStringLiteral("Cool"),
                                        QStringLiteral("Cold"), QStringLiteral("Hot")};

    for (const Record &r : std::as_const(m_records)) {
        auto where = [&](const QString &key) { return QStringLiteral("%1:%2").arg(r.path).arg(r.keyLines.value(key)); };
        for (auto it = r.keys.begin(); it != r.keys.end(); ++it)
            if (!textKeys.contains(it.key()) && !otherKeys.contains(it.key()))
                throw Error(QStringLiteral("%1: clave desconocida \"%2\"").arg(where(it.key()), it.key()));
        for (auto it = r.memos.begin(); it != r.memos.end(); ++it)
            if (!memoKeys.contains(it.key()))
                throw Error(QStringLiteral("%1: sección desconocida \"%2\"").arg(r.path, it.key()));
        const QString pinyin = r.keys.value(QStringLiteral("PinYin"));
        if (m_plants.contains(pinyin))
            throw Error(QStringLiteral("%1: \"%2\" ya existe").arg(where(QStringLiteral("PinYin")), pinyin));
        if (r.formula && r.keys.contains(QStringLiteral("Canales")))
            throw Error(QStringLiteral("%1: el perfil de una fórmula se calcula de sus ingredientes").arg(r.path));

        QStringList columns{QStringLiteral("EsFormula")};
        QVariantList values{r.formula};
        for (int i = 0; i < textKeys.size(); ++i) {
            const QString v = r.keys.value(textKeys[i]);
            checkWidth(v, textWidths[i], where(textKeys[i]));
            columns << textKeys[i];
            values << v;
        }
        for (const QString &m : memoKeys) {
            columns << m;
            values << r.memos.value(m);
        }
        auto resolve = [&](const QString &key, const QHash<QString, qint64> &map) -> QVariant {
            const QString v = r.keys.value(key);
            if (v.isEmpty())
                return QVariant();
            if (!map.contains(v))
                throw Error(QStringLiteral("%1: %2 \"%3\" no existe").arg(where(key), key, v));
            return map.value(v);
        };
        columns << QStringLiteral("KEspecie") << QStringLiteral("KFuente");
        values << resolve(QStringLiteral("Especie"), m_especies) << resolve(QStringLiteral("Fuente"), m_fuentes);

        const QString clase = r.keys.value(QStringLiteral("Clase"));
        const QString subclase = r.keys.value(QStringLiteral("SubClase"));
        QVariant kClase, kSubClase;
        if (!clase.isEmpty()) {
            if (!m_classes.contains(clase))
                throw Error(QStringLiteral("%1: la clase \"%2\" no existe").arg(where(QStringLiteral("Clase")), clase));
            kClase = m_classes.value(clase);
        }
        if (!subclase.isEmpty()) {
            if (!m_subclasses.value(clase).contains(subclase))
                throw Error(QStringLiteral("%1: \"%2\" no es una subclase de \"%3\"").arg(where(QStringLiteral("SubClase")), subclase, clase));
            kSubClase = m_subclasses.value(clase).value(subclase);
        }
        columns << QStringLiteral("KClase") << QStringLiteral("KSubClase");
        values << kClase << kSubClase;

        const QString tox = r.keys.value(QStringLiteral("Toxicidad"));
        if (!tox.isEmpty() && !(tox.size() == 1 && tox[0] >= QLatin1Char('0') && tox[0] <= QLatin1Char('3')))
            throw Error(QStringLiteral("%1: la toxicidad va de 0 a 3").arg(where(QStringLiteral("Toxicidad"))));
        if (r.formula && r.keys.contains(QStringLiteral("Toxicidad")))
            m_problems << QStringLiteral("%1: la toxicidad de una fórmula no se escribe: es la más alta de sus ingredientes")
                              .arg(where(QStringLiteral("Toxicidad")));
        if (!r.formula)
            checkGrading(r);
        columns << QStringLiteral("Toxicidad");
        values << tox;

        if (!r.formula) {
            columns << QStringLiteral("Meridianos") << QStringLiteral("Sabor") << QStringLiteral("Energia");
            values << profileFrom(r.keys.value(QStringLiteral("Canales")), channels, ChannelsWidth, where(QStringLiteral("Canales")))
                   << profileFrom(r.keys.value(QStringLiteral("Sabores")), tastes, TastesWidth, where(QStringLiteral("Sabores")))
                   << profileFrom(r.keys.value(QStringLiteral("Naturaleza")), natures, NaturesWidth, where(QStringLiteral("Naturaleza")));
        }
        const qint64 id = insert(QStringLiteral("Plantas"), columns, values);
        m_db->exec(QStringLiteral("UPDATE Plantas SET Orden=rowid WHERE rowid=%1").arg(id));
        m_plants.insert(pinyin, id);
        if (!r.formula)
            m_toxicity.insert(id, tox);
    }
}

void Importer::insertRelations()
{
    QSet<qint64> formulas;
    for (const Record &r : std::as_const(m_records))
        if (r.formula)
            formulas.insert(m_plants.value(r.keys.value(QStringLiteral("PinYin"))));

    for (const Record &r : std::as_const(m_records)) {
        const qint64 plant = m_plants.value(r.keys.value(QStringLiteral("PinYin")));
        auto where = [&](const QString &key) { return QStringLiteral("%1:%2").arg(r.path).arg(r.keyLines.value(key)); };
        auto relate = [&](const QString &key, const QHash<QString, qint64> &catalogue, const QString &table,
                          const QString &k, const QString &o) {
            QSet<QString> seen;
            for (const QString &item : listItems(r.keys.value(key))) {
                if (!catalogue.contains(item))
                    throw Error(QStringLiteral("%1: \"%2\" no está en el catálogo").arg(where(key), item));
                if (seen.contains(item))
                    continue;
                seen.insert(item);
                const qint64 id = catalogue.value(item);
                insert(table, {QStringLiteral("KPlanta"), k, QStringLiteral("OPlanta"), o}, {plant, id, plant, id});
            }
        };
        relate(QStringLiteral("Acciones"), m_usos, QStringLiteral("Rel"), QStringLiteral("KUso"), QStringLiteral("OUso"));
        relate(QStringLiteral("Indicaciones"), m_sintomas, QStringLiteral("RelSint"), QStringLiteral("KSint"), QStringLiteral("OSint"));
        relate(QStringLiteral("Componentes"), m_componen, QStringLiteral("RelComp"), QStringLiteral("KComp"), QStringLiteral("OComp"));

        for (const QString &s : listItems(r.keys.value(QStringLiteral("Sinonimos")))) {
            checkWidth(s, 60, where(QStringLiteral("Sinonimos")));
            insert(QStringLiteral("Sinonimos"), {QStringLiteral("KPlanta"), QStringLiteral("Sinon")}, {plant, s});
        }

        const QStringList ingredients = listItems(r.keys.value(QStringLiteral("Ingredientes")));
        if (!r.formula) {
            if (!ingredients.isEmpty())
                throw Error(QStringLiteral("%1: un elemento no lleva ingredientes").arg(where(QStringLiteral("Ingredientes"))));
            continue;
        }
        if (ingredients.isEmpty())
            throw Error(QStringLiteral("%1: la fórmula no tiene ingredientes").arg(r.path));
        QList<qint64> keys;
        QList<double> doses;
        for (const QString &item : ingredients) {
            const int space = int(item.lastIndexOf(QLatin1Char(' ')));
            bool ok = false;
            const double dose = space > 0 ? item.mid(space + 1).toDouble(&ok) : 0;
            const QString name = space > 0 ? item.left(space).trimmed() : item;
            if (!ok || dose <= 0)
                throw Error(QStringLiteral("%1: \"%2\" no es \"Pin Yin dosis\"").arg(where(QStringLiteral("Ingredientes")), item));
            if (!m_plants.contains(name) || formulas.contains(m_plants.value(name)))
                throw Error(QStringLiteral("%1: \"%2\" no es un elemento").arg(where(QStringLiteral("Ingredientes")), name));
            if (keys.contains(m_plants.value(name)))
                throw Error(QStringLiteral("%1: \"%2\" está repetido").arg(where(QStringLiteral("Ingredientes")), name));
            keys << m_plants.value(name);
            doses << dose;
        }
        const QList<double> percentages = dosesToPercentages(doses);
        // A formula is as toxic as its most toxic ingredient. It is marked non-toxic only when every
        // ingredient is; one unmarked ingredient leaves it unmarked unless another is marked toxic.
        int highest = -1;
        bool unmarked = false;
        for (qint64 k : std::as_const(keys)) {
            const QString mark = m_toxicity.value(k);
            if (mark.isEmpty())
                unmarked = true;
            else
                highest = std::max(highest, mark.toInt());
        }
        const QVariant toxicity = highest > 0 || (highest == 0 && !unmarked) ? QVariant(QString::number(highest)) : QVariant();
        store::Statement &t = m_db->cached(QStringLiteral("UPDATE Plantas SET Toxicidad=? WHERE rowid=?"));
        t.bind(1, toxicity);
        t.bind(2, plant);
        t.run();
        t.reset();
        ProfileSlotsArray acc[3] = {};
        for (int i = 0; i < keys.size(); ++i) {
            insert(QStringLiteral("RelForm"),
                   {QStringLiteral("KFormula"), QStringLiteral("KPlanta"), QStringLiteral("OFormula"), QStringLiteral("OPlanta"), QStringLiteral("Porcentaje")},
                   {plant, keys[i], plant, keys[i], percentages[i]});
            store::Statement &q = m_db->cached(QStringLiteral("SELECT Meridianos, Sabor, Energia FROM Plantas WHERE rowid=?"));
            q.bind(1, keys[i]);
            if (q.step())
                for (int s = 0; s < 3; ++s)
                    addWeightedProfile(acc[s], percentages[i], q.value(s).toString());
            q.reset();
        }
        store::Statement &u = m_db->cached(QStringLiteral("UPDATE Plantas SET Meridianos=?, Sabor=?, Energia=? WHERE rowid=?"));
        u.bind(1, profileString(acc[0]).left(ChannelsWidth));
        u.bind(2, profileString(acc[1]).left(TastesWidth));
        u.bind(3, profileString(acc[2]).left(NaturesWidth));
        u.bind(4, plant);
        u.run();
        u.reset();
    }
}

int Importer::insertGlossary(store::Database &db, const QString &table, const QString &file)
{
    const CsvTable t = readCsv(src(file));
    QSet<QString> seen;
    store::Statement &q = db.cached(QStringLiteral("INSERT INTO \"%1\" (Nom, Memo) VALUES (?, ?)").arg(table));
    for (int r = 0; r < t.rows.size(); ++r) {
        const QString where = QStringLiteral("%1, fila %2").arg(t.path).arg(r + 2);
        const QString nom = t.get(t.rows[r], "Nom");
        checkWidth(nom, 30, where);
        if (nom.isEmpty() || seen.contains(nom))
            throw Error(QStringLiteral("%1: término vacío o repetido").arg(where));
        seen.insert(nom);
        q.bind(1, nom);
        q.bind(2, t.get(t.rows[r], "Memo"));
        q.run();
        q.reset();
    }
    return int(t.rows.size());
}

void Importer::copyPages()
{
    const QString pages = src(QStringLiteral("pages"));
    QDirIterator it(pages, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(m_target).filePath(QDir(pages).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).path());
        QFile::remove(to);
        if (!QFile::copy(from, to))
            throw Error(QStringLiteral("No se puede copiar %1").arg(from));
    }
}

// The grading convention (sample/README.md): channels 9, 6 or 3 with at least one main channel at
// 9; exactly one main taste at 9, others 6 or 3; one nature, 9, or 5 for slightly warm and slightly
// cold. Slightly cold is Cold 5 and cool is Cool 9: two spellings of one grade would split the
// property filter's results.
void Importer::checkGrading(const Record &r)
{
    auto degrees = [&](const QString &key) {
        QList<std::pair<QString, int>> pairs;
        for (const QString &part : r.keys.value(key).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList words = part.simplified().split(QLatin1Char(' '));
            if (words.size() == 2)
                pairs.append({words[0], words[1].toInt()});
        }
        return pairs;
    };
    auto where = [&](const QString &key) { return QStringLiteral("%1:%2").arg(r.path).arg(r.keyLines.value(key)); };

    const auto channels = degrees(QStringLiteral("Canales"));
    int mainChannels = 0;
    for (const auto &[code, degree] : channels) {
        if (degree != 9 && degree != 6 && degree != 3)
            m_problems << QStringLiteral("%1: canal %2 %3: un canal se gradúa 9, 6 o 3").arg(where(QStringLiteral("Canales")), code).arg(degree);
        mainChannels += degree == 9;
    }
    if (!channels.isEmpty() && mainChannels == 0)
        m_problems << QStringLiteral("%1: ningún canal de grado 9: el canal principal es 9").arg(where(QStringLiteral("Canales")));

    const auto tastes = degrees(QStringLiteral("Sabores"));
    QStringList mainTastes;
    for (const auto &[code, degree] : tastes) {
        if (degree != 9 && degree != 6 && degree != 3)
            m_problems << QStringLiteral("%1: sabor %2 %3: un sabor se gradúa 9, 6 o 3").arg(where(QStringLiteral("Sabores")), code).arg(degree);
        if (degree == 9)
            mainTastes << code;
    }
    if (mainTastes.size() > 1)
        m_problems << QStringLiteral("%1: %2 sabores de grado 9 (%3): solo el sabor principal es 9, un segundo sabor 6, «ligeramente» 3")
                          .arg(where(QStringLiteral("Sabores")))
                          .arg(mainTastes.size())
                          .arg(mainTastes.join(QStringLiteral(", ")));
    else if (!tastes.isEmpty() && mainTastes.isEmpty())
        m_problems << QStringLiteral("%1: ningún sabor de grado 9: el sabor principal es 9").arg(where(QStringLiteral("Sabores")));

    const auto natures = degrees(QStringLiteral("Naturaleza"));
    if (natures.size() > 1)
        m_problems << QStringLiteral("%1: una sola naturaleza").arg(where(QStringLiteral("Naturaleza")));
    for (const auto &[code, degree] : natures) {
        const bool slight = code.compare(QLatin1String("Warm"), Qt::CaseInsensitive) == 0 ||
                            code.compare(QLatin1String("Cold"), Qt::CaseInsensitive) == 0;
        if (code.compare(QLatin1String("Cool"), Qt::CaseInsensitive) == 0 && degree != 9)
            m_problems << QStringLiteral("%1: Cool %2 no se usa: ligeramente frío (微寒) es Cold 5, fresco (凉) es Cool 9")
                              .arg(where(QStringLiteral("Naturaleza")))
                              .arg(degree);
        else if (degree != 9 && !(slight && degree == 5))
            m_problems << QStringLiteral("%1: %2 %3: la naturaleza es 9; «ligeramente» 5, solo en Warm y Cold")
                              .arg(where(QStringLiteral("Naturaleza")), code)
                              .arg(degree);
    }
}

// sin-ficha.txt: "Pin Yin: motivo" a line, "#" comments; below a line "== Pendientes", names whose
// records are still to be written, one a line. The file is optional.
void Importer::loadUnrecorded()
{
    const QString path = src(QStringLiteral("sin-ficha.txt"));
    if (!QFileInfo::exists(path))
        return;
    const QStringList lines = readText(path).split(QLatin1Char('\n'));
    bool pending = false;
    QSet<QString> seen;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString where = QStringLiteral("%1:%2").arg(path).arg(i + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("=="))) {
            const QString section = line.mid(2).trimmed();
            if (section != QLatin1String("Pendientes"))
                throw Error(QStringLiteral("%1: sección desconocida \"%2\" (solo hay \"Pendientes\")").arg(where, section));
            pending = true;
            continue;
        }
        const int colon = int(line.indexOf(QLatin1Char(':')));
        const QString name = (colon < 0 ? line : line.left(colon)).simplified();
        const QString reason = colon < 0 ? QString() : line.mid(colon + 1).trimmed();
        if (!isPinyinName(name) || name.count(QLatin1Char(' ')) == 0)
            throw Error(QStringLiteral("%1: \"%2\" no es un nombre en pin yin (sílabas con mayúscula)").arg(where, name));
        if (!pending && reason.isEmpty())
            throw Error(QStringLiteral("%1: \"%2\" necesita su motivo: \"%2: motivo\"").arg(where, name));
        if (seen.contains(name))
            throw Error(QStringLiteral("%1: \"%2\" está repetido").arg(where, name));
        seen.insert(name);
        m_unrecorded.append({name, i + 1, pending});
    }
}

// Every herb or formula a text cites in pin yin has a record, is a synonym of one, is a classic work
// of fuentes.csv, or is listed in sin-ficha.txt; and that list names only what is still cited and
// still without a record.
void Importer::checkCitations()
{
    QSet<QString> known;
    for (const Record &r : std::as_const(m_records)) {
        known.insert(r.keys.value(QStringLiteral("PinYin")));
        for (const QString &s : listItems(r.keys.value(QStringLiteral("Sinonimos"))))
            known.insert(s);
    }
    for (auto it = m_fuentes.cbegin(); it != m_fuentes.cend(); ++it)
        known.insert(it.key());
    const QString listPath = src(QStringLiteral("sin-ficha.txt"));
    for (const Unrecorded &u : std::as_const(m_unrecorded))
        if (known.contains(u.name))
            m_problems << QStringLiteral("%1:%2: \"%3\" ya tiene ficha (o es sinónimo de una, o una obra de fuentes.csv): quítelo de la lista")
                              .arg(listPath)
                              .arg(u.line)
                              .arg(u.name);
    QSet<QString> withUnrecorded = known;
    for (const Unrecorded &u : std::as_const(m_unrecorded))
        withUnrecorded.insert(u.name);

    QSet<QString> cited;
    for (const Record &r : std::as_const(m_records)) {
        for (const auto &[number, line] : r.textLines) {
            for (const QStringList &run : syllableRuns(line)) {
                const QString name = run.join(QLatin1Char(' '));
                cited.insert(name);
                if (splitsIntoKnownNames(run, withUnrecorded))
                    continue;
                m_problems << QStringLiteral("%1:%2: \"%3\" se cita y no tiene ficha: escriba su ficha o anótelo en sin-ficha.txt con su motivo")
                                  .arg(r.path)
                                  .arg(number)
                                  .arg(name);
            }
        }
    }
    // An entry is still cited when some run needs it to be resolved.
    for (const Unrecorded &u : std::as_const(m_unrecorded)) {
        if (known.contains(u.name))
            continue;
        QSet<QString> without = withUnrecorded;
        without.remove(u.name);
        const bool needed = std::any_of(cited.cbegin(), cited.cend(), [&](const QString &name) {
            return name.contains(u.name) && !splitsIntoKnownNames(name.split(QLatin1Char(' ')), without);
        });
        if (!needed)
            m_problems << QStringLiteral("%1:%2: \"%3\" no se cita en ningún texto: quítelo de la lista").arg(listPath).arg(u.line).arg(u.name);
    }
}

void Importer::run()
{
    if (store::Database::existsIn(m_target))
        throw Error(QStringLiteral("%1 ya tiene una base de datos").arg(m_target));
    createDatabase(m_target, workingTables());
    // The English data set is delivered switched off: a folder named English turns the interface
    // to English, and the sample opens in Spanish.
    const QString english = QDir(m_target).filePath(QString::fromLatin1(EnglishFolderOff));
    createDatabase(english, englishTables());

    m_db = std::make_unique<store::Database>(m_target, store::Database::OpenMode::Existing);
    int spanishTerms = 0;
    m_db->begin();
    try {
        loadCatalogues();
        loadRecords();
        loadUnrecorded();
        insertPlants();
        insertRelations();
        checkCitations();
        if (!m_problems.isEmpty())
            throw Error(m_problems.join(QLatin1Char('\n')));
        spanishTerms = insertGlossary(*m_db, QStringLiteral("Glosario"), QStringLiteral("glosario.csv"));
        m_db->commit();
    } catch (...) {
        m_db->rollback();
        throw;
    }
    store::Database englishDb(english, store::Database::OpenMode::Existing);
    englishDb.begin();
    const int englishTerms = insertGlossary(englishDb, QStringLiteral("Glossary"), QStringLiteral("English/glossary.csv"));
    englishDb.commit();
    // The English glossary is the Spanish one row for row: a term without its pair shows where.
    if (spanishTerms != englishTerms) {
        const bool spanishLonger = spanishTerms > englishTerms;
        throw Error(QStringLiteral("%1, fila %2: el término no tiene su pareja en %3 (las filas de los dos glosarios se corresponden)")
                        .arg(src(spanishLonger ? QStringLiteral("glosario.csv") : QStringLiteral("English/glossary.csv")))
                        .arg(std::min(spanishTerms, englishTerms) + 2)
                        .arg(spanishLonger ? QStringLiteral("English/glossary.csv") : QStringLiteral("glosario.csv")));
    }
    copyPages();
}

} // namespace

void importSample(const QString &sourceFolder, const QString &targetFolder)
{
    Importer(sourceFolder, targetFolder).run();
}

} // namespace data
