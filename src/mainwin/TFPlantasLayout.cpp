// The control tree of the main window, built in code: one helper per area.
#include "TFPlantas.h"

#include "data/InterfaceTexts.h"
#include "mainwin/Pictures.h"
#include "widgets/DropDownCombo.h"
#include "widgets/ProfileBar.h"
#include "widgets/Toolkit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mainwin {

using widgets::button;
using widgets::hbox;
using widgets::label;
using widgets::named;
using widgets::panel;
using widgets::vbox;

namespace {

// The labels of one property string: (short text, hint) per position.
struct PropertyLabel {
    const char *text;
    const char *hint;
};

const PropertyLabel ChannelLabels[] = {
    {"Pu", "Pulmón"}, {"BP", "Bazo"}, {"Co", "Corazón"}, {"Ri", "Riñón"}, {"Pe", "Pericardio"}, {"Hi", "Hígado"},
    {"IG", "Intestino Grueso"}, {"Es", "Estómago"}, {"ID", "Intestino Delgado"}, {"Ve", "Vejiga"},
    {"TC", "Triple Calentador"}, {"VB", "Vesícula Biliar"}};
const PropertyLabel TasteLabels[] = {{"Agrio", ""}, {"Amargo", ""}, {"Picante", ""}, {"Dulce", ""},
                                     {"Aromático", ""}, {"Astringente", ""}, {"Salado", ""}, {"Insípido", ""}};
const PropertyLabel NatureLabels[] = {{"Neutral", ""}, {"Tibia", ""}, {"Fresca", ""}, {"Fría", ""}, {"Caliente", ""}};

template <size_t N>
void fillPropertyPanel(QFrame *panel, int tag, const PropertyLabel (&labels)[N], QList<widgets::ProfileBar *> &bars,
                       const char *prefix)
{
    int labelWidth = 0;
    for (const PropertyLabel &l : labels)
        labelWidth = std::max(labelWidth, panel->fontMetrics().horizontalAdvance(QString::fromUtf8(l.text)) + 2);
    panel->setProperty("tag", tag);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    for (size_t i = 0; i < N; ++i) {
        const int position = int(i) + 1;
        auto *l = new QLabel(QString::fromUtf8(labels[i].text), panel);
        l->setObjectName(QStringLiteral("Lab%1%2").arg(QString::fromLatin1(prefix)).arg(position));
        l->setProperty("tag", position);
        l->setFixedWidth(labelWidth);
        l->setCursor(Qt::PointingHandCursor);
        auto *bar = new widgets::ProfileBar(panel);
        bar->setObjectName(QStringLiteral("Bar%1%2").arg(QString::fromLatin1(prefix)).arg(position));
        bar->setProperty("tag", position);
        bar->setMaximum(9);
        bar->setFixedHeight(12);
        if (*labels[i].hint) {
            l->setToolTip(QString::fromUtf8(labels[i].hint));
            bar->setToolTip(QString::fromUtf8(labels[i].hint));
        }
        grid->addWidget(l, int(i), 0);
        grid->addWidget(bar, int(i), 1);
        bars << bar;
    }
}

} // namespace

void TFPlantas::createControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    setCentralWidget(central);
    auto *root = hbox(central);

    Splitter5 = named(new QSplitter(Qt::Horizontal, central), "Splitter5");
    Splitter5->setChildrenCollapsible(false);
    root->addWidget(Splitter5);

    Splitter5->addWidget(createListColumn());

    Panel1 = panel("Panel1");
    auto *right = vbox(Panel1);
    Splitter2 = named(new QSplitter(Qt::Vertical, Panel1), "Splitter2");
    Splitter2->setChildrenCollapsible(false);
    right->addWidget(Splitter2);

    PanSup = panel("PanSup");
    auto *sup = hbox(PanSup);
    Splitter7 = named(new QSplitter(Qt::Horizontal, PanSup), "Splitter7");
    Splitter7->setChildrenCollapsible(false);
    sup->addWidget(Splitter7);
    Splitter7->addWidget(createNamesAndPhoto());

    PanDer = panel("PanDer");
    auto *der = vbox(PanDer);
    der->addWidget(createMemoArea(), 1);
    der->addWidget(createClassStrips());
    der->addWidget(createBottomPanel());
    Splitter7->addWidget(PanDer);

    Splitter2->addWidget(PanSup);
    Splitter2->addWidget(createRelationPages());
    Splitter5->addWidget(Panel1);

    // Design sizes: list column 257, names and photo 265, relation area 217.
    Splitter5->setSizes({257, 1024 - 257});
    Splitter7->setSizes({265, 1024 - 257 - 265});
    Splitter2->setSizes({700 - 217, 217});
    Splitter5->setStretchFactor(1, 1);
    Splitter7->setStretchFactor(1, 1);
    Splitter2->setStretchFactor(0, 1);
}

