#include "TFPlantas.h"

#include "data/InterfaceTexts.h"

#include "common/AppContext.h"
#include "common/DbUtil.h"
#include "common/TFCalco.h"
#include "common/TFMensajes.h"
#include "data/TDM.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QListWidget>
#include "widgets/ProfileBar.h"
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QScopedValueRollback>

namespace mainwin {

using data::RelationPage;

namespace {

// The memo fields of the five tabs, Spanish mode; English mode appends "Ing" except for the notes.
const char *const MemoFields[] = {"Descripcion", "Floracion", "Administracion", "Memo", "Aplicacion"};
constexpr int NotesTab = 3;

} // namespace

TFPlantas::TFPlantas(QWidget *parent) : QMainWindow(parent)
{
    // FormCreate
    setObjectName(QStringLiteral("FPlantas"));
    setWindowTitle(QStringLiteral("Herbaxis"));
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSize(9);
    setFont(verdana);
    resize(1024, 700);
    createControls();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    common::AppContext &ctx = common::AppContext::current();
    ctx.EnglishMode = !ctx.workingFolder.isEmpty() && QFileInfo(QDir(ctx.workingFolder).filePath(QStringLiteral("English"))).isDir();
    LastActiveControl = GrNom;
    ClassFilter = 0;
    SubClassFilter = 0;

    connect(Modificar, &QPushButton::clicked, this, &TFPlantas::ModificarClick);
    connect(Salir, &QPushButton::clicked, this, &TFPlantas::SalirClick);
    connect(CBIdioma, &QComboBox::activated, this, &TFPlantas::CBIdiomaChange);
    // However the tab changes (a click, the wheel, the arrow keys), the memo follows it.
    connect(TabMemo, &QTabBar::currentChanged, this, [this] {
        if (!m_tabChanging)
            TabMemoChange();
    });
    connect(Ficha, &QTabWidget::currentChanged, this, [this] { FichaChange(); });
    connect(Splitter5, &QSplitter::splitterMoved, this, &TFPlantas::Splitter5Moved);
    for (QSplitter *s : {Splitter7, Splitter2})
        connect(s, &QSplitter::splitterMoved, this, [this] {
            if (common::AppContext::current().FCalco && common::AppContext::current().FCalco->isVisible())
                common::AppContext::current().FCalco->update();
        });
    connectListAndPanels();
    connectRelationCommands();

    // The window sees every key before the focused control does.
    qApp->installEventFilter(this);
}

TFPlantas::~TFPlantas()
{
    qApp->removeEventFilter(this);
    // The children are destroyed after this body; what they signal on the way (focus moving, pages
    // going) must not reach a window that is half gone.
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QStringList TFPlantas::listaEsp() const
{
    QStringList lines;
    for (int i = 0; i < ListaEsp->count(); ++i)
        lines << ListaEsp->item(i)->text();
    return lines;
}

QStringList TFPlantas::listaIng() const
{
    QStringList lines;
    for (int i = 0; i < ListaIng->count(); ++i)
        lines << ListaIng->item(i)->text();
    return lines;
}

void TFPlantas::attachDataModule(data::TDM *dm)
{
    m_dm = dm;
    SPlan = new widgets::DataSource(dm->TPlan, this);
    SPlan->setObjectName(QStringLiteral("SPlan"));
    SPlan->setAutoEdit(false);
    SNotas = new widgets::DataSource(dm->TNotas, this);
    SNotas->setObjectName(QStringLiteral("SNotas"));
    SFuentes = new widgets::DataSource(dm->TFuentes, this);
    SFuentes->setObjectName(QStringLiteral("SFuentes"));
    SFuentes->setAutoEdit(false);

    using Column = widgets::GridModel::Column;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    GrNom->bind(dm->TPlan, {Column{QStringLiteral("PinYin"), QString(), left, QString()}});
    GrAcc->bind(dm->TRel, {Column{QStringLiteral("Uso"), QString(), left, QString()}});
    GrSint->bind(dm->TRelSint, {Column{QStringLiteral("Sint"), QString(), left, QString()}});
    GrComp->bind(dm->TRelComp, {Column{QStringLiteral("Comp"), QString(), left, QString()}});
    GrFormPl->bind(dm->TRelFormPl, {Column{QStringLiteral("Formula"), QString(), left, QString()},
                                    Column{QStringLiteral("Porcentaje"), QString(), right, QStringLiteral("0.0 %")}});
    GrPlForm->bind(dm->TRelPlForm, {Column{QStringLiteral("Planta"), QString(), left, QString()},
                                    Column{QStringLiteral("Porcentaje"), QString(), right, QStringLiteral("0.0 %")}});
    for (widgets::DBGrid *g : {GrFormPl, GrPlForm})
        g->setColumnWidth(1, 70);
    for (widgets::DBGrid *g : {GrAcc, GrSint, GrComp, GrFormPl, GrPlForm, GrNom})
        g->setFitFirstColumn(true);

    EdPinYin->bind(SPlan, QStringLiteral("PinYin"));
    for (int i = 0; i < NameEdits.size(); ++i)
        NameEdits[i]->bind(SPlan, QStringLiteral("Nom%1").arg(i));
    DBEdit17->bind(SPlan, QStringLiteral("Toxicidad"));
    DBEdit6->bind(SPlan, QStringLiteral("Especie"));
    DBEdit1->bind(SPlan, QStringLiteral("Familia"));
    DBEdit5->bind(SPlan, QStringLiteral("Parte"));
    DBEdit3->bind(SPlan, QStringLiteral("Habitat"));
    for (widgets::DBText *row : std::as_const(SourceRows))
        row->bind(SFuentes, row->property("field").toString());
    LabClase->bind(SPlan, QStringLiteral("Clase"));
    LabSubClase->bind(SPlan, QStringLiteral("SubClase"));
    Memo->bind(SPlan, QStringLiteral("Descripcion"));
}

// ---------------------------------------------------------------- life cycle

void TFPlantas::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        try {
            FormShow();
        } catch (const std::exception &e) {
            const auto *storeError = dynamic_cast<const store::Error *>(&e);
            m_startupError = storeError ? storeError->message() : QString::fromLocal8Bit(e.what());
        }
    }
}

