#include "TFUsos.h"

#include "TFPlanRep.h"
#include "common/SchemeColors.h"
#include "common/AppContext.h"
#include "common/TFBarra.h"
#include "common/TFMensajes.h"
#include "data/InterfaceTexts.h"
#include "data/TDM.h"
#include "store/Error.h"
#include "store/Sql.h"
#include "text/TextFold.h"
#include "widgets/Toolkit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <unordered_map>

namespace repertory {

const KindRow CatalogueKinds[2] = {
    {"Usos.DB", "Rel.DB", "KUso", "OUso", "PorOUso", 12, 13, "A"},
    {"Sintomas.DB", "RelSint.DB", "KSint", "OSint", "PorOSint", 14, 15, "S"},
};

namespace {

using widgets::button;
using widgets::hbox;
using widgets::named;
using widgets::vbox;

QFrame *panel(const char *name, QWidget *parent)
{
    QFrame *f = widgets::panel(name, parent);
    f->setAutoFillBackground(true); // the colour schemes paint it
    return f;
}

QLabel *heading(const char *name, QWidget *parent)
{
    auto *l = named(new QLabel(parent), name);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSize(10);
    l->setFont(f);
    return l;
}

widgets::DBGrid *grid(const char *name, QWidget *parent)
{
    auto *g = named(new widgets::DBGrid(parent), name);
    g->setTitles(false);
    g->setShowGrid(false);
    return g;
}

} // namespace

TFUsos::TFUsos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FUsos"));
    setWindowTitle(QStringLiteral("Herbaxis"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setFont(QFont(QStringLiteral("Verdana"), 9));
    resize(1024, 700);
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    if (common::AppContext::exists()) {
        common::AppContext &context = common::AppContext::current();
        m_dm = context.DM;
        m_session = context.session;
    }
    createControls();
    if (m_session && m_dm) {
        TSel = new store::Table(*m_session, QStringLiteral("Selecc.db"), this);
        TSel->setObjectName(QStringLiteral("TSel"));
        TRep = new store::Table(*m_session, QStringLiteral("Repertor.DB"), this);
        TRep->setObjectName(QStringLiteral("TRep"));
        TRep->setIndexName(QStringLiteral("PorCant"));
        TRep->addLookupField(QStringLiteral("Planta"), QStringLiteral("KPlanta"), m_dm->TPlan, QStringLiteral("Clave"),
                             QStringLiteral("PinYin"), 50);
        TRep->addLookupField(QStringLiteral("Prop1"), QStringLiteral("KPlanta"), m_dm->TPlan, QStringLiteral("Clave"),
                             QStringLiteral("Meridianos"), 14);
        TRep->addLookupField(QStringLiteral("Prop2"), QStringLiteral("KPlanta"), m_dm->TPlan, QStringLiteral("Clave"),
                             QStringLiteral("Energia"), 10);
        TRep->addLookupField(QStringLiteral("Prop3"), QStringLiteral("KPlanta"), m_dm->TPlan, QStringLiteral("Clave"),
                             QStringLiteral("Sabor"), 10);
        Gr2->bind(TSel, {widgets::GridModel::Column{QStringLiteral("Nom"), QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()}});
        Gr4->bind(TRep, {widgets::GridModel::Column{QStringLiteral("Planta"), QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()},
                         widgets::GridModel::Column{QStringLiteral("Cant"), QString(), Qt::AlignRight | Qt::AlignVCenter, QString()}});
        Gr4->setColumnWidth(0, 370);
        Gr4->setColumnWidth(1, 29);
    }
    connectHandlers();
    // Filtrar lies over Todo and is as wide as the chart button.
    Filtrar->setFixedWidth(PlanRep->sizeHint().width());
    Filtrar->raise();
}

TFUsos::~TFUsos()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    for (store::Table *t : {TRel, Tabla, TSel, TRep})
        if (t) {
            store::ignoreStoreError([&] { t->close(); });
        }
}

// ---------------------------------------------------------------- layout

void TFUsos::createControls()
{
    auto *root = vbox(this, 0, 0);

    PanBot = panel("PanBot", this);
    PanBot->setFixedHeight(73);
    PanBot->setFrameShape(QFrame::StyledPanel);
    auto *band = hbox(PanBot, 4, 6);
    Panel8 = panel("Panel8", PanBot);
    Panel8->setFixedSize(90, 65);
    Image2 = named(new QLabel(Panel8), "Image2");
    Image2->setGeometry(0, 0, 90, 65);
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(48, 48));
    band->addWidget(Panel8);
    Cerrar = button("Cerrar", QStringLiteral("Cerrar"), PanBot);
    Color = button("Color", QStringLiteral("Color"), PanBot);
    SpeedButton1 = named(new QToolButton(PanBot), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("A+"));
    SpeedButton1->setToolTip(QStringLiteral("+"));
    SpeedButton2 = named(new QToolButton(PanBot), "SpeedButton2");
    SpeedButton2->setText(QStringLiteral("A-"));
    SpeedButton2->setToolTip(QStringLiteral("-"));
    Abrir = button("Abrir", QStringLiteral("Abrir"), PanBot);
    Guardar = button("Guardar", QStringLiteral("Guardar"), PanBot);
    for (QWidget *w : std::initializer_list<QWidget *>{Cerrar, Color, SpeedButton1, SpeedButton2, Abrir, Guardar})
        band->addWidget(w);
    band->addSpacing(8);