QWidget *TFPlantas::createListColumn()
{
    PanIzq = panel("PanIzq");
    PanIzq->setMinimumWidth(180);
    auto *col = vbox(PanIzq);

    PanInstrUna = panel("PanInstrUna", PanIzq);
    // "Volver" lies over the arrow, both in the middle of the panel.
    auto *instr = new QGridLayout(PanInstrUna);
    instr->setContentsMargins(4, 4, 4, 4);
    ImVolver = label("ImVolver", QString(), PanInstrUna);
    ImVolver->setPixmap(Pictures::backArrow());
    ImVolver->setAlignment(Qt::AlignCenter);
    ImVolver->setCursor(Qt::PointingHandCursor);
    LabAtras = label("LabAtras", QStringLiteral("Volver"), PanInstrUna);
    LabAtras->setAlignment(Qt::AlignCenter);
    LabAtras->setCursor(Qt::PointingHandCursor);
    instr->addWidget(ImVolver, 0, 0, Qt::AlignCenter);
    instr->addWidget(LabAtras, 0, 0, Qt::AlignCenter);
    LabAtras->raise();
    PanInstrUna->hide();
    col->addWidget(PanInstrUna, 1);

    PanInd = panel("PanInd", PanIzq);
    auto *ind = vbox(PanInd);
    PanNom = panel("PanNom", PanInd);
    auto *nom = hbox(PanNom, 2, 2);
    LabNom = label("LabNom", QStringLiteral("Nombre"), PanNom);
    QFont bold = LabNom->font();
    bold.setBold(true);
    LabNom->setFont(bold);
    CBIdioma = named(new widgets::DropDownCombo(PanNom), "CBIdioma");
    CBIdioma->addItems({QStringLiteral("PinYin"), QStringLiteral("Farmacéutico"), QStringLiteral("Científico"),
                        QStringLiteral("Español"), QStringLiteral("Inglés")});
    CBIdioma->setMaxVisibleItems(5);
    CBIdioma->setFixedWidth(20);
    nom->addWidget(LabNom, 1);
    nom->addWidget(CBIdioma, 0, Qt::AlignRight);
    ind->addWidget(PanNom);

    LabCant = label("LabCant", QString(), PanInd);
    auto *cant = hbox(LabCant, 2, 2);
    cant->addStretch(1);
    VerTodo = button("VerTodo", QStringLiteral("Ver Todo"), LabCant);
    cant->addWidget(VerTodo);
    LabCant->setMinimumHeight(VerTodo->sizeHint().height() + 4);
    LabCant->setIndent(4);
    LabCant->hide();
    ind->addWidget(LabCant);

    GrNom = named(new widgets::DBGrid(PanInd), "GrNom");
    GrNom->setTitles(false);
    GrNom->setListNavigation(true); // the typed search is the list's only keyboard search
    ind->addWidget(GrNom, 1);

    LabBus = label("LabBus", QString(), PanInd);
    auto *bus = hbox(LabBus, 2, 2);
    bus->addStretch(1);
    BotBusSinon = button("BotBusSinon", QStringLiteral(">>>"), LabBus);
    BotBusSinon->hide();
    bus->addWidget(BotBusSinon);
    LabBus->setMinimumHeight(BotBusSinon->sizeHint().height() + 4);
    LabBus->setIndent(4);
    // A long typed text must not widen the list column.
    LabBus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    LabBus->hide();
    ind->addWidget(LabBus);
    col->addWidget(PanInd, 1);

    SelPlanForm = named(new QGroupBox(PanIzq), "SelPlanForm");
    auto *kinds = hbox(SelPlanForm, 4, 4);
    SelPlanFormGroup = named(new QButtonGroup(SelPlanForm), "SelPlanFormGroup");
    const QStringList kindTexts{QStringLiteral("Elementos"), QStringLiteral("Fórmulas"), QStringLiteral("Todo")};
    for (int i = 0; i < kindTexts.size(); ++i) {
        auto *r = new QRadioButton(kindTexts[i], SelPlanForm);
        r->setObjectName(QStringLiteral("SelPlanForm%1").arg(i));
        SelPlanFormGroup->addButton(r, i);
        kinds->addWidget(r);
    }
    SelPlanFormGroup->button(int(data::ListKind::All))->setChecked(true);
    col->addWidget(SelPlanForm);

    Panel31 = panel("Panel31", PanIzq);
    auto *p31 = hbox(Panel31, 2, 2);
    LabFic = label("LabFic", QStringLiteral("Propiedades"), Panel31);
    LabFic->setFont(bold);
    FiltrarProp = button("FiltrarProp", QStringLiteral("Buscar"), Panel31);
    p31->addWidget(LabFic, 1);
    p31->addWidget(FiltrarProp);
    col->addWidget(Panel31);

    col->addWidget(createPropertyPanels());
    col->addWidget(createDetailPages());
    return PanIzq;
}