QString TFPlantas::firstArgument() const
{
    return common::AppContext::current().firstArgument;
}

void TFPlantas::positionOnArgument()
{
    if (m_dm->TPlan->recordCount() > 0)
        m_dm->TPlan->findNearest(firstArgument());
}

void TFPlantas::FormShow()
{
    if (!m_dm)
        return;
    // 1. The saved window geometry, colours and text size come with the settings file.
    // 2.
    LabBus->clear();
    LabBus->hide();
    // 3.
    CBIdioma->setCurrentIndex(0);
    CBIdiomaChange();
    // 4.
    CurrentPhotoField = QStringLiteral("Foto1");
    PhotoNumber = 1;
    Ficha->setCurrentWidget(PagAcc);
    // 5.
    m_dm->TPlan->open();
    m_dm->TPlan->first();
    for (store::Table *t : m_dm->relationTables())
        t->open();
    m_dm->TNotas->open();
    m_dm->TFuentes->open();
    // 7.
    positionOnArgument();
    // 8. The detail pages show no tabs; their height is the element page's.
    FicPropAut->setFixedHeight(PagProps->sizeHint().height() + 10);
    // 9.
    Modificar->setChecked(false);
    ModificarClick();
    // 10.
    ApplyListFilter();
    // 11.
    positionOnArgument();
    // 12.
    m_dm->RefreshRecordPanels();
    applyDesignSizes();
    Splitter5Moved();
    GrNom->setFocus();
}

void TFPlantas::applyDesignSizes()
{
    // The design widths are the panels' own: the splitter handles come out of the rest.
    centralWidget()->layout()->activate();
    Splitter5->setSizes({257, std::max(Splitter5->width() - Splitter5->handleWidth() - 257, 1)});
    Panel1->layout()->activate();
    Splitter2->setSizes({std::max(Splitter2->height() - Splitter2->handleWidth() - 217, 1), 217});
    PanSup->layout()->activate();
    Splitter7->setSizes({265, std::max(Splitter7->width() - Splitter7->handleWidth() - 265, 1)});
}

bool TFPlantas::editing() const
{
    return Modificar->isChecked();
}