    auto *search = new QWidget(PanBot);
    auto *searchColumn = vbox(search, 0, 2);
    Label9 = named(new QLabel(QStringLiteral("Palabra/s a buscar"), search), "Label9");
    Ed = named(new QLineEdit(search), "Ed");
    Ed->setMinimumWidth(220);
    searchColumn->addWidget(Label9);
    searchColumn->addWidget(Ed);
    band->addWidget(search, 1);

    RGBus = named(new QGroupBox(QStringLiteral(" Buscar por: "), PanBot), "RGBus");
    auto *modes = new QGridLayout(RGBus);
    modes->setContentsMargins(6, 2, 6, 2);
    modes->setVerticalSpacing(0);
    RGBusGroup = new QButtonGroup(this);
    const char *modeNames[] = {"Letras iniciales", "Cualquier palabra", "Todas las palabras", "Texto Exacto"};
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(QString::fromUtf8(modeNames[i]), RGBus);
        r->setObjectName(QStringLiteral("RGBus%1").arg(i));
        RGBusGroup->addButton(r, i);
        modes->addWidget(r, i % 2, i / 2); // two columns, filled top to bottom
    }
    RGBusGroup->button(0)->setChecked(true);
    band->addWidget(RGBus);

    Modificar = button("Modificar", QStringLiteral("Modificar"), PanBot);
    Modificar->setCheckable(true);
    Modificar->setStyleSheet(QStringLiteral("QPushButton { color: red; font-weight: bold; }"));
    band->addWidget(Modificar);
    PanPac = panel("PanPac", PanBot);
    auto *pac = vbox(PanPac, 0, 2);
    ChPac = named(new QCheckBox(QStringLiteral("Paciente:"), PanPac), "ChPac");
    LabPac = named(new QLabel(PanPac), "LabPac");
    pac->addWidget(ChPac);
    pac->addWidget(LabPac);
    PanPac->hide(); // shown when a patient is handed over
    band->addWidget(PanPac);
    root->addWidget(PanBot);

    Splitter1 = named(new QSplitter(Qt::Horizontal, this), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    root->addWidget(Splitter1, 1);

    // Left column: the catalogue above, the selection below.
    PanIzq = panel("PanIzq", Splitter1);
    auto *left = vbox(PanIzq, 0, 0);
    Splitter3 = named(new QSplitter(Qt::Vertical, PanIzq), "Splitter3");
    Splitter3->setChildrenCollapsible(false);
    left->addWidget(Splitter3);

    PanSupIzq = panel("PanSupIzq", Splitter3);
    auto *catalogue = vbox(PanSupIzq, 0, 0);
    Panel2 = panel("Panel2", PanSupIzq);
    auto *catalogueHead = hbox(Panel2, 3, 4);
    Lab1 = heading("Lab1", Panel2);
    Agregar = button("Agregar", QStringLiteral("Agregar"), Panel2);
    VerTodas = button("VerTodas", QStringLiteral("Ver todas"), Panel2);
    VerTodas->hide();
    catalogueHead->addWidget(Lab1, 1);
    catalogueHead->addWidget(VerTodas);
    catalogueHead->addWidget(Agregar);
    catalogue->addWidget(Panel2);
    PanEdNom = panel("PanEdNom", PanSupIzq);
    PanEdNom->setFixedHeight(30);
    PanEdNom->hide(); // catalogue editing
    catalogue->addWidget(PanEdNom);
    Gr1 = grid("Gr1", PanSupIzq);
    catalogue->addWidget(Gr1, 1);

    PanSel = panel("PanSel", Splitter3);
    auto *selection = vbox(PanSel, 0, 0);
    Panel4 = panel("Panel4", PanSel);
    auto *selectionHead = hbox(Panel4, 3, 4);
    Lab2 = heading("Lab2", Panel4);
    Quitar = button("Quitar", QStringLiteral("Quitar"), Panel4);
    Iniciar = button("Iniciar", QStringLiteral("Reiniciar"), Panel4);
    selectionHead->addWidget(Lab2, 1);
    selectionHead->addWidget(Quitar);
    selectionHead->addWidget(Iniciar);
    selection->addWidget(Panel4);
    Gr2 = grid("Gr2", PanSel);
    Gr2->verticalHeader()->hide();
    selection->addWidget(Gr2, 1);
    Panel5 = panel("Panel5", PanSel);
    Panel5->setFixedHeight(31);
    // Todo sits under Filtrar; the property filter shows one or the other.
    Todo = button("Todo", QStringLiteral("Todo"), Panel5);
    Filtrar = button("Filtrar", QStringLiteral("Filtrar"), Panel5);
    Todo->move(3, 3);
    Filtrar->move(3, 3);
    selection->addWidget(Panel5);
    Splitter3->addWidget(PanSupIzq);
    Splitter3->addWidget(PanSel);
    Splitter3->setStretchFactor(0, 3);
    Splitter3->setStretchFactor(1, 2);

    // Right column: the plants of the current item above, the repertory below.
    PanDer = panel("PanDer", Splitter1);
    auto *right = vbox(PanDer, 0, 0);
    Splitter2 = named(new QSplitter(Qt::Vertical, PanDer), "Splitter2");
    Splitter2->setChildrenCollapsible(false);
    right->addWidget(Splitter2);

    PanPlantas = panel("PanPlantas", Splitter2);
    auto *plants = vbox(PanPlantas, 0, 0);
    Panel6 = panel("Panel6", PanPlantas);
    auto *plantsHead = hbox(Panel6, 3, 4);
    Lab3 = heading("Lab3", Panel6);
    plantsHead->addWidget(Lab3, 1);
    Panel6->setMinimumHeight(Panel2->sizeHint().height());
    plants->addWidget(Panel6);
    Gr3 = grid("Gr3", PanPlantas);
    Gr3->verticalHeader()->hide();
    plants->addWidget(Gr3, 1);
    PanBotPlan = panel("PanBotPlan", PanPlantas);
    PanBotPlan->setFixedHeight(31);
    PanBotPlan->hide(); // editing of relations
    plants->addWidget(PanBotPlan);

    PanRep = panel("PanRep", Splitter2);
    auto *repertoryColumn = vbox(PanRep, 0, 0);
    Panel7 = panel("Panel7", PanRep);
    auto *repertoryHead = hbox(Panel7, 3, 4);
    Lab4 = heading("Lab4", Panel7);
    repertoryHead->addWidget(Lab4, 1);
    Panel7->setMinimumHeight(Panel4->sizeHint().height());
    repertoryColumn->addWidget(Panel7);
    Gr4 = grid("Gr4", PanRep);
    Gr4->verticalHeader()->hide();
    repertoryColumn->addWidget(Gr4, 1);
    PanMosFic = panel("PanMosFic", PanRep);
    PanMosFic->setFixedHeight(31);
    auto *results = hbox(PanMosFic, 3, 4);
    PlanRep = button("PlanRep", QStringLiteral("Planilla"), PanMosFic);
    BotCopiar = button("BotCopiar", QStringLiteral("Copiar"), PanMosFic);
    BotMosFic = button("BotMosFic", QStringLiteral("Ficha"), PanMosFic);
    results->addWidget(PlanRep);
    results->addWidget(BotCopiar);
    results->addWidget(BotMosFic);
    results->addStretch(1);
    repertoryColumn->addWidget(PanMosFic);
    Splitter2->addWidget(PanPlantas);
    Splitter2->addWidget(PanRep);
    Splitter2->setStretchFactor(0, 3);
    Splitter2->setStretchFactor(1, 2);

    Splitter1->addWidget(PanIzq);
    Splitter1->addWidget(PanDer);
    Splitter1->setSizes({480, 544});
    Splitter2->setSizes({360, 260});
    Splitter3->setSizes({360, 260});

    for (QWidget *w : std::initializer_list<QWidget *>{Panel1 = panel("Panel1", this)})
        w->hide(); // the frame of the patient's name, shown with a hand-off
}