QWidget *TFPlantas::createPropertyPanels()
{
    PanProp = panel("PanProp", PanIzq);
    PanProp->setFixedHeight(257);
    PanCanales = panel("PanCanales", PanProp);
    PanSabor = panel("PanSabor", PanProp);
    PanEnergia = panel("PanEnergia", PanProp);
    fillPropertyPanel(PanCanales, 1, ChannelLabels, ChannelBars, "Canal");
    fillPropertyPanel(PanSabor, 2, TasteLabels, TasteBars, "Sabor");
    fillPropertyPanel(PanEnergia, 3, NatureLabels, NatureBars, "Energia");
    return PanProp;
}

QWidget *TFPlantas::createDetailPages()
{
    FicPropAut = named(new QStackedWidget(PanIzq), "FicPropAut");

    PagProps = named(new QWidget(FicPropAut), "PagProps");
    auto *props = new QGridLayout(PagProps);
    props->setContentsMargins(2, 2, 2, 2);
    props->setVerticalSpacing(2);
    PanToxic = panel("PanToxic", PagProps);
    auto *tox = hbox(PanToxic, 0, 4);
    ImTox = label("ImTox", QString(), PanToxic);
    ImTox->setFixedSize(18, 18);
    ImTox->setAlignment(Qt::AlignCenter);
    ImTox->setFrameShape(QFrame::Box);
    LabTox = label("LabTox", QString(), PanToxic);
    LabTox->setAlignment(Qt::AlignCenter);
    PanTox = panel("PanTox", PanToxic);
    auto *squares = hbox(PanTox, 0, 1);
    // The chooser's squares, in their order: tag, mark.
    const std::pair<int, const char *> squareTags[] = {{1, "?"}, {0, ""}, {2, "!"}, {3, "X"}, {-1, ""}};
    int n = 0;
    for (const auto &[tag, mark] : squareTags) {
        auto *square = label(QStringLiteral("StaticText%1").arg(++n).toLatin1().constData(), QString::fromLatin1(mark), PanTox);
        square->setProperty("tag", tag);
        square->setFixedSize(16, 16);
        square->setAlignment(Qt::AlignCenter);
        square->setFrameShape(QFrame::Box);
        square->setAutoFillBackground(true);
        square->setCursor(Qt::PointingHandCursor);
        ToxicitySquares << square;
        squares->addWidget(square);
    }
    PanTox->hide();
    DBEdit17 = named(new widgets::DBEdit(PanToxic), "DBEdit17");
    DBEdit17->hide();
    tox->addWidget(ImTox);
    tox->addWidget(LabTox, 1);
    tox->addWidget(PanTox);
    props->addWidget(PanToxic, 0, 0, 1, 2);
    const struct { const char *caption; const char *name; widgets::DBEdit **edit; } rows[] = {
        {"Especie: ", "DBEdit6", &DBEdit6}, {"Familia: ", "DBEdit1", &DBEdit1},
        {"Util: ", "DBEdit5", &DBEdit5}, {"Hábitat: ", "DBEdit3", &DBEdit3}};
    int r = 1;
    for (const auto &row : rows) {
        props->addWidget(new QLabel(QString::fromUtf8(row.caption), PagProps), r, 0);
        *row.edit = named(new widgets::DBEdit(PagProps), row.name);
        props->addWidget(*row.edit, r, 1);
        ++r;
    }
    auto *lineaFin = named(new QFrame(PagProps), "LineaFin");
    lineaFin->setFrameShape(QFrame::HLine);
    props->addWidget(lineaFin, r, 0, 1, 2);
    FicPropAut->addWidget(PagProps);

    PagAut = named(new QWidget(FicPropAut), "PagAut");
    auto *aut = new QGridLayout(PagAut);
    aut->setContentsMargins(2, 2, 2, 2);
    aut->setVerticalSpacing(2);
    int row = 0;
    for (const char *field : {"Titulo", "Chino", "Autor", "Dinastia", "Clave"}) {
        const QString caption = QString::fromLatin1(field) == QLatin1String("Dinastia") ? QStringLiteral("Edicion") : QString::fromLatin1(field);
        aut->addWidget(new QLabel(caption + QStringLiteral(": "), PagAut), row, 0);
        auto *text = new widgets::DBText(PagAut);
        text->setObjectName(QStringLiteral("DBTextFuente%1").arg(QString::fromLatin1(field)));
        text->setProperty("field", QString::fromLatin1(field));
        SourceRows << text;
        aut->addWidget(text, row, 1);
        ++row;
    }
    aut->setRowStretch(row, 1);
    FicPropAut->addWidget(PagAut);
    FicPropAut->setFixedHeight(PagProps->sizeHint().height());
    return FicPropAut;
}