void TFPlantas::ModificarClick()
{
    const bool editing = Modificar->isChecked();
    if (m_dm) {
        store::ignoreStoreError([this] { m_dm->TPlan->post(); });
        m_dm->RefreshRecordPanels();
    }
    if (SPlan)
        SPlan->setAutoEdit(editing);
    PanBotSint->setVisible(editing);
    PanBotIm->setVisible(editing);
    PanTox->setVisible(editing);
    Modificar->setText(editing ? QStringLiteral("Editando") : QStringLiteral("Modificar"));
    FichaChange();
}

void TFPlantas::SalirClick()
{
    close();
}

void TFPlantas::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TFPlantas::FormCloseQuery()
{
    GrNom->setFocus();
    if (SingleRecordView) {
        endSingleRecordView();
        return false;
    }
    const QString question = m_dm ? m_dm->Texts.value(data::Txt::QuitQuestion) : QStringLiteral("Desea salir de la aplicación Herbaxis ?");
    if (!common::AskYesNo(question))
        return false;
    if (m_dm) {
        store::ignoreStoreError([this] { m_dm->TPlan->post(); });
        store::ignoreStoreError([this] { m_dm->TNotas->post(); });
    }
    return true;
}

void TFPlantas::FormClose()
{
    if (common::TFCalco *overlay = common::AppContext::current().FCalco)
        overlay->hide();
    // The settings file is written here once settings are kept.
    hide();
    if (!m_dm)
        return;
    if (editing())
        store::ignoreStoreError([this] { m_dm->TPlan->post(); });
    m_dm->TPlan->close();
    for (store::Table *t : m_dm->relationTables())
        t->close();
    m_dm->TNotas->close();
    m_dm->TFuentes->close();
}

bool TFPlantas::FormKeyDown(int key)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    if (SingleRecordView) {
        if (enter || escape)
            endSingleRecordView();
    } else if (escape) {
        SalirClick();
    }
    return false; // the key goes on to the focused control
}