void TFUsos::connectHandlers()
{
    connect(Cerrar, &QPushButton::clicked, this, &TFUsos::CerrarClick);
    connect(Color, &QPushButton::clicked, this, &TFUsos::ColorClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFUsos::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFUsos::SpeedButton2Click);
    connect(Abrir, &QPushButton::clicked, this, &TFUsos::AbrirClick);
    connect(Guardar, &QPushButton::clicked, this, &TFUsos::GuardarClick);
    connect(Modificar, &QPushButton::clicked, this, &TFUsos::ModificarClick);
    connect(Ed, &QLineEdit::textChanged, this, [this](const QString &text) {
        // The search box takes its input in capitals.
        const QString upper = text.toUpper();
        if (upper != text) {
            const int caret = Ed->cursorPosition();
            Ed->setText(upper);
            Ed->setCursorPosition(caret);
            return;
        }
        EdChange();
    });
    connect(RGBusGroup, &QButtonGroup::idClicked, this, &TFUsos::RGBusClick);
    connect(VerTodas, &QPushButton::clicked, this, &TFUsos::VerTodasClick);
    connect(Agregar, &QPushButton::clicked, this, &TFUsos::AgregarClick);
    connect(Quitar, &QPushButton::clicked, this, &TFUsos::QuitarClick);
    connect(Iniciar, &QPushButton::clicked, this, &TFUsos::IniciarClick);
    connect(Filtrar, &QPushButton::clicked, this, &TFUsos::FiltrarClick);
    connect(Todo, &QPushButton::clicked, this, &TFUsos::TodoClick);
    connect(PlanRep, &QPushButton::clicked, this, &TFUsos::PlanRepClick);
    connect(BotCopiar, &QPushButton::clicked, this, &TFUsos::BotCopiarClick);
    connect(BotMosFic, &QPushButton::clicked, this, &TFUsos::BotMosFicClick);
    connect(Gr1, &QAbstractItemView::doubleClicked, this, &TFUsos::AgregarClick);
    connect(Gr2, &QAbstractItemView::doubleClicked, this, &TFUsos::QuitarClick);
    connect(Gr4, &QAbstractItemView::doubleClicked, this, &TFUsos::BotMosFicClick);
    connect(Splitter1, &QSplitter::splitterMoved, this, &TFUsos::Splitter1Moved);
    connect(Splitter2, &QSplitter::splitterMoved, this, &TFUsos::Splitter2Moved);
    connect(Splitter3, &QSplitter::splitterMoved, this, &TFUsos::Splitter3Moved);
    connect(qApp, &QApplication::focusChanged, this, &TFUsos::focusChanged);
    Ed->installEventFilter(this);
    Gr1->installEventFilter(this);
}