QWidget *TFPlantas::createNamesAndPhoto()
{
    PanCen = panel("PanCen");
    PanCen->setMinimumWidth(200);
    auto *cen = vbox(PanCen);

    Panel32 = panel("Panel32", PanCen);
    auto *p32 = hbox(Panel32, 2, 2);
    Label30 = label("Label30", QStringLiteral("Idiomas"), Panel32);
    QFont bold = Label30->font();
    bold.setBold(true);
    Label30->setFont(bold);
    Sinonimos = button("Sinonimos", QStringLiteral("Sinónimos"), Panel32);
    p32->addWidget(Label30, 1);
    p32->addWidget(Sinonimos);
    cen->addWidget(Panel32);

    PanIdiomas = panel("PanIdiomas", PanCen);
    auto *names = new QGridLayout(PanIdiomas);
    names->setContentsMargins(2, 0, 2, 2);
    names->setVerticalSpacing(1);
    names->setHorizontalSpacing(4);
    const char *captions[] = {"Pin Yin", "Farmac.", "Científico", "Español", "Inglés", "Francés",
                              "Italiano", "Alemán", "Portugués", "Catalán", "Gallego", "Vasco"};
    for (int i = 0; i < 12; ++i) {
        auto *l = new QLabel(QString::fromUtf8(captions[i]), PanIdiomas);
        l->setObjectName(QStringLiteral("LabIdioma%1").arg(i));
        auto *edit = new widgets::DBEdit(PanIdiomas);
        edit->setObjectName(i == 0 ? QStringLiteral("EdPinYin") : QStringLiteral("Ed%1").arg(i - 1));
        if (i == 0)
            EdPinYin = edit;
        else
            NameEdits << edit;
        names->addWidget(l, i, 0);
        names->addWidget(edit, i, 1);
    }
    names->setColumnStretch(1, 1);
    cen->addWidget(PanIdiomas);

    PanFoto = panel("PanFoto", PanCen);
    PanFoto->setFrameShape(QFrame::StyledPanel);
    auto *foto = vbox(PanFoto);
    Im = label("Im", QString(), PanFoto);
    Im->setAlignment(Qt::AlignCenter);
    Im->setMinimumSize(60, 60);
    Im->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    foto->addWidget(Im, 1);
    PanMort = panel("PanMort", PanFoto);
    ImMort = label("ImMort", QString(), PanMort);
    ImMort->setAlignment(Qt::AlignCenter);
    ImMort->setPixmap(Pictures::formulaPlaceholder());
    ImMort->setCursor(Qt::PointingHandCursor);
    ImMort->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    vbox(PanMort)->addWidget(ImMort);
    foto->addWidget(PanMort, 1);
    PanPlanta = panel("PanPlanta", PanFoto);
    ImPlanta = label("ImPlanta", QString(), PanPlanta);
    ImPlanta->setAlignment(Qt::AlignCenter);
    ImPlanta->setPixmap(Pictures::elementPlaceholder());
    ImPlanta->setCursor(Qt::PointingHandCursor);
    ImPlanta->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    vbox(PanPlanta)->addWidget(ImPlanta);
    foto->addWidget(PanPlanta, 1);
    PanBotIm = panel("PanBotIm", PanFoto);
    auto *botIm = hbox(PanBotIm, 2, 2);
    for (const char *name : {"Copiar", "Pegar", "Importar", "Borrar"})
        botIm->addWidget(button(name, QString::fromLatin1(name), PanBotIm));
    PanBotIm->hide();
    foto->addWidget(PanBotIm);
    cen->addWidget(PanFoto, 1);
    return PanCen;
}