bool TFPlantas::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // Key preview: only the first delivery of a key pressed in this window.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != this)
            return false;
        // An unhandled key travels up to the parents of its control: that is the same key again.
        const QObject *receiver = common::AppContext::keyReceiver;
        const bool first = receiver ? watched == receiver
                                    : !(event == m_previewedKey && m_previewedAt && widget->isAncestorOf(m_previewedAt));
        if (first) {
            m_previewedKey = event;
            m_previewedAt = widget;
            auto *key = static_cast<QKeyEvent *>(event);
            // ">>>" is the window's default button: while it shows, Enter presses it wherever the
            // focus is.
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !SingleRecordView
                && BotBusSinon->isVisible()) {
                BotBusSinon->click();
                return true;
            }
            FormKeyDown(key->key());
            if (widget == GrNom && isVisible())
                return GrNomKeyDown(key->key(), key->modifiers());
            if (widget == GrAcc || widget == GrSint || widget == GrPlForm || widget == GrFormPl)
                return GrAccKeyDown(key->key());
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease && (watched == ImVolver || watched == LabAtras)) {
        LabInstrClick();
        return true;
    }
    if (event->type() == QEvent::Resize && watched == PanProp)
        layoutPropertyPanels();
    if (event->type() == QEvent::Resize && watched == Im)
        scalePhoto();
    if (event->type() == QEvent::Resize && watched == LabBus)
        fitTypedText();
    if (panelEvent(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TFPlantas::ShowSingleRecord()
{
    SingleRecordView = true;
    for (QWidget *w : std::initializer_list<QWidget *>{PanBot, PanInd, SelPlanForm, Buscar, FiltrarProp, DiagnosticarAcc,
                                                       DiagnosticarInd, MostrarFor, MostrarIng})
        w->hide();
    BotClase->setEnabled(false);
    BotSubClase->setEnabled(false);
    PanInstrUna->show();

    QEventLoop loop;
    m_singleLoop = &loop;
    if (SingleRecordView)
        loop.exec();
    m_singleLoop = nullptr;

    for (QWidget *w : std::initializer_list<QWidget *>{DiagnosticarAcc, DiagnosticarInd, MostrarFor, MostrarIng, PanBot,
                                                       PanInd, SelPlanForm, Buscar, FiltrarProp})
        w->show();
    BotClase->setEnabled(true);
    BotSubClase->setEnabled(true);
    PanInstrUna->hide();
}

void TFPlantas::endSingleRecordView()
{
    SingleRecordView = false;
    if (m_singleLoop)
        m_singleLoop->quit();
}

void TFPlantas::LabInstrClick()
{
    endSingleRecordView();
}

// ---------------------------------------------------------------- list, memo, pages

void TFPlantas::CBIdiomaChange()
{
    const int item = std::max(CBIdioma->currentIndex(), 0);
    const QString field = item == 0 ? QStringLiteral("PinYin") : QStringLiteral("Nom%1").arg(item - 1);
    if (m_dm && common::SetIndexByField(*m_dm->TPlan, field))
        GrNom->setColumns({widgets::GridModel::Column{field, QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()}});
    GrNom->setFocus();
    LabNom->setText(CBIdioma->itemText(item));
}

void TFPlantas::TabMemoChange()
{
    if (!m_dm)
        return;
    store::ignoreStoreError([this] { m_dm->TPlan->post(); });
    store::ignoreStoreError([this] { m_dm->TNotas->post(); });
    if (TabMemo->currentIndex() < 0) {
        const QScopedValueRollback<bool> quiet(m_tabChanging, true);
        TabMemo->setCurrentIndex(0);
    }
    const int tab = TabMemo->currentIndex();
    QString field = QString::fromLatin1(MemoFields[std::clamp(tab, 0, 4)]);
    if (common::AppContext::current().EnglishMode && tab != NotesTab)
        field += QStringLiteral("Ing");
    Memo->bind(tab == NotesTab ? SNotas : SPlan, field);
    m_dm->RefreshRecordPanels();
    LabMemo->setText(TabMemo->tabText(tab));
}

void TFPlantas::FichaChange()
{
    const bool editing = this->editing();
    QWidget *active = Ficha->currentWidget();
    PanBotSint->setVisible(editing && active != PagFormPl);
    Porcentaje->setVisible(editing && active == PagPlForm);
    Splitter5Moved();
}

void TFPlantas::Splitter5Moved()
{
    for (QTableView *grid : std::initializer_list<QTableView *>{GrAcc, GrSint, GrComp, GrFormPl, GrPlForm, GrNom})
        widgets::FitFirstColumn(grid);
    layoutPropertyPanels();
    if (common::TFCalco *overlay = common::AppContext::current().FCalco; overlay && overlay->isVisible())
        overlay->update();
}

void TFPlantas::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Splitter5Moved();
}

void TFPlantas::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        // Maximize and restore: the frames are drawn again over the new layout.
        if (common::TFCalco *overlay = common::AppContext::current().FCalco) {
            overlay->hide();
            overlay->setVisible(AnyFilterActive);
        }
    }
}

void TFPlantas::ApplyListFilter()
{
    common::TFCalco *overlay = common::AppContext::current().FCalco;
    if (overlay)
        overlay->hide();
    QString kind;
    switch (kindSelection()) {
    case data::ListKind::Elements:
        kind = QStringLiteral("EsFormula=False");
        break;
    case data::ListKind::Formulas:
        kind = QStringLiteral("EsFormula=True");
        break;
    case data::ListKind::All:
        break;
    }
    QString klass;
    if (SubClassFilter != 0)
        klass = QStringLiteral("KSubClase=%1").arg(SubClassFilter);
    else if (ClassFilter != 0)
        klass = QStringLiteral("KClase=%1").arg(ClassFilter);
    const QString joiner = !kind.isEmpty() && !klass.isEmpty() ? QStringLiteral(" and ") : QString();
    if (m_dm)
        m_dm->TPlan->setFilter(kind + joiner + klass);

    AnyFilterActive = ClassFilter != 0 || SubClassFilter != 0 || TextSearchActive || PropFilterActive;
    LabCant->setVisible(AnyFilterActive);
    if (AnyFilterActive) {
        if (overlay)
            overlay->setPaintHandler([this](common::TFCalco &o) { PintarCalco(o); });
        updateCount();
    } else if (overlay) {
        overlay->setPaintHandler(nullptr);
    }
    if (overlay) {
        overlay->setVisible(AnyFilterActive);
        if (AnyFilterActive)
            overlay->raise();
    }
}

void TFPlantas::updateCount()
{
    if (!AnyFilterActive)
        return;
    const int count = m_dm && m_dm->TPlan->isOpen() ? m_dm->TPlan->recordCount() : 0;
    LabCant->setText(QStringLiteral("%1: %2").arg(m_dm ? m_dm->Texts.value(data::Txt::Selected) : QString()).arg(count));
}