void TFUsos::ApplyEnglish()
{
    Cerrar->setText(QStringLiteral("Close"));
    Abrir->setText(QStringLiteral("Open"));
    Guardar->setText(QStringLiteral("Save"));
    Label9->setText(QStringLiteral("Word/s to find"));
    RGBus->setTitle(QStringLiteral(" Search for: "));
    const char *modeNames[] = {"Initial letters", "Any word", "Every word", "Exact text"};
    for (int i = 0; i < 4; ++i)
        RGBusGroup->button(i)->setText(QString::fromLatin1(modeNames[i]));
    Agregar->setText(QStringLiteral("Add"));
    VerTodas->setText(QStringLiteral("Show all"));
    Quitar->setText(QStringLiteral("Remove"));
    Iniciar->setText(QStringLiteral("Reset"));
    Filtrar->setText(QStringLiteral("Filter"));
    Todo->setText(QStringLiteral("All"));
    PlanRep->setText(QStringLiteral("Show Grid"));
    BotCopiar->setText(QStringLiteral("Copy"));
    BotMosFic->setText(QStringLiteral("Show Data"));
    // The catalogue is searched, shown and ordered by its English names from now on.
    if (Tabla) {
        Tabla->setIndexName(nameIndex());
        bindGrids();
    }
}

void TFUsos::ApplyColorScheme()
{
    for (QWidget *w : std::initializer_list<QWidget *>{Panel2, Panel4, Panel5, Panel6, Panel7, PanBot, PanBotPlan, PanMosFic, Panel8})
        common::PaintBackground(w, common::SchemeTint(common::Tint::Panel));
    for (QWidget *w : std::initializer_list<QWidget *>{Panel1, Gr1, Gr2, Gr3, Gr4})
        common::PaintBackground(w, common::SchemeTint(common::Tint::Light));
}

void TFUsos::ApplyTextSize()
{
    const int size = common::AppContext::exists() ? std::max(common::AppContext::current().TextSize, 10) : 10;
    for (widgets::DBGrid *g : {Gr1, Gr2, Gr3, Gr4}) {
        QFont f = g->font();
        f.setPointSize(size);
        g->setFont(f);
        g->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 4);
    }
}

// ---------------------------------------------------------------- opening and kinds

QString TFUsos::nameField() const
{
    return m_dm ? m_dm->Texts.value(data::Txt::NameField, QStringLiteral("Nom")) : QStringLiteral("Nom");
}

QString TFUsos::nameIndex() const
{
    return QStringLiteral("Por") + nameField();
}

void TFUsos::bindGrids()
{
    if (Tabla)
        Gr1->bind(Tabla, {widgets::GridModel::Column{nameField(), QStringLiteral("Descripción de los Síntomas"),
                                                     Qt::AlignLeft | Qt::AlignVCenter, QString()}});
    if (TRel)
        Gr3->bind(TRel, {widgets::GridModel::Column{QStringLiteral("Planta"), QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()}});
}

void TFUsos::configureKind(int kind)
{
    const KindRow &k = CatalogueKinds[kind == 1 ? 1 : 0];
    for (store::Table *t : {TRel, Tabla, TSel, TRep})
        if (t)
            t->close();
    // The catalogue and its relation table are different tables for each kind: new cursors.
    Gr1->bind(nullptr, {});
    Gr3->bind(nullptr, {});
    delete TRel;
    delete Tabla;
    Tabla = new store::Table(*m_session, QString::fromLatin1(k.catalogueTable), this);
    Tabla->setObjectName(QStringLiteral("Tabla"));
    Tabla->setIndexName(nameIndex());
    Tabla->setFiltered(true);
    Tabla->afterScroll = [this](store::Table &) { TablaAfterScroll(); };
    TRel = new store::Table(*m_session, QString::fromLatin1(k.relationTable), this);
    TRel->setObjectName(QStringLiteral("TRel"));
    TRel->setIndexName(QString::fromLatin1(k.relationIndex));
    TRel->setMaster(Tabla, QStringLiteral("Orden"));
    const QString plantName = AppliedNameLanguage < 0 ? QStringLiteral("PinYin") : QStringLiteral("Nom%1").arg(AppliedNameLanguage);
    TRel->addLookupField(QStringLiteral("Planta"), QStringLiteral("KPlanta"), m_dm->TPlan, QStringLiteral("Clave"), plantName, 50);
    TRel->onPostError = [this](store::Table &t, const store::Error &e, store::Table::PostAction &action) {
        m_dm->TRelPostError(t, e, action); // "Registro repetido", as every relation table answers
    };
    TRep->setLookupResultField(QStringLiteral("Planta"), plantName);

    ItemNoun = m_dm->Texts.value(k.itemNoun);
    CatalogueTitle = m_dm->Texts.value(k.catalogueTitle);
    FilePrefix = QString::fromLatin1(k.filePrefix);

    // The plants of the item stand as high as the catalogue beside them.
    QList<int> sizes = Splitter2->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    const int upper = Splitter3->sizes().value(0);
    if (total > upper)
        Splitter2->setSizes({upper, total - upper});

    Tabla->open();
    TRel->open();
    TSel->emptyTable();
    TRep->emptyTable();
    TSel->open();
    TRep->open();
    bindGrids();
    setWindowTitle(QStringLiteral("Herbaxis: %1 %2").arg(m_dm->Texts.value(data::Txt::SearchBy), CatalogueTitle));
}