QWidget *TFPlantas::createMemoArea()
{
    PanMemo = panel("PanMemo", PanDer);
    auto *memo = vbox(PanMemo);
    TabMemo = named(new QTabBar(PanMemo), "TabMemo");
    for (const char *caption : {"Descripción", "Advertencias", "Botica", "Notas", "Aplicación"})
        TabMemo->addTab(QString::fromUtf8(caption));
    TabMemo->setExpanding(false);
    memo->addWidget(TabMemo);

    Panel12 = panel("Panel12", PanMemo);
    auto *p12 = hbox(Panel12, 2, 2);
    Buscar = button("Buscar", QStringLiteral("Buscar"), Panel12);
    LabMemo = label("LabMemo", QStringLiteral("Descripción"), Panel12);
    QFont bold = LabMemo->font();
    bold.setBold(true);
    LabMemo->setFont(bold);
    p12->addWidget(Buscar);
    p12->addWidget(LabMemo, 1);
    memo->addWidget(Panel12);

    Memo = named(new widgets::DBMemo(PanMemo), "Memo");
    memo->addWidget(Memo, 1);

    ListaEsp = named(new QListWidget(PanMemo), "ListaEsp");
    ListaEsp->addItems(data::spanishTexts());
    ListaEsp->hide();
    ListaIng = named(new QListWidget(PanMemo), "ListaIng");
    ListaIng->addItems(data::englishTexts());
    ListaIng->hide();
    return PanMemo;
}