void TFPlantas::refreshList()
{
    store::Table *plan = m_dm ? m_dm->TPlan : nullptr;
    if (!plan || !plan->isOpen() || plan->isEditing())
        return;
    plan->refresh();
    updateCount();
}

void TFPlantas::PintarCalco(common::TFCalco &overlay)
{
    const QColor red(255, 0, 0);
    if (ClassFilter != 0)
        overlay.FramePanel(PanClase, red);
    if (SubClassFilter != 0)
        overlay.FramePanel(PanSubClase, red);
    if (TextSearchActive)
        overlay.FramePanel(PanMemo, red);
    if (PropFilterActive)
        overlay.FramePanel(PanProp, red);
    overlay.FramePanel(PanInd, red);
}

// ---------------------------------------------------------------- data::MainWindowLink

int TFPlantas::namingLanguage() const
{
    return std::max(CBIdioma->currentIndex(), 0);
}

data::ListKind TFPlantas::kindSelection() const
{
    return data::ListKind(SelPlanFormGroup->checkedId()); // the buttons' ids are the kinds
}

bool TFPlantas::matchProps(const QString &, const QString &, const QString &) const
{
    return true; // the property filter's test comes with its dialog
}

void TFPlantas::showMessage(const QString &text)
{
    common::ShowMessageBox(text);
}

void TFPlantas::showPhotoOrPlaceholder(bool hasPhoto, bool formula)
{
    Im->setVisible(hasPhoto);
    PanMort->setVisible(!hasPhoto && formula);
    PanPlanta->setVisible(!hasPhoto && !formula);
    m_photo = QPixmap();
    if (hasPhoto && m_dm)
        m_photo.loadFromData(m_dm->TPlan->value(CurrentPhotoField).toByteArray());
    scalePhoto();
}

void TFPlantas::scalePhoto()
{
    // Scaled from the stored picture each time the view changes size, never from a scaled copy.
    Im->setPixmap(m_photo.isNull() ? QPixmap() : m_photo.scaled(Im->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TFPlantas::setNotesAvailable(bool available)
{
    if (!SNotas || !m_dm)
        return;
    store::Table *notes = available ? m_dm->TNotas : nullptr;
    if (SNotas->table() != notes)
        SNotas->setTable(notes);
}

QWidget *TFPlantas::relationPageWidget(RelationPage page) const
{
    switch (page) {
    case RelationPage::Actions:
        return PagAcc;
    case RelationPage::Indications:
        return PagSint;
    case RelationPage::Formulas:
        return PagFormPl;
    case RelationPage::Ingredients:
        return PagPlForm;
    case RelationPage::Other:
        break;
    }
    return nullptr;
}

void TFPlantas::setRelationCaption(RelationPage page, const QString &caption)
{
    if (QWidget *w = relationPageWidget(page))
        Ficha->setTabText(Ficha->indexOf(w), caption);
}

void TFPlantas::advancePhoto()
{
    PhotoNumber = PhotoNumber % 3 + 1;
    CurrentPhotoField = QStringLiteral("Foto%1").arg(PhotoNumber);
}

void TFPlantas::showDetailsPage(bool formula)
{
    FicPropAut->setCurrentWidget(formula ? PagAut : PagProps);
}

RelationPage TFPlantas::activeRelationPage() const
{
    QWidget *w = Ficha->currentWidget();
    if (w == PagAcc)
        return RelationPage::Actions;
    if (w == PagSint)
        return RelationPage::Indications;
    if (w == PagFormPl)
        return RelationPage::Formulas;
    if (w == PagPlForm)
        return RelationPage::Ingredients;
    return RelationPage::Other;
}

void TFPlantas::setActiveRelationPage(RelationPage page)
{
    if (QWidget *w = relationPageWidget(page)) {
        Ficha->setTabVisible(Ficha->indexOf(w), true);
        Ficha->setCurrentWidget(w);
    }
}

void TFPlantas::setRelationTabVisible(RelationPage page, bool visible)
{
    if (QWidget *w = relationPageWidget(page))
        Ficha->setTabVisible(Ficha->indexOf(w), visible);
}

} // namespace mainwin
