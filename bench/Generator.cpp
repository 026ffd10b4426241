#include "Generator.h"

#include "data/Profile.h"
#include "data/Schema.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <vector>

namespace bench {

namespace {

// ------------------------------------------------------------------ word lists

const QStringList &syllables()
{
    static const QStringList s = QStringLiteral(
        "Ai Ba Bai Ban Bei Bi Bian Bie Bing Bo Bu Cang Cao Ce Chai Chan Chang Che Chen Chi Chong Chuan Ci Cong "
        "Da Dai Dan Dang Di Ding Dong Du E Fang Fei Fen Feng Fu Gan Gao Ge Gou Gu Gua Guan Gui Hai Han He Hong "
        "Hou Hu Hua Huai Huang Hui Huo Ji Jia Jiang Jie Jin Jing Ju Jue Kuan Kun Lai Lian Ling Liu Long Lu Luo "
        "Ma Mai Man Mao Mei Mu Niu Nu Pi Pu Qian Qiang Qin Qing Qu Ren Rou Ru San Sang Sha Shan Shang She Shen "
        "Sheng Shi Shu Suan Tao Tian Tong Tu Wei Wu Xi Xia Xian Xiang Xiao Xie Xin Xing Xu Xuan Ya Yan Yang Ye "
        "Yi Yin Yu Yuan Yue Ze Zhi Zhu Zi Zong").split(QLatin1Char(' '));
    return s;
}

const QStringList &formulaEndings()
{
    static const QStringList s = {QStringLiteral("Tang"), QStringLiteral("San"), QStringLiteral("Wan"),
                                  QStringLiteral("Yin"), QStringLiteral("Gao"), QStringLiteral("Dan")};
    return s;
}

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList phrases(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

struct Vocabulary {
    QStringList latinParts = words("Radix Rhizoma Semen Fructus Herba Flos Cortex Folium Ramulus Caulis Bulbus Pericarpium");
    QStringList latinGenitives = words(
        "Paeoniae Ginseng Astragali Angelicae Atractylodis Glycyrrhizae Poriae Coptidis Scutellariae Rehmanniae "
        "Cinnamomi Zingiberis Ephedrae Bupleuri Citri Pinelliae Salviae Lycii Schisandrae Dioscoreae Magnoliae Mori "
        "Menthae Lonicerae Forsythiae Gardeniae Polygoni Cyperi Aucklandiae Alismatis Coicis Cassiae Ziziphi Nelumbinis");
    QStringList latinQualifiers = words("Alba Rubra Praeparata Tosta Recens Siccata Viride");
    QStringList latinForms = words("Decoctum Pulvis Pilula Potio Unguentum Infusum");
    QStringList genera = words(
        "Paeonia Panax Astragalus Angelica Atractylodes Glycyrrhiza Poria Coptis Scutellaria Rehmannia Cinnamomum "
        "Zingiber Ephedra Bupleurum Citrus Pinellia Salvia Lycium Schisandra Dioscorea Magnolia Morus Mentha Lonicera");
    QStringList epithets = words(
        "lactiflora ginseng membranaceus sinensis officinalis japonica chinensis alba rubra macrocephala uralensis "
        "glutinosa cassia reticulata ternata miltiorrhiza barbarum opposita haplocalyx");
    QStringList authors = words("L. Thunb. Benth. Maxim. DC. Franch. Pall. Koidz. Oliv. Hemsl.");
    QStringList esParts = words("Raíz Rizoma Semilla Fruto Hierba Flor Corteza Hoja Rama Tallo Bulbo Piel");
    QStringList esNouns = words(
        "peonía ginseng astrágalo angélica regaliz canela jengibre efedra mandarina salvia menta madreselva gardenia "
        "ñame piña caña castaño azufaifo loto crisantemo morera sésamo ruibarbo anís cúrcuma malvavisco espliego nogal "
        "níspero cáñamo");
    QStringList esAdjectives = phrases("blanca|roja|amarga|dulce|tostada|silvestre|de montaña|del sur|pequeña|"
                                       "grande|cultivada|de invierno|de otoño|salvaje|común|fresca|seca|"
                                       "de Sichuán|de Cantón|española");
    QStringList esForms = words("Decocción Polvo Píldora Infusión Pasta Vino");
    QStringList esFormulaThemes = phrases(
        "los cuatro caballeros|tonificación del centro|la armonía menor|las ocho joyas|la raíz verdadera|"
        "el frío y el calor|la energía del bazo|la limpieza del hígado|los seis sabores|la gran reunión|"
        "el dragón verde|el tigre blanco|la tortuga negra|la niña de jade|la montaña dorada");
    QStringList enParts = words("root rhizome seed fruit herb flower bark leaf twig stem bulb peel");
    QStringList enNouns = words(
        "peony ginseng milkvetch angelica licorice cinnamon ginger ephedra tangerine sage mint honeysuckle gardenia "
        "yam lotus chrysanthemum mulberry sesame rhubarb anise turmeric mallow walnut loquat hemp");
    QStringList enAdjectives = words("White Red Bitter Sweet Wild Mountain Southern Small Great Winter Autumn Common Dried");
    QStringList enForms = words("Decoction Powder Pill Drink Paste Wine");
    QStringList enFormulaThemes = phrases(
        "Four Gentlemen|Tonify the Middle|Minor Harmony|Eight Treasures|True Root|Cold and Heat|Spleen Energy|"
        "Clear the Liver|Six Flavours|Great Gathering|Green Dragon|White Tiger|Black Tortoise|Jade Maiden|Golden Mountain");
    // Other languages of the name panel, one short list each (French, Italian, German, Portuguese,
    // Catalan, Galician, Basque).
    std::array<QStringList, 7> otherNames = {
        words("Racine Graine Fleur Écorce Feuille Fruit Tige pivoine réglisse gingembre cannelle lotus mûrier"),
        words("Radice Seme Fiore Corteccia Foglia Frutto Stelo peonia liquirizia zenzero cannella loto gelso"),
        words("Wurzel Samen Blüte Rinde Blatt Frucht Stängel Pfingstrose Süßholz Ingwer Zimt Lotus Maulbeere"),
        words("Raiz Semente Flor Casca Folha Fruto Caule peónia alcaçuz gengibre canela lótus amoreira"),
        words("Arrel Llavor Flor Escorça Fulla Fruit Tija peònia regalèssia gingebre canyella lotus morera"),
        words("Raíña Semente Flor Cortiza Folla Froito Talo peonia regalicia xenxibre canela loto moreira"),
        words("Erroa Hazia Lorea Azala Hostoa Fruitua Zurtoina bakea erregaliza jengibrea kanela lotoa masusta"),
    };
    QStringList families = words(
        "Fabaceae Araliaceae Apiaceae Asteraceae Lamiaceae Rosaceae Rutaceae Ranunculaceae Paeoniaceae Zingiberaceae "
        "Poaceae Liliaceae Polygonaceae Moraceae Solanaceae Lauraceae Magnoliaceae Caprifoliaceae");
    QStringList habitats = phrases(
        "Bosques de montaña del noreste de China|Laderas soleadas y herbazales|Orillas de ríos y arroyos|"
        "Cultivada en Sichuán y Yunnan|Llanuras húmedas del sur|Estepas secas del norte|Valles templados de Zhejiang|"
        "Costas arenosas del este|Matorrales de media montaña");
    QStringList esPlantParts = words("Raíz Rizoma Semilla Fruto Planta Flor Corteza Hoja Rama Tallo Bulbo Cáscara");
    QStringList enPlantParts = words("Root Rhizome Seed Fruit Herb Flower Bark Leaf Twig Stem Bulb Peel");
    QStringList esProse = words(
        "raíz planta tónico energía calor frío humedad sangre bazo pulmón riñón hígado corazón estómago sabor amargo "
        "dulce picante ácido salado naturaleza tibia fresca canal meridiano síntoma indicación acción tratamiento dosis "
        "decocción polvo píldora uso tradicional medicina china clásico textos dinastía montaña región cultivo cosecha "
        "otoño primavera verano invierno secado sol sombra corteza hoja flor semilla fruto tallo rizoma color amarillo "
        "blanco rojo oscuro olor aromático suave intenso fibra superficie corte sección transversal longitud diámetro "
        "centímetros gramos se usa para tonificar dispersar armonizar nutrir calmar drenar eliminar expulsar regular "
        "fortalecer el la los las de del con sin en por y o que cuando según también además especialmente personas "
        "niños ancianos embarazo precaución contraindicado deficiencia exceso estancamiento viento flema fuego sequedad "
        "líquidos espíritu ánimo sueño insomnio tos asma diarrea estreñimiento náuseas vómitos dolor cabeza "
        "articulaciones músculos piel ojos oído garganta pecho abdomen espalda rodillas año día mañana noche pequeño "
        "señal compañía caña ñame");
    QStringList enProse = words(
        "root plant tonic energy heat cold dampness blood spleen lung kidney liver heart stomach taste bitter sweet "
        "pungent sour salty nature warm cool channel meridian symptom indication action treatment dose decoction "
        "powder pill use traditional medicine classic texts dynasty mountain region cultivation harvest autumn spring "
        "summer winter dried sun shade bark leaf flower seed fruit stem rhizome colour yellow white red dark smell "
        "aromatic mild strong fibre surface cut section length diameter grams is used to tonify disperse harmonise "
        "nourish calm drain clear expel regulate strengthen the of with without in by and or that when according also "
        "especially people children elderly pregnancy caution deficiency excess stagnation wind phlegm fire dryness "
        "fluids spirit sleep cough asthma pain head joints muscles skin eyes throat chest abdomen back knees day night");
    QStringList actionVerbs = words(
        "Tonifica Dispersa Calienta Enfría Armoniza Nutre Drena Seca Humedece Calma Detiene Promueve Elimina Expulsa "
        "Transforma Regula Fortalece Astringe");
    QStringList actionVerbsIng = words(
        "Tonifies Disperses Warms Cools Harmonises Nourishes Drains Dries Moistens Calms Stops Promotes Clears Expels "
        "Transforms Regulates Strengthens Astringes");
    QStringList actionObjects = phrases("el Qi|la sangre|el Yin|el Yang|la humedad|el calor|el viento|la flema|el frío|"
                                        "los líquidos|el fuego|la sequedad");
    QStringList actionObjectsIng = phrases("the Qi|the blood|the Yin|the Yang|dampness|heat|wind|phlegm|cold|fluids|fire|dryness");
    QStringList organs = phrases("Bazo|Pulmón|Corazón|Riñón|Hígado|Estómago|Intestino grueso|Intestino delgado|Vejiga|"
                                 "Vesícula biliar|Pericardio|Triple calentador");
    QStringList organsIng = phrases("Spleen|Lung|Heart|Kidney|Liver|Stomach|Large Intestine|Small Intestine|Bladder|"
                                    "Gallbladder|Pericardium|Triple Burner");
    QStringList signs = words("Dolor Hinchazón Sequedad Picor Entumecimiento Debilidad Rigidez Sangrado Calor Frío Tos Fatiga");
    QStringList signsIng = words("Pain Swelling Dryness Itching Numbness Weakness Stiffness Bleeding Heat Cold Cough Fatigue");
    QStringList places = phrases("cabeza|garganta|espalda|rodillas|abdomen|pecho|ojos|piel|boca|lengua|articulaciones|estómago");
    QStringList placesIng = phrases("head|throat|back|knees|abdomen|chest|eyes|skin|mouth|tongue|joints|stomach");
    QStringList qualifiers = phrases("por la mañana|nocturno|crónico|agudo|con sudor|tras comer|al esfuerzo|intermitente|"
                                     "con sed|sin fiebre");
    QStringList qualifiersIng = phrases("in the morning|at night|chronic|acute|with sweating|after eating|on exertion|"
                                        "intermittent|with thirst|without fever");
    QStringList compounds = words("Ácido Aceite Alcaloide Flavonoide Saponina Tanino Glucósido Polisacárido Cumarina Lignano");
    QStringList compoundsIng = words("Acid Oil Alkaloid Flavonoid Saponin Tannin Glycoside Polysaccharide Coumarin Lignan");
};

struct ClassName {
    const char *es;
    const char *en;
};

constexpr ClassName ClassNames[] = {
    {"Liberan el exterior", "Release the exterior"},
    {"Eliminan el calor", "Clear heat"},
    {"Drenan hacia abajo", "Drain downward"},
    {"Eliminan viento-humedad", "Dispel wind-dampness"},
    {"Aromáticas que transforman la humedad", "Aromatic herbs that transform dampness"},
    {"Drenan la humedad", "Drain dampness"},
    {"Calientan el interior", "Warm the interior"},
    {"Regulan el Qi", "Regulate the Qi"},
    {"Eliminan el estancamiento de alimentos", "Relieve food stagnation"},
    {"Expulsan parásitos", "Expel parasites"},
    {"Detienen el sangrado", "Stop bleeding"},
    {"Vigorizan la sangre", "Invigorate the blood"},
    {"Transforman la flema y calman la tos", "Transform phlegm and stop cough"},
    {"Calman el espíritu", "Calm the spirit"},
    {"Calman el hígado y extinguen el viento", "Calm the liver and extinguish wind"},
    {"Abren los orificios", "Open the orifices"},
    {"Tonificantes", "Tonify"},
    {"Astringentes", "Stabilize and bind"},
    {"Eméticos", "Induce vomiting"},
    {"De uso externo", "For external application"},
};
constexpr int ClassCount = int(std::size(ClassNames));

constexpr ClassName SubclassNames[] = {
    {"Del Qi", "Of the Qi"},           {"De la sangre", "Of the blood"},     {"Del Yin", "Of the Yin"},
    {"Del Yang", "Of the Yang"},       {"Picantes y tibias", "Acrid, warm"}, {"Picantes y frescas", "Acrid, cool"},
    {"Fríos", "Cold"},                 {"Suaves", "Mild"},                   {"Fuertes", "Strong"},
    {"Aromáticos", "Aromatic"},
};
constexpr int SubclassNameCount = int(std::size(SubclassNames));

// ------------------------------------------------------------------ drawing

template <typename List>
const typename List::value_type &pick(Rng &rng, const List &list)
{
    return list[rng.below(int(list.size()))];
}

// A key from 1..n that favours the low keys, so that some actions and ingredients are common and
// most are rare, as in a real materia medica.
int popularKey(Rng &rng, int n)
{
    const double u = rng.unit();
    return 1 + std::min(n - 1, int(n * u * u));
}

// `count` distinct keys from 1..n, ascending.
std::vector<int> distinctKeys(Rng &rng, int count, int n)
{
    count = std::min(count, n);
    std::vector<int> keys;
    keys.reserve(size_t(count));
    int attempts = 0;
    while (int(keys.size()) < count) {
        const int k = attempts++ < count * 8 ? popularKey(rng, n) : rng.between(1, n);
        if (std::find(keys.begin(), keys.end(), k) == keys.end())
            keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// How many relation rows each of `n` records gets: exactly `total` in all, at least one each
// when there is enough, at most `most`, spread unevenly.
std::vector<int> spreadCounts(Rng &rng, int n, qint64 total, int most)
{
    std::vector<int> counts(size_t(n), int(total / n));
    for (qint64 r = 0, extra = total % n; r < extra; ++r)
        ++counts[size_t(r)];
    for (int i = 0; i < n; ++i) {
        const int a = rng.below(n);
        const int b = rng.below(n);
        const int room = most - counts[size_t(b)];
        const int give = std::min(room, rng.below(counts[size_t(a)]));
        if (a != b && give > 0) {
            counts[size_t(a)] -= give;
            counts[size_t(b)] += give;
        }
    }
    return counts;
}

// Running text of about `lo`..`hi` characters, in sentences.
QString prose(Rng &rng, const QStringList &vocabulary, int lo, int hi)
{
    const int target = rng.between(lo, hi);
    QString s;
    s.reserve(target + 40);
    while (s.size() < target) {
        const int length = rng.between(6, 16);
        for (int w = 0; w < length; ++w) {
            QString word = pick(rng, vocabulary);
            if (w == 0)
                word[0] = word[0].toUpper();
            s += word;
            s += w + 1 < length ? QLatin1Char(' ') : QLatin1Char('.');
        }
        s += QLatin1Char(' ');
    }
    const qsizetype cut = s.lastIndexOf(QLatin1Char(' '), target);
    s.truncate(cut > 0 ? cut : target);
    if (!s.endsWith(QLatin1Char('.')))
        s += QLatin1Char('.');
    return s;
}

// A format filled with one word drawn from each list, in the lists' order.
QString compose(Rng &rng, const char *format, std::initializer_list<const QStringList *> lists)
{
    QString s = QString::fromLatin1(format);
    for (const QStringList *list : lists)
        s = s.arg(pick(rng, *list));
    return s;
}

QString pinyinName(Rng &rng, int syllableCount)
{
    QStringList parts;
    for (int i = 0; i < syllableCount; ++i)
        parts << pick(rng, syllables());
    return parts.join(QLatin1Char(' '));
}

// A property string of `width` digits: `used` named properties, most of them zero.
QString profileDigits(Rng &rng, int used, int width, int marked)
{
    QString s(width, QLatin1Char('0'));
    static const char Degrees[] = {'9', '6', '3', '5'};
    for (int i = 0; i < marked; ++i)
        s[rng.below(used)] = QLatin1Char(Degrees[rng.below(4)]);
    return s;
}

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1String(", "));
}

QVariant maybe(Rng &rng, double p, const QString &value)
{
    return rng.chance(p) ? QVariant(value) : QVariant();
}

QString withNumber(const QString &name, int number, int width)
{
    const QString suffix = QLatin1Char(' ') + QString::number(number);
    return name.left(width - int(suffix.size())) + suffix;
}

// ------------------------------------------------------------------ writing

class Writer {
public:
    Writer(store::Database &db, const GenSize &size, std::uint64_t seed) : m_db(db), m_size(size), m_rng(seed) {}
    GenReport run();

private:
    void writeClasses();
    void writeSmallCatalogues();
    void writeCatalogue(const char *table, int count, const std::function<std::pair<QString, QString>(int)> &name);
    void writePlants();
    void writePlant(int key, bool formula);
    void writeRelation(const char *table, const char *keyField, const char *otherField, qint64 total, int catalogue);
    void writeIngredients();
    void writeComponents();

    store::Database &m_db;
    GenSize m_size;
    Rng m_rng;
    Vocabulary m_v;
    GenReport m_report;
    std::vector<std::vector<int>> m_subclasses; // by class number - 1
    std::vector<std::array<QString, 3>> m_profiles; // Meridianos, Sabor, Energia of the elements, by key - 1
};

GenReport Writer::run()
{
    QElapsedTimer timer;
    timer.start();
    writeClasses();
    writeSmallCatalogues();
    writeCatalogue("Usos", m_size.actions, [this](int key) {
        const int v = m_rng.below(int(m_v.actionVerbs.size()));
        const int o = m_rng.below(int(m_v.actionObjects.size()));
        const int g = m_rng.below(int(m_v.organs.size()));
        return std::pair{withNumber(QStringLiteral("%1 %2 del %3").arg(m_v.actionVerbs[v], m_v.actionObjects[o], m_v.organs[g]), key, 120),
                         withNumber(QStringLiteral("%1 %2 of the %3").arg(m_v.actionVerbsIng[v], m_v.actionObjectsIng[o], m_v.organsIng[g]), key, 120)};
    });
    writeCatalogue("Sintomas", m_size.indications, [this](int key) {
        const int s = m_rng.below(int(m_v.signs.size()));
        const int p = m_rng.below(int(m_v.places.size()));
        const int q = m_rng.below(int(m_v.qualifiers.size()));
        return std::pair{withNumber(QStringLiteral("%1 de %2 %3").arg(m_v.signs[s], m_v.places[p], m_v.qualifiers[q]), key, 120),
                         withNumber(QStringLiteral("%1 of the %2 %3").arg(m_v.signsIng[s], m_v.placesIng[p], m_v.qualifiersIng[q]), key, 120)};
    });
    writeCatalogue("Componen", m_size.components, [this](int key) {
        const int c = m_rng.below(int(m_v.compounds.size()));
        const QString name = pinyinName(m_rng, 1).toLower();
        return std::pair{withNumber(QStringLiteral("%1 %2").arg(m_v.compounds[c], name), key, 40),
                         withNumber(QStringLiteral("%1 %2").arg(name, m_v.compoundsIng[c]), key, 40)};
    });
    writePlants();
    writeRelation("Rel", "KUso", "OUso", m_size.actionRows, m_size.actions);
    writeRelation("RelSint", "KSint", "OSint", m_size.indicationRows, m_size.indications);
    m_report.actionRows = m_size.actionRows;
    m_report.indicationRows = m_size.indicationRows;
    writeIngredients();
    writeComponents();
    m_report.seconds = double(timer.elapsed()) / 1000.0;
    return m_report;
}

void Writer::writeClasses()
{
    store::Statement &q = m_db.cached(QStringLiteral("INSERT INTO Clases (Num, Padre, NomEsp, NomIng) VALUES (?, ?, ?, ?)"));
    auto insert = [&](int num, int parent, const QString &es, const QString &en) {
        q.bind(1, num);
        q.bind(2, parent);
        q.bind(3, es);
        q.bind(4, en);
        q.run();
        q.reset();
        ++m_report.classes;
    };
    for (int c = 1; c <= ClassCount; ++c) {
        insert(c, 0, QString::fromUtf8(ClassNames[c - 1].es), QString::fromUtf8(ClassNames[c - 1].en));
        std::vector<int> names(SubclassNameCount);
        std::iota(names.begin(), names.end(), 0);
        const int count = m_rng.between(2, 5);
        std::vector<int> subs;
        for (int k = 1; k <= count; ++k) {
            std::swap(names[size_t(k - 1)], names[size_t(k - 1 + m_rng.below(SubclassNameCount - k + 1))]);
            const ClassName &n = SubclassNames[names[size_t(k - 1)]];
            insert(c * 100 + k, c, QString::fromUtf8(n.es), QString::fromUtf8(n.en));
            subs.push_back(c * 100 + k);
        }
        m_subclasses.push_back(std::move(subs));
    }
}

void Writer::writeSmallCatalogues()
{
    store::Statement &e = m_db.cached(QStringLiteral("INSERT INTO Especies (Clave, Nom, NomIng) VALUES (?, ?, ?)"));
    const QStringList es = words("Planta Mineral Animal Hongo"), en = words("Plant Mineral Animal Fungus");
    for (int i = 0; i < es.size(); ++i) {
        e.bind(1, i + 1);
        e.bind(2, es[i]);
        e.bind(3, en[i]);
        e.run();
        e.reset();
    }
    store::Statement &f = m_db.cached(QStringLiteral("INSERT INTO Fuentes (Clave, Titulo, Autor, Dinastia) VALUES (?, ?, ?, ?)"));
    const QStringList dynasties = words("Han Tang Song Yuan Ming Qing");
    for (int i = 1; i <= 40; ++i) {
        f.bind(1, i);
        f.bind(2, withNumber(pinyinName(m_rng, 2) + QStringLiteral(" Ben Cao"), i, 100));
        f.bind(3, QStringLiteral("Anónimo"));
        f.bind(4, pick(m_rng, dynasties));
        f.run();
        f.reset();
    }
}

void Writer::writeCatalogue(const char *table, int count, const std::function<std::pair<QString, QString>(int)> &name)
{
    store::Statement &q = m_db.cached(QStringLiteral("INSERT INTO %1 (Clave, Orden, Nom, NomIng) VALUES (?, ?, ?, ?)").arg(QLatin1String(table)));
    for (int key = 1; key <= count; ++key) {
        const auto [es, en] = name(key);
        q.bind(1, key);
        q.bind(2, key);
        q.bind(3, es);
        q.bind(4, en);
        q.run();
        q.reset();
    }
}

void Writer::writePlants()
{
    // Elements first, then formulas, as the sample folder numbers them; a formula's profile needs
    // its ingredients' profiles.
    for (int key = 1; key <= m_size.elements; ++key)
        writePlant(key, false);
    for (int key = m_size.elements + 1; key <= m_size.plants(); ++key)
        writePlant(key, true);
}

void Writer::writePlant(int key, bool formula)
{
    static const QString Columns = QStringLiteral(
        "Clave, EsFormula, PinYin, Nom0, Nom1, Nom2, Nom3, Nom4, Nom5, Nom6, Nom7, Nom8, Nom9, Nom10, Familia, Habitat, "
        "Parte, ParteIng, Descripcion, Floracion, Aplicacion, Administracion, DescripcionIng, FloracionIng, "
        "AdministracionIng, KEspecie, Toxicidad, Orden, Meridianos, Sabor, Energia, KClase, KSubClase, KFuente");
    store::Statement &q = m_db.cached(QStringLiteral("INSERT INTO Plantas (%1) VALUES (%2)")
                                          .arg(Columns, placeholders(34)));
    Rng &r = m_rng;
    const Vocabulary &v = m_v;
    QVariantList values;
    values.reserve(34);
    values << key << (formula ? 1 : 0);
    // Each word is drawn in its own statement or through compose(): the order in which function
    // arguments are evaluated is the compiler's choice, and the same seed must give the same folder.
    auto named = [key](const QString &name, int width = 50) { return withNumber(name, key, width); };
    if (formula) {
        QString pinyin = pinyinName(r, r.between(2, 4));
        pinyin += QLatin1Char(' ') + pick(r, formulaEndings());
        values << named(pinyin) << named(compose(r, "%1 %2", {&v.latinForms, &v.latinGenitives}))
               << named(compose(r, "%1 %2 et %3", {&v.latinForms, &v.latinGenitives, &v.latinGenitives}))
               << named(compose(r, "%1 de %2", {&v.esForms, &v.esFormulaThemes}).replace(QLatin1String(" de el "), QLatin1String(" del ")))
               << named(compose(r, "%1 %2", {&v.enFormulaThemes, &v.enForms}));
    } else {
        values << named(pinyinName(r, r.between(2, 3)))
               << named(compose(r, "%1 %2 %3", {&v.latinParts, &v.latinGenitives, &v.latinQualifiers}))
               << named(compose(r, "%1 %2 %3", {&v.genera, &v.epithets, &v.authors}))
               << named(compose(r, "%1 de %2 %3", {&v.esParts, &v.esNouns, &v.esAdjectives}))
               << named(compose(r, "%1 %2 %3", {&v.enAdjectives, &v.enNouns, &v.enParts}));
    }
    // The other languages: a part and a noun of that language, filled on fewer plants the later it comes.
    static const double Filled[7] = {0.8, 0.6, 0.5, 0.4, 0.25, 0.25, 0.25};
    for (int lang = 0; lang < 7; ++lang) {
        const QStringList &list = v.otherNames[size_t(lang)];
        QString name = list[r.below(7)];
        name += QLatin1Char(' ') + list[7 + r.below(int(list.size()) - 7)];
        values << maybe(r, Filled[lang], named(name, 35));
    }
    const int part = r.below(int(v.esPlantParts.size()));
    if (formula)
        values << QVariant() << QVariant() << QVariant() << QVariant();
    else
        values << pick(r, v.families) << pick(r, v.habitats) << v.esPlantParts[part] << v.enPlantParts[part];
    values << prose(r, v.esProse, 650, 950) << prose(r, v.esProse, 200, 400) << prose(r, v.esProse, 200, 400)
           << prose(r, v.esProse, 200, 400) << prose(r, v.enProse, 650, 950) << prose(r, v.enProse, 200, 400)
           << prose(r, v.enProse, 200, 400);
    values << (formula ? QVariant() : QVariant(r.between(1, 4)));
    static const QString Toxicity[] = {QString(), QString(), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                       QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    const QString &toxicity = Toxicity[r.below(8)];
    values << (toxicity.isEmpty() ? QVariant() : QVariant(toxicity)) << key;
    if (formula) {
        // Filled in with the ingredients.
        values << QVariant() << QVariant() << QVariant();
    } else {
        std::array<QString, 3> profile = {profileDigits(r, data::ChannelCount, data::ChannelsWidth, r.between(1, 4)),
                                          profileDigits(r, data::TasteCount, data::TastesWidth, r.between(1, 2)),
                                          profileDigits(r, data::NatureCount, data::NaturesWidth, 1)};
        values << profile[0] << profile[1] << profile[2];
        m_profiles.push_back(std::move(profile));
    }
    const int cls = popularKey(r, ClassCount);
    values << cls << pick(r, m_subclasses[size_t(cls - 1)]) << r.between(1, 40);

    for (int i = 0; i < values.size(); ++i)
        q.bind(i + 1, values[i]);
    q.run();
    q.reset();
    ++m_report.plants;
    if (formula)
        ++m_report.formulas;
}

void Writer::writeRelation(const char *table, const char *keyField, const char *otherField, qint64 total, int catalogue)
{
    store::Statement &q = m_db.cached(QStringLiteral("INSERT INTO %1 (KPlanta, %2, OPlanta, %3) VALUES (?, ?, ?, ?)")
                                          .arg(QLatin1String(table), QLatin1String(keyField), QLatin1String(otherField)));
    const int plants = m_size.plants();
    const std::vector<int> counts = spreadCounts(m_rng, plants, total, std::min(catalogue, 60));
    for (int plant = 1; plant <= plants; ++plant)
        for (int other : distinctKeys(m_rng, counts[size_t(plant - 1)], catalogue)) {
            // Orden follows Clave in every generated table, so the O fields repeat the keys.
            q.bind(1, plant);
            q.bind(2, other);
            q.bind(3, plant);
            q.bind(4, other);
            q.run();
            q.reset();
        }
}

void Writer::writeIngredients()
{
    store::Statement &q = m_db.cached(QStringLiteral(
        "INSERT INTO RelForm (KFormula, KPlanta, OFormula, OPlanta, Porcentaje) VALUES (?, ?, ?, ?, ?)"));
    store::Statement &u = m_db.cached(QStringLiteral("UPDATE Plantas SET Meridianos=?, Sabor=?, Energia=? WHERE rowid=?"));
    for (int formula = m_size.elements + 1; formula <= m_size.plants(); ++formula) {
        const std::vector<int> ingredients = distinctKeys(m_rng, m_rng.between(4, 15), m_size.elements);
        // Percentages in tenths that add up to exactly 100.0.
        std::vector<int> weights;
        int sum = 0;
        for (size_t i = 0; i < ingredients.size(); ++i) {
            weights.push_back(m_rng.between(1, 10));
            sum += weights.back();
        }
        std::vector<int> tenths;
        int given = 0;
        for (int w : weights) {
            tenths.push_back(1000 * w / sum);
            given += tenths.back();
        }
        for (size_t i = 0; given < 1000; i = (i + 1) % tenths.size(), ++given)
            ++tenths[i];

        data::ProfileSlotsArray acc[3] = {};
        for (size_t i = 0; i < ingredients.size(); ++i) {
            const double percent = tenths[i] / 10.0;
            q.bind(1, formula);
            q.bind(2, ingredients[i]);
            q.bind(3, formula);
            q.bind(4, ingredients[i]);
            q.bind(5, percent);
            q.run();
            q.reset();
            for (int s = 0; s < 3; ++s)
                data::addWeightedProfile(acc[s], percent, m_profiles[size_t(ingredients[i] - 1)][size_t(s)]);
            ++m_report.ingredientRows;
        }
        u.bind(1, data::profileString(acc[0]).left(data::ChannelsWidth));
        u.bind(2, data::profileString(acc[1]).left(data::TastesWidth));
        u.bind(3, data::profileString(acc[2]).left(data::NaturesWidth));
        u.bind(4, formula);
        u.run();
        u.reset();
    }
}

void Writer::writeComponents()
{
    if (m_size.components == 0)
        return;
    store::Statement &q = m_db.cached(QStringLiteral("INSERT INTO RelComp (KPlanta, KComp, OPlanta, OComp) VALUES (?, ?, ?, ?)"));
    for (int plant = 1; plant <= m_size.elements; ++plant)
        for (int comp : distinctKeys(m_rng, m_rng.between(0, 3), m_size.components)) {
            q.bind(1, plant);
            q.bind(2, comp);
            q.bind(3, plant);
            q.bind(4, comp);
            q.run();
            q.reset();
            ++m_report.componentRows;
        }
}

} // namespace

GenSize genSize(const QString &name)
{
    const QString n = name.trimmed().toUpper();
    // M is the size of a full reference database; S keeps M's proportions of relations per plant.
    if (n == QLatin1String("S"))
        return {QStringLiteral("S"), 530, 120, 600, 900, 40, 2944, 4121};
    if (n == QLatin1String("M"))
        return {QStringLiteral("M"), 8200, 47000, 3000, 4000, 400, 250000, 350000};
    if (n == QLatin1String("L"))
        return {QStringLiteral("L"), 8200, 47000, 3000, 70000, 400, 625000, 875000};
    throw store::Error(QStringLiteral("unknown size \"%1\": S, M or L").arg(name));
}

QStringList genSizeNames()
{
    return {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")};
}

GenReport generate(const GenSize &size, const QString &folder, std::uint64_t seed)
{
    data::createDatabase(folder, data::workingTables());
    store::Database db(folder, store::Database::OpenMode::Existing);
    // Nothing to protect while the folder is being made: no syncing, a large page cache.
    db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    db.exec(QStringLiteral("PRAGMA cache_size=-262144"));
    Writer writer(db, size, seed);
    GenReport report;
    db.begin();
    try {
        report = writer.run();
        db.commit();
    } catch (...) {
        db.rollback();
        throw;
    }
    db.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return report;
}

} // namespace bench