QWidget *TFPlantas::createClassStrips()
{
    Panel2 = panel("Panel2", PanDer);
    auto *strips = vbox(Panel2, 0, 1);
    PanClase = panel("PanClase", Panel2);
    auto *clase = hbox(PanClase, 2, 4);
    BotClase = button("BotClase", QStringLiteral("Clase"), PanClase);
    BotClase->setFixedWidth(60);
    LabClase = named(new widgets::DBText(PanClase), "LabClase");
    clase->addWidget(BotClase);
    clase->addWidget(LabClase, 1);
    PanSubClase = panel("PanSubClase", Panel2);
    auto *sub = hbox(PanSubClase, 2, 4);
    BotSubClase = button("BotSubClase", QStringLiteral("SubCl"), PanSubClase);
    BotSubClase->setFixedWidth(60);
    LabSubClase = named(new widgets::DBText(PanSubClase), "LabSubClase");
    sub->addWidget(BotSubClase);
    sub->addWidget(LabSubClase, 1);
    strips->addWidget(PanClase);
    strips->addWidget(PanSubClase);
    return Panel2;
}

QWidget *TFPlantas::createBottomPanel()
{
    PanBot = panel("PanBot", PanDer);
    PanBot->setFixedHeight(86);
    PanBot->setFrameShape(QFrame::StyledPanel);
    auto *bot = hbox(PanBot, 4, 6);
    auto *buttons = new QGridLayout();
    buttons->setSpacing(3);
    Enlaces = button("Enlaces", QStringLiteral("Enlaces"), PanBot);
    Color = button("Color", QStringLiteral("Color"), PanBot);
    Ayuda = button("Ayuda", QStringLiteral("Ayuda"), PanBot);
    Glosario = button("Glosario", QStringLiteral("Glosario"), PanBot);
    Bibliografia = button("Bibliografia", QStringLiteral("Bibliografía"), PanBot);
    Mas = button("Mas", QStringLiteral("A+"), PanBot);
    Menos = button("Menos", QStringLiteral("A-"), PanBot);
    Salir = button("Salir", QStringLiteral("Salir"), PanBot);
    // The text size buttons are small, so that the names and photo keep their design width
    // beside the memo.
    for (QPushButton *b : {Mas, Menos})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16);
    buttons->addWidget(Enlaces, 0, 0);
    buttons->addWidget(Color, 0, 1);
    buttons->addWidget(Ayuda, 0, 2);
    buttons->addWidget(Mas, 0, 3);
    buttons->addWidget(Glosario, 1, 0);
    buttons->addWidget(Bibliografia, 1, 1);
    buttons->addWidget(Salir, 1, 2);
    buttons->addWidget(Menos, 1, 3);
    bot->addLayout(buttons);
    bot->addStretch(1);

    PanLogoRec = panel("PanLogoRec", PanBot);
    auto *logo = new QGridLayout(PanLogoRec);
    logo->setContentsMargins(0, 0, 0, 0);
    logo->setSpacing(2);
    Image2 = label("Image2", QString(), PanLogoRec);
    Image2->setPixmap(Pictures::logo());
    Modificar = button("Modificar", QStringLiteral("Modificar"), PanLogoRec);
    Modificar->setCheckable(true);
    Label24 = label("Label24", QStringLiteral("info@herbaxis.org"), PanLogoRec);
    Label24->setCursor(Qt::PointingHandCursor);
    Label24->setToolTip(QStringLiteral("Pulse para escribir a los autores de Herbaxis"));
    logo->addWidget(Image2, 0, 0, 2, 1);
    logo->addWidget(Modificar, 0, 1);
    logo->addWidget(Label24, 1, 1);
    bot->addWidget(PanLogoRec);
    return PanBot;
}