void TFUsos::OpenCatalogue(CatalogueKind kind, bool reload)
{
    if (!m_dm || !m_session) {
        show();
        return;
    }
    SyncPlantNames();
    if (reload) {
        configureKind(int(kind));
        m_kind = int(kind);
        ++m_loads;
    }
    ReadPatientHandOff();
    show(); // FormShow runs
    raise();
    activateWindow();
}

void TFUsos::SyncPlantNames()
{
    if (!m_dm)
        return;
    const int n = m_dm->mainWindow().namingLanguage();
    if (n - 1 == AppliedNameLanguage)
        return;
    const QString field = n == 0 ? QStringLiteral("PinYin") : QStringLiteral("Nom%1").arg(n - 1);
    const bool relOpen = TRel && TRel->isOpen();
    if (TRel)
        TRel->close();
    TRep->close();
    if (TRel)
        TRel->setLookupResultField(QStringLiteral("Planta"), field);
    TRep->setLookupResultField(QStringLiteral("Planta"), field);
    if (relOpen) {
        TRel->open();
        TRep->open();
    }
    AppliedNameLanguage = n - 1;
}

void TFUsos::ReadPatientHandOff()
{
    // The patient handed over by the clinic program comes with the saved repertories.
}

// ---------------------------------------------------------------- showing and closing

void TFUsos::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFUsos::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // The name columns keep filling their grids as the window is resized.
    Splitter1Moved();
}

void TFUsos::FormShow()
{
    Modificar->setChecked(false);
    ModificarClick();
    RGBusGroup->button(0)->setChecked(true);
    if (Ed->text().isEmpty())
        EdChange();
    else
        Ed->clear();
    RefreshState();
    for (widgets::DBGrid *g : {Gr1, Gr2, Gr3, Gr4})
        widgets::FitFirstColumn(g);
    Ed->setFocus();
    Modified = false;
}

bool TFUsos::FormCloseQuery()
{
    if (!Modified)
        return true;
    switch (common::AskYesNoCancel(m_dm ? m_dm->Texts.value(data::Txt::SaveChanges) : QString())) {
    case common::MessageResult::Cancel:
        return false;
    case common::MessageResult::Yes:
        GuardarClick();
        return true;
    default:
        return true;
    }
}

void TFUsos::FormClose()
{
    if (Ed->text().isEmpty())
        EdChange();
    else
        Ed->clear();
    Ed->setFocus();
}

void TFUsos::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept(); // hidden now; the dialog's own handling would reject, which closes again
}

void TFUsos::reject()
{
    close(); // Esc closes the window the way Cerrar does, with the question
}

void TFUsos::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    emit hidden();
}

void TFUsos::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Minimising this window minimises the program: the main window is out of sight meanwhile.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->objectName() == QLatin1String("FPlantas"))
                w->showMinimized();
}

void TFUsos::CerrarClick()
{
    close();
}

// ---------------------------------------------------------------- state

void TFUsos::RefreshState()
{
    if (!TSel || !TRep)
        return;
    QWidget *focus = focusWidget();
    const int selected = TSel->recordCount();
    Agregar->setVisible(Tabla && Tabla->recordCount() > 0);
    Quitar->setVisible(focus == Gr2 && selected > 0);
    Iniciar->setVisible(selected > 0);
    BotCopiar->setVisible(selected > 0);
    PlanRep->setVisible(selected > 0);
    BotMosFic->setVisible((focus == Gr4 || focus == BotMosFic) && TRep->recordCount() > 0);
    const auto caption = [](QLabel *label, const std::function<QString()> &text) {
        store::ignoreStoreError([&] { label->setText(text()); }); // the caption keeps what it showed
    };
    caption(Lab1, [&] { return QStringLiteral("%1: %2").arg(CatalogueTitle).arg(Tabla ? Tabla->recordCount() : 0); });
    caption(Lab2, [&] { return QStringLiteral("%1: %2 ").arg(m_dm->Texts.value(data::Txt::RepertorizedItems)).arg(selected); });
    caption(Lab3, [&] { return QStringLiteral("%1: %2").arg(m_dm->Texts.value(data::Txt::Elements)).arg(TRel ? TRel->recordCount() : 0); });
    caption(Lab4, [&] { return QStringLiteral("%1: %2").arg(m_dm->Texts.value(data::Txt::StoredElements)).arg(TRep->recordCount()); });
    // A grid that has just grown a scroll bar keeps its last column in view.
    Splitter1Moved();
}

void TFUsos::focusChanged(QWidget *old, QWidget *now)
{
    if (!isVisible() || !TSel)
        return;
    if (now == Gr1 || now == Gr2 || now == Gr4) {
        RefreshState();
        if (TSel->recordCount() == 0 && now != Gr1)
            Gr1->setFocus();
    }
    if (old == Gr4)
        RefreshState();
}

// ---------------------------------------------------------------- search

int TFUsos::searchMode() const
{
    return std::max(RGBusGroup->checkedId(), 0);
}

