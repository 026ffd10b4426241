#include "ProgramFixture.h"

namespace test {

SmallKeys fillSmallMateriaMedica(store::Session &session)
{
    store::Database &db = session.database();
    auto plant = [&](const char *pinyin, bool formula, const char *nom0, const char *meridianos) {
        store::Statement q(db.handle(), QStringLiteral("INSERT INTO Plantas (PinYin, EsFormula, Nom0, Meridianos, Sabor, Energia) VALUES (?,?,?,?,?,?)"));
        q.bind(1, QString::fromUtf8(pinyin));
        q.bind(2, formula);
        q.bind(3, QString::fromUtf8(nom0));
        q.bind(4, QString::fromLatin1(meridianos));
        q.bind(5, QStringLiteral("0009000000"));
        q.bind(6, QStringLiteral("0900000000"));
        q.run();
        const int key = int(db.lastInsertRowId());
        db.exec(QStringLiteral("UPDATE Plantas SET Orden=Clave WHERE Clave=%1").arg(key));
        return key;
    };
    auto action = [&](const char *nom, const char *nomIng) {
        store::Statement q(db.handle(), QStringLiteral("INSERT INTO Usos (Nom, NomIng) VALUES (?,?)"));
        q.bind(1, QString::fromUtf8(nom));
        q.bind(2, QString::fromUtf8(nomIng));
        q.run();
        const int key = int(db.lastInsertRowId());
        db.exec(QStringLiteral("UPDATE Usos SET Orden=Clave WHERE Clave=%1").arg(key));
        return key;
    };
    SmallKeys k{};
    k.baiZhu = plant("Bai Zhu", false, "Rhizoma Atractylodis Macrocephalae", "09000000000000");
    k.ganCao = plant("Gan Cao", false, "Radix Glycyrrhizae", "99000000000000");
    k.renShen = plant("Ren Shen", false, "Radix Ginseng", "99600000000000");
    k.guiZhi = plant("Gui Zhi", false, "Ramulus Cinnamomi", "90900000000000");
    k.siJunZiTang = plant("Si Jun Zi Tang", true, "", "");
    const std::pair<int, const char *> english[] = {{k.baiZhu, "White Atractylodes"}, {k.ganCao, "Licorice"},
                                                    {k.renShen, "Ginseng"}, {k.guiZhi, "Cinnamon Twig"},
                                                    {k.siJunZiTang, "Four Gentlemen Decoction"}};
    for (const auto &[key, name] : english)
        db.exec(QStringLiteral("UPDATE Plantas SET Nom3='%1' WHERE Clave=%2").arg(QString::fromLatin1(name)).arg(key));
    db.exec(QStringLiteral("INSERT INTO Sinonimos (KPlanta, Sinon) VALUES (%1, 'Raiz Del Hombre')").arg(k.renShen));
    // Classes: 12 with its subclasses 30 and 31, and 5 without any.
    db.exec(QStringLiteral("INSERT INTO Clases (Num, Padre, NomEsp, NomIng) VALUES (12,0,'Tonificantes','Tonify'),"
                           "(30,12,'Tonifican el Qi','Tonify Qi'),(31,12,'Tonifican la sangre','Tonify blood'),"
                           "(5,0,'Calientan el interior','Warm the interior')"));
    db.exec(QStringLiteral("UPDATE Plantas SET KClase=12, KSubClase=30 WHERE Clave IN (%1,%2)").arg(k.renShen).arg(k.siJunZiTang));
    db.exec(QStringLiteral("UPDATE Plantas SET KClase=12 WHERE Clave=%1").arg(k.ganCao));
    db.exec(QStringLiteral("UPDATE Plantas SET KClase=5 WHERE Clave=%1").arg(k.guiZhi));
    db.exec(QStringLiteral("INSERT INTO Especies (Nom, NomIng) VALUES ('Planta','Plant'),('Mineral','Mineral')"));
    k.tonifica = action("Tonifica el Qi", "Tonifies Qi");
    k.calma = action("Calma el espíritu", "Calms the spirit");
    k.libera = action("Libera el exterior", "Releases the exterior");
    auto relate = [&](int p, int u) {
        db.exec(QStringLiteral("INSERT INTO Rel (KPlanta, KUso, OPlanta, OUso) VALUES (%1,%2,%1,%2)").arg(p).arg(u));
    };
    relate(k.renShen, k.tonifica);
    relate(k.renShen, k.calma);
    relate(k.ganCao, k.tonifica);
    relate(k.guiZhi, k.libera);
    for (auto [ing, pct] : {std::pair{k.renShen, 40.0}, std::pair{k.baiZhu, 35.0}, std::pair{k.ganCao, 25.0}})
        db.exec(QStringLiteral("INSERT INTO RelForm (KFormula, KPlanta, OFormula, OPlanta, Porcentaje) VALUES (%1,%2,%1,%2,%3)")
                    .arg(k.siJunZiTang).arg(ing).arg(pct));
    db.tableReset(QStringLiteral("Plantas"));
    db.tableReset(QStringLiteral("Usos"));
    return k;
}

void separateOrderNumbers(store::Session &session)
{
    store::Database &db = session.database();
    db.exec(QStringLiteral("UPDATE Plantas SET Orden=Clave+100"));
    db.exec(QStringLiteral("UPDATE Usos SET Orden=Clave+50"));
    db.exec(QStringLiteral("UPDATE Rel SET OPlanta=KPlanta+100, OUso=KUso+50"));
    db.exec(QStringLiteral("UPDATE RelForm SET OFormula=KFormula+100, OPlanta=KPlanta+100"));
    for (const char *table : {"Plantas", "Usos", "Rel", "RelForm"})
        db.tableReset(QString::fromLatin1(table));
}

ProgramFixture::ProgramFixture(const QString &firstArgument, bool fill)
{
    if (fill)
        keys = fillSmallMateriaMedica(folder.session());
    context.workingFolder = folder.path();
    context.firstArgument = firstArgument;
    context.session = &folder.session();
    program = std::make_unique<app::Program>(context);
}

ProgramFixture::~ProgramFixture()
{
    program.reset();
}

bool ProgramFixture::start()
{
    return program->start();
}

} // namespace test