QWidget *TFPlantas::createRelationPage(const char *pageName, const char *headerName, const QString &title,
                                       const char *buttonName, const QString &buttonText, widgets::DBGrid *&grid,
                                       const char *gridName, QPushButton *&buttonOut)
{
    auto *page = named(new QWidget(Ficha), pageName);
    auto *l = vbox(page);
    auto *header = panel(headerName, page);
    auto *h = hbox(header, 2, 4);
    auto *caption = new QLabel(title, header);
    caption->setObjectName(QString::fromLatin1(headerName) + QStringLiteral("Lab"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    h->addWidget(caption, 1);
    if (buttonName) {
        buttonOut = button(buttonName, buttonText, header);
        h->addWidget(buttonOut);
    }
    l->addWidget(header);
    grid = named(new widgets::DBGrid(page), gridName);
    grid->setTitles(false);
    l->addWidget(grid, 1);
    return page;
}

QWidget *TFPlantas::createRelationPages()
{
    PanFic = panel("PanFic");
    PanFic->setMinimumHeight(120);
    auto *fic = vbox(PanFic);
    Ficha = named(new QTabWidget(PanFic), "Ficha");
    QPushButton *none = nullptr;
    PagAcc = createRelationPage("PagAcc", "Panel25", QStringLiteral("Acciones Terapéuticas"), "DiagnosticarAcc",
                                QStringLiteral("Diagnosticar"), GrAcc, "GrAcc", DiagnosticarAcc);
    PagSint = createRelationPage("PagSint", "Panel26", QStringLiteral("Indicaciones"), "DiagnosticarInd",
                                 QStringLiteral("Diagnosticar"), GrSint, "GrSint", DiagnosticarInd);
    PagFormPl = createRelationPage("PagFormPl", "Panel27", QStringLiteral("Fórmulas"), "MostrarFor",
                                   QStringLiteral("Mostrar"), GrFormPl, "GrFormPl", MostrarFor);
    PagPlForm = createRelationPage("PagPlForm", "Panel30", QStringLiteral("Componentes de la Fórmula"), "MostrarIng",
                                   QStringLiteral("Mostrar"), GrPlForm, "GrPlForm", MostrarIng);
    PagComp = createRelationPage("PagComp", "Panel9", QStringLiteral("Componentes"), nullptr, QString(), GrComp,
                                 "GrComp", none);
    PagAcc->setProperty("tag", 1);
    PagSint->setProperty("tag", 2);
    PagFormPl->setProperty("tag", 6);
    PagPlForm->setProperty("tag", 7);
    MostrarFor->hide();
    MostrarIng->hide();
    Ficha->addTab(PagAcc, QStringLiteral("Acciones"));
    Ficha->addTab(PagSint, QStringLiteral("Indicaciones"));
    Ficha->addTab(PagFormPl, QStringLiteral("Fórmulas"));
    Ficha->addTab(PagPlForm, QStringLiteral("Fórmula"));
    // Pages the window carries but never shows.
    Ficha->addTab(PagComp, QStringLiteral("Componentes"));
    for (const char *name : {"PagReservada1", "PagReservada2"})
        Ficha->addTab(named(new QWidget(Ficha), name), QString());
    for (int i = 4; i < Ficha->count(); ++i)
        Ficha->setTabVisible(i, false);
    fic->addWidget(Ficha, 1);

    PanBotSint = panel("PanBotSint", PanFic);
    auto *cmd = hbox(PanBotSint, 2, 4);
    Cambiar = button("Cambiar", QStringLiteral("Cambiar"), PanBotSint);
    Agregar = button("Agregar", QStringLiteral("Agregar"), PanBotSint);
    Quitar = button("Quitar", QStringLiteral("Quitar"), PanBotSint);
    Porcentaje = button("Porcentaje", QStringLiteral("Porcentaje"), PanBotSint);
    Cambiar->setProperty("tag", int(RelationEdit::Change));
    Agregar->setProperty("tag", int(RelationEdit::Add));
    Quitar->setProperty("tag", int(RelationEdit::Remove));
    for (QPushButton *b : {Cambiar, Agregar, Quitar, Porcentaje})
        cmd->addWidget(b);
    cmd->addStretch(1);
    PanBotSint->hide();
    fic->addWidget(PanBotSint);
    return PanFic;
}

void TFPlantas::layoutPropertyPanels()
{
    // The channels take three sevenths of the width; tastes and natures share the rest, one above
    // the other.
    const int width = PanProp->width();
    const int height = PanProp->height();
    const int w = width * 3 / 7;
    PanCanales->setGeometry(0, 0, w, height);
    const int tasteHeight = height * 8 / 13;
    PanSabor->setGeometry(w, 0, width - w, tasteHeight);
    PanEnergia->setGeometry(w, tasteHeight, width - w, height - tasteHeight);
}

} // namespace mainwin