void TFUsos::SplitSearchWords(const QString &text, QStringList &words)
{
    words.clear();
    QString word;
    for (QChar c : text) {
        if (c == QLatin1Char(' ')) {
            if (!word.isEmpty())
                words << text::FoldUpper(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << text::FoldUpper(word);
}

bool TFUsos::TablaFilterRecord(const store::Table &row) const
{
    if (SearchWords.isEmpty())
        return true;
    const QString t = text::FoldUpper(row.text(nameField()));
    switch (searchMode()) {
    case 1:
        for (const QString &w : SearchWords)
            if (t.contains(w))
                return true;
        return false;
    case 2:
        for (const QString &w : SearchWords)
            if (!t.contains(w))
                return false;
        return true;
    case 3:
        return t.contains(text::FoldUpper(Ed->text()));
    default:
        return true;
    }
}

void TFUsos::EdChange()
{
    if (!Tabla || !Tabla->isOpen()) {
        RefreshState();
        return;
    }
    if (searchMode() == 0) {
        if (Tabla->filterRecord) {
            Tabla->filterRecord = nullptr;
            Tabla->refresh();
        }
        Tabla->findNearest(Ed->text());
        VerTodas->hide();
    } else {
        SplitSearchWords(Ed->text(), SearchWords);
        Tabla->filterRecord = [this](const store::Table &row) { return TablaFilterRecord(row); };
        Tabla->refresh();
        VerTodas->setVisible(!Ed->text().isEmpty());
    }
    RefreshState();
}

void TFUsos::RGBusClick()
{
    EdChange();
    Ed->setFocus();
}

void TFUsos::VerTodasClick()
{
    Ed->clear();
    Gr1->setFocus();
}

void TFUsos::TablaAfterScroll()
{
    store::ignoreStoreError([&] {
        Lab3->setText(QStringLiteral("%1: %2").arg(m_dm->Texts.value(data::Txt::Elements)).arg(TRel ? TRel->recordCount() : 0));
    });
}

bool TFUsos::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        if (watched == Ed && (k == Qt::Key_Escape || k == Qt::Key_Up || k == Qt::Key_Down)) {
            Gr1->setFocus();
            return true;
        }
        if (watched == Gr1) {
            if (k == Qt::Key_Escape) {
                close();
                return true;
            }
            const bool keypad = key->modifiers() & Qt::KeypadModifier;
            if (!keypad && ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))) {
                Ed->setFocus();
                Ed->setText(QString(QChar(char16_t(k))));
                Ed->setCursorPosition(int(Ed->text().size()));
                return true;
            }
            // Insert and Delete edit the catalogue in editing mode.
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- adding and removing

int TFUsos::itemOrderOf(int key) const
{
    store::Database &db = Tabla->database();
    store::Statement &q = db.cached(QStringLiteral("SELECT Orden FROM %1 WHERE Clave=?").arg(store::quoted(Tabla->tableName())));
    q.bind(1, key);
    int order = 0;
    bool found = q.step();
    if (found)
        order = q.value(0).toInt();
    q.reset();
    return found ? order : -1;
}

void TFUsos::applyCountChange(const QString &sql, int itemOrder)
{
    store::Database &db = TRep->database();
    store::Statement &q = db.cached(sql);
    q.bind(1, itemOrder);
    try {
        q.run();
    } catch (...) {
        q.reset();
        throw;
    }
    q.reset();
    db.tableReset(TRep->tableName());
}

void TFUsos::AddToRepertory(int itemOrder)
{
    // Every relation row of the item raises its plant's count by one: one statement over the
    // item's rows (found through the relation index), each plant's record found by its key. A
    // plant met for the first time keeps its property strings as they are now.
    const QString sql = QStringLiteral(
        "INSERT INTO %1 (KPlanta, Cant, P1, P2, P3) "
        "SELECT d.k, d.n, substr(p.Meridianos, 1, 14), substr(p.Energia, 1, 10), substr(p.Sabor, 1, 10) "
        "FROM (SELECT KPlanta AS k, count(*) AS n FROM %2 WHERE %3=? AND KPlanta IS NOT NULL GROUP BY KPlanta) AS d "
        "LEFT JOIN %4 AS p ON p.Clave=d.k WHERE 1 "
        "ON CONFLICT(KPlanta) DO UPDATE SET Cant=Cant+excluded.Cant")
                            .arg(store::quoted(TRep->tableName()), store::quoted(TRel->tableName()),
                                 store::quoted(QString::fromLatin1(CatalogueKinds[m_kind == 1 ? 1 : 0].itemOrderField)),
                                 store::quoted(m_dm->TPlan->tableName()));
    applyCountChange(sql, itemOrder);
}

void TFUsos::RemoveFromRepertory(int itemOrder)
{
    const QString rep = store::quoted(TRep->tableName());
    const QString rel = store::quoted(TRel->tableName());
    const QString order = store::quoted(QString::fromLatin1(CatalogueKinds[m_kind == 1 ? 1 : 0].itemOrderField));
    // Counts stop at 0 and a record at 0 goes; a plant without a record is skipped.
    applyCountChange(QStringLiteral("UPDATE %1 SET Cant=max(%1.Cant-d.n, 0) "
                                    "FROM (SELECT KPlanta AS k, count(*) AS n FROM %2 WHERE %3=? GROUP BY KPlanta) AS d "
                                    "WHERE %1.KPlanta=d.k")
                         .arg(rep, rel, order),
                     itemOrder);
    applyCountChange(QStringLiteral("DELETE FROM %1 WHERE Cant<=0 AND KPlanta IN (SELECT KPlanta FROM %2 WHERE %3=?)").arg(rep, rel, order),
                     itemOrder);
}

void TFUsos::AgregarClick()
{
    Gr1->setFocus();
    if (Agregar->isHidden() || !Tabla || !Tabla->isOpen() || Tabla->recordCount() == 0)
        return;
    if (TRel->recordCount() == 0) {
        common::ShowMessageBox(QStringLiteral("Sin Plantas"));
        return;
    }
    const int key = Tabla->asInt(QStringLiteral("Clave"));
    const QString name = Tabla->text(nameField());
    store::Database &db = TSel->database();
    {
        store::Statement &q = db.cached(QStringLiteral("SELECT 1 FROM %1 WHERE Num=? LIMIT 1").arg(store::quoted(TSel->tableName())));
        q.bind(1, key);
        const bool present = q.step();
        q.reset();
        if (present) {
            common::ShowMessageBox(QStringLiteral("%1 \r\"%2\"\r%3.").arg(ItemNoun, name, m_dm->Texts.value(data::Txt::AlreadyInList)));
            return;
        }
    }
    const int order = Tabla->asInt(QStringLiteral("Orden"));
    // The item and its counts are written together or not at all.
    db.begin();
    try {
        TSel->append();
        TSel->setValue(QStringLiteral("Num"), key);
        TSel->setValue(QStringLiteral("Nom"), name);
        TSel->post();
        AddToRepertory(order);
        db.commit();
    } catch (const store::Error &e) {
        db.rollback();
        db.tableReset(TSel->tableName());
        db.tableReset(TRep->tableName());
        TSel->cancel();
        TSel->refresh();
        TRep->refresh();
        RefreshState();
        common::ShowMessageBox(e.message());
        return;
    }
    TSel->last();
    TRep->refresh();
    TRep->first();
    RefreshState();
    Modified = true;
}

void TFUsos::QuitarClick()
{
    Gr2->setFocus();
    if (!TSel || !TSel->isOpen() || TSel->recordCount() == 0 || !Tabla)
        return;
    const int key = TSel->asInt(QStringLiteral("Num"));
    // The catalogue goes to the item when the search shows it, found by its key in the name order
    // in force (switching to the primary order and back would re-sort the whole catalogue twice);
    // the relation rows counted down are the item's even when the search hides it.
    Tabla->locate(QStringLiteral("Clave"), key);
    const int order = itemOrderOf(key);
    store::Database &db = TSel->database();
    db.begin();
    try {
        if (order >= 0)
            RemoveFromRepertory(order);
        TSel->remove();
        db.commit();
    } catch (const store::Error &e) {
        db.rollback();
        db.tableReset(TSel->tableName());
        db.tableReset(TRep->tableName());
        TSel->refresh();
        TRep->refresh();
        RefreshState();
        common::ShowMessageBox(e.message());
        return;
    }
    TRep->refresh();
    RefreshState();
    Modified = true;
    if (TSel->recordCount() == 0)
        Gr1->setFocus();
}

void TFUsos::IniciarClick()
{
    if (!common::AskYesNo(m_dm->Texts.value(data::Txt::NewRepertorization)))
        return;
    TSel->close();
    TRep->close();
    TSel->emptyTable();
    TRep->emptyTable();
    TSel->open();
    TRep->open();
    RefreshState();
    // The property filter's ticks are cleared here once the property filter dialog exists.
}

// ---------------------------------------------------------------- actions on the result

void TFUsos::FiltrarClick()
{
    // Restricting the repertory by properties comes with the property filter dialog.
}

void TFUsos::TodoClick()
{
    TRep->filterRecord = nullptr;
    TRep->setFiltered(false);
    RefreshState();
}

bool TFUsos::TRepFilterRecord(const store::Table &) const
{
    return true;
}

void TFUsos::BotMosFicClick()
{
    // Showing the plant's record in the main window comes with the result actions.
}

void TFUsos::BotCopiarClick()
{
    // Copying the ranked list comes with the result actions.
}

void TFUsos::AbrirClick()
{
    // Saved repertories: opened here once they exist.
}

void TFUsos::GuardarClick()
{
    // Saved repertories: written here once they exist.
}

void TFUsos::ColorClick()
{
    if (common::AppContext::exists()) {
        int &scheme = common::AppContext::current().ColorScheme;
        scheme = scheme % 5 + 1;
    }
    ApplyColorScheme();
}

void TFUsos::SpeedButton1Click()
{
    if (common::AppContext::exists())
        common::AppContext::current().TextSize = Gr1->font().pointSize() + 1;
    ApplyTextSize();
}

void TFUsos::SpeedButton2Click()
{
    if (Gr1->font().pointSize() <= 10)
        return;
    if (common::AppContext::exists())
        common::AppContext::current().TextSize = Gr1->font().pointSize() - 1;
    ApplyTextSize();
}

void TFUsos::ModificarClick()
{
    // Editing mode shows the catalogue's and the relations' editing panels.
    const bool editing = Modificar->isChecked();
    PanEdNom->setVisible(editing);
    PanBotPlan->setVisible(editing);
}

void TFUsos::Splitter1Moved()
{
    for (widgets::DBGrid *g : {Gr1, Gr2, Gr3, Gr4})
        widgets::FitFirstColumn(g);
}

void TFUsos::Splitter2Moved()
{
    const QList<int> right = Splitter2->sizes();
    const QList<int> left = Splitter3->sizes();
    const int total = left.value(0) + left.value(1);
    Splitter3->setSizes({right.value(0), std::max(total - right.value(0), 0)});
}

void TFUsos::Splitter3Moved()
{
    const QList<int> left = Splitter3->sizes();
    const QList<int> right = Splitter2->sizes();
    const int total = right.value(0) + right.value(1);
    Splitter2->setSizes({left.value(0), std::max(total - left.value(0), 0)});
}

// ---------------------------------------------------------------- the chart

void TFUsos::PlanRepClick()
{
    auto *chart = common::AppContext::exists() ? qobject_cast<TFPlanRep *>(common::AppContext::current().FPlanRep) : nullptr;
    if (!chart || !BuildChart())
        return;
    // The chart takes this window's place while it is shown.
    chart->setGeometry(geometry());
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    const QPoint home = pos();
    move(screen.width(), y());
    chart->FitLayout();
    chart->exec();
    setGeometry(chart->geometry());
    if (pos().x() >= screen.width())
        move(home);
}

bool TFUsos::BuildChart()
{
    auto *chartWindow = common::AppContext::exists() ? qobject_cast<TFPlanRep *>(common::AppContext::current().FPlanRep) : nullptr;
    if (!chartWindow || !TSel || !TRep || !TRel)
        return false;
    Gr1->setFocus();
    ChartData chart;
    QStringList references;
    // Item key -> its column; the walk of the selection reads rows without moving the cursor.
    std::unordered_map<int, int> column;
    chart.items = TSel->recordCount();
    for (int i = 0; i < chart.items; ++i) {
        const int key = TSel->valueAt(i, QStringLiteral("Num")).toInt();
        column.emplace(key, i);
        references << QStringLiteral("%1: %2").arg(i + 1).arg(TSel->valueAt(i, QStringLiteral("Nom")).toString());
    }

    // Each plant's relation rows are read once through the relation table's key on the plant; a
    // row of a selected item is a mark. That is the plant-and-item lookup of every cell, and the
    // relation cursor itself stays linked to the catalogue throughout.
    const QString keyField = QString::fromLatin1(CatalogueKinds[m_kind == 1 ? 1 : 0].itemKeyField);
    store::Database &db = TRel->database();
    store::Statement &q = db.cached(QStringLiteral("SELECT %1 FROM %2 WHERE KPlanta=?").arg(store::quoted(keyField), store::quoted(TRel->tableName())));

    // The names and counts of the charted plants in two reads, not one lookup per row: the plant
    // table is not filtered while this window shows, so its record of each key is the one the
    // repertory grid's lookup shows.
    const QString nameColumn = AppliedNameLanguage < 0 ? QStringLiteral("PinYin") : QStringLiteral("Nom%1").arg(AppliedNameLanguage);
    std::unordered_map<int, QString> plantNames;
    std::unordered_map<int, QString> plantCounts;
    {
        store::Statement names(db.handle(), QStringLiteral("SELECT p.Clave, p.%1 FROM %2 AS p WHERE p.Clave IN (SELECT KPlanta FROM %3)")
                                                  .arg(store::quoted(nameColumn), store::quoted(m_dm->TPlan->tableName()),
                                                       store::quoted(TRep->tableName())));
        while (names.step())
            plantNames.emplace(int(names.int64(0)), names.value(1).toString());
        store::Statement counts(db.handle(), QStringLiteral("SELECT KPlanta, Cant FROM %1").arg(store::quoted(TRep->tableName())));
        while (counts.step())
            plantCounts.emplace(int(counts.int64(0)), counts.value(1).toString());
    }

    const int rows = TRep->recordCount();
    common::ProgressStart(m_dm->Texts.value(data::Txt::Processing), m_dm->Texts.value(data::Txt::CancelQuestion), rows);
    TRep->disableControls();
    bool cancelled = false;
    chart.names.reserve(size_t(rows));
    chart.counts.reserve(size_t(rows));
    chart.marks.assign(size_t(rows) * size_t(chart.items), 0);
    try {
        for (int r = 0; r < rows; ++r) {
            const int plant = TRep->valueAt(r, QStringLiteral("KPlanta")).toInt();
            const auto name = plantNames.find(plant);
            chart.names.push_back(name != plantNames.end() ? name->second : QString());
            const auto count = plantCounts.find(plant);
            chart.counts.push_back(count != plantCounts.end() ? count->second : QString());
            q.bind(1, plant);
            quint8 *marks = chart.marks.data() + size_t(r) * size_t(chart.items);
            while (q.step()) {
                const auto it = column.find(int(q.int64(0)));
                if (it != column.end())
                    marks[it->second] = 1;
            }
            q.reset();
            if (!common::ProgressStep()) {
                cancelled = true;
                break;
            }
        }
    } catch (...) {
        q.reset();
        common::ProgressEnd();
        TRep->enableControls();
        throw;
    }
    common::ProgressEnd();
    TRep->enableControls();
    if (cancelled)
        return false;
    chartWindow->setChart(std::move(chart), references);
    return true;
}

} // namespace repertory
