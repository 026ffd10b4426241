// The list filter's commands and the relation pages: change, add and remove relations, weigh
// ingredients, visit a related record and open the repertorization window.
#include "TFPlantas.h"

#include "data/InterfaceTexts.h"

#include "common/AppContext.h"
#include "common/EditInPlace.h"
#include "common/TFCalco.h"
#include "common/TFMensajes.h"
#include "data/TDM.h"
#include "relations/TFSelClase.h"
#include "relations/TFSelTab.h"
#include "repertory/TFUsos.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <cmath>

namespace mainwin {

// ---------------------------------------------------------------- list filter commands

void TFPlantas::SelPlanFormClick()
{
    store::Table *plan = m_dm->TPlan;
    const qint64 mark = plan->isOpen() ? plan->bookmark() : -1;
    ApplyListFilter();
    if (mark >= 0)
        store::ignoreStoreError([&] { plan->gotoBookmark(mark); });
    GrNom->setFocus();
}

void TFPlantas::VerTodoClick()
{
    LabCant->hide();
    TextSearchActive = false;
    PropFilterActive = false;
    ClassFilter = 0;
    SubClassFilter = 0;
    ApplyListFilter();
    GrNom->setFocus();
}

void TFPlantas::BotClaseClick()
{
    GrNom->setFocus();
    store::Table *plan = m_dm->TPlan;
    int num = plan->asInt(QStringLiteral("KClase"));
    if (!relations::SelectClass(0, num, editing())) {
        ClassFilter = 0;
        SubClassFilter = 0;
        ApplyListFilter();
        return;
    }
    if (editing()) {
        // In editing mode the button sets the record's class; a new class has no subclass yet.
        writeRecord({{QStringLiteral("KClase"), num}, {QStringLiteral("KSubClase"), QVariant()}});
        refreshList();
        return;
    }
    if (num == 0)
        return;
    if (num != ClassFilter) {
        ClassFilter = num;
        SubClassFilter = 0;
    }
    LabCant->show();
    ApplyListFilter();
}

void TFPlantas::BotSubClaseClick()
{
    GrNom->setFocus();
    if (ClassFilter == 0) {
        common::ShowMessageBox(m_dm->Texts.value(data::Txt::MustSelectClass));
        return;
    }
    store::Table *plan = m_dm->TPlan;
    const int parent = plan->asInt(QStringLiteral("KClase"));
    int num = plan->asInt(QStringLiteral("KSubClase"));
    if (!relations::SelectClass(parent, num, editing())) {
        SubClassFilter = 0;
        ApplyListFilter();
        return;
    }
    if (editing()) {
        writeRecord({{QStringLiteral("KSubClase"), num}});
        refreshList();
        return;
    }
    SubClassFilter = num;
    ApplyListFilter();
}

void TFPlantas::BuscarClick()
{
    auto *dialog = qobject_cast<QDialog *>(common::AppContext::current().FBuscar);
    TextSearchActive = dialog && dialog->exec() == QDialog::Accepted;
    ApplyListFilter();
    GrNom->setFocus();
}

void TFPlantas::FiltrarPropClick()
{
    auto *dialog = qobject_cast<QDialog *>(common::AppContext::current().FFiltroProp);
    PropFilterActive = dialog && dialog->exec() == QDialog::Accepted;
    ApplyListFilter();
}

void TFPlantas::DBEdit6Click()
{
    if (!editing())
        return;
    store::Table *plan = m_dm->TPlan;
    if (plan->recordCount() == 0)
        return;
    const int key = plan->asInt(QStringLiteral("KEspecie"));
    const int chosen = relations::SelectTableKey(*m_dm->TEsp, key, QStringLiteral("Seleccione la Especie"));
    if (chosen != key)
        writeRecord({{QStringLiteral("KEspecie"), chosen}});
}

void TFPlantas::writeRecord(const QList<std::pair<QString, QVariant>> &values)
{
    store::Table *plan = m_dm->TPlan;
    if (plan->recordCount() == 0)
        return;
    if (!plan->isEditing())
        plan->edit();
    for (const auto &[field, value] : values)
        plan->setValue(field, value);
    plan->post();
}

// ---------------------------------------------------------------- relation pages

std::optional<TFPlantas::RelationCommand> TFPlantas::relationCommandFor(QWidget *page) const
{
    using K = QString;
    if (page == PagAcc)
        return RelationCommand{GrAcc, m_dm->TRel, m_dm->TUsos, K("Nom"), K("la acción terapéutica"), K("KUso"), K("OUso"),
                               K("KPlanta"), K("OPlanta"), K("Uso")};
    if (page == PagSint)
        return RelationCommand{GrSint, m_dm->TRelSint, m_dm->TSint, K("Nom"), K("el síntoma"), K("KSint"), K("OSint"),
                               K("KPlanta"), K("OPlanta"), K("Sint")};
    if (page == PagPlForm)
        return RelationCommand{GrPlForm, m_dm->TRelPlForm, m_dm->TAuxPlan, K("PinYin"), K("el ingrediente"), K("KPlanta"),
                               K("OPlanta"), K("KFormula"), K("OFormula"), K("Planta")};
    return std::nullopt;
}

bool TFPlantas::GrAccKeyDown(int key)
{
    if (!editing())
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CambiarClick(RelationEdit::Change);
        return true;
    case Qt::Key_Insert:
        CambiarClick(RelationEdit::Add);
        return true;
    case Qt::Key_Delete:
        CambiarClick(RelationEdit::Remove);
        return true;
    default:
        return false;
    }
}

void TFPlantas::writeRelation(const RelationCommand &cmd, int related, bool replaceCurrent)
{
    store::Table *rel = cmd.relation;
    store::Table *plan = m_dm->TPlan;
    // The order number of the picked item, read from the catalogue itself.
    cmd.catalogue->locate(QStringLiteral("Clave"), related);
    const QVariant relatedOrder = cmd.catalogue->value(QStringLiteral("Orden"));
    const store::Table::Bookmark current = rel->bookmark();

    // Written detached from the master link, so that setting the link fields does not move the
    // grid under the row being written.
    rel->setMaster(nullptr, QString());
    if (replaceCurrent) {
        rel->gotoBookmark(current);
        rel->edit();
    } else {
        rel->append();
    }
    rel->setValue(cmd.ownerKey, plan->value(QStringLiteral("Clave")));
    rel->setValue(cmd.ownerOrder, plan->value(QStringLiteral("Orden")));
    rel->setValue(cmd.relatedKey, related);
    rel->setValue(cmd.relatedOrder, relatedOrder);
    try {
        rel->post(); // a duplicate pair is refused here; the data module then restores the view
    } catch (const store::Abort &) {
        // The view is back on its master; the row that was current before the command is again.
        store::ignoreStoreError([&] { rel->gotoBookmark(current); });
        throw;
    }
    const store::Table::Bookmark written = rel->bookmark();
    rel->setMaster(plan, QStringLiteral("Orden"));
    rel->gotoBookmark(written);
}

void TFPlantas::CambiarClick(RelationEdit command)
{
    if (!editing())
        return;
    const std::optional<RelationCommand> cmd = relationCommandFor(Ficha->currentWidget());
    if (!cmd)
        return;
    store::Table *rel = cmd->relation;
    store::Table *catalogue = cmd->catalogue;
    const bool ingredients = catalogue == m_dm->TAuxPlan;
    // The ingredient picker lists elements only; the restriction goes whatever happens next.
    if (ingredients)
        catalogue->setFilter(QStringLiteral("EsFormula=False"));
    struct LiftFilter {
        store::Table *table;
        bool on;
        ~LiftFilter()
        {
            if (on)
                store::ignoreStoreError([this] { table->setFilter(QString()); });
        }
    } lift{catalogue, ingredients};

    const QString caption = QStringLiteral("Seleccione ") + cmd->article;
    if (command == RelationEdit::Change || command == RelationEdit::Add) {
        // A relation row names its plant. A plant added and not posted yet has no key: it is
        // posted first, as leaving the record would. Without a plant there is nothing to relate.
        store::Table *plan = m_dm->TPlan;
        if (plan->isEditing() && plan->isNull(QStringLiteral("Clave")))
            plan->post();
        if (plan->recordCount() == 0 || plan->isNull(QStringLiteral("Clave")) || plan->isNull(QStringLiteral("Orden"))) {
            QApplication::beep();
            return;
        }
    }
    if (command == RelationEdit::Change) {
        if (rel->recordCount() == 0) {
            QApplication::beep(); // nothing to change; other records' rows are never touched
        } else {
            const int old = rel->asInt(cmd->relatedKey);
            const int chosen = relations::SelectTableKey(*catalogue, old, caption, cmd->pickerField);
            if (chosen != old && chosen != 0)
                writeRelation(*cmd, chosen, true);
        }
    } else if (command == RelationEdit::Add) {
        const int chosen = relations::SelectTableKey(*catalogue, 0, caption, cmd->pickerField);
        if (chosen != 0)
            writeRelation(*cmd, chosen, false);
    } else if (command == RelationEdit::Remove) {
        const QString name = rel->text(cmd->nameColumn);
        if (common::AskYesNo(QStringLiteral("Desea quitar %1 \"%2\" ?").arg(cmd->article, name)))
            rel->remove();
    }
    // Whatever was answered, the captions show the counts and the page's grid has the focus.
    m_dm->RefreshRecordPanels();
    cmd->grid->setFocus();
}

void TFPlantas::PorcentajeClick()
{
    store::Table *rows = m_dm->TRelPlForm;
    GrPlForm->setFocus();
    if (rows->recordCount() == 0) {
        QApplication::beep(); // a formula without ingredients has nothing to weigh
        return;
    }
    // Percentages are written and read without group separators: "12.500" in a Spanish locale is
    // not twelve thousand five hundred but a mistyped 12,5. Only a finite number is a percentage.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    for (;;) {
        const QRect cell = GrPlForm->visualRect(GrPlForm->model()->index(rows->recNo(), 1));
        const QVariant stored = rows->value(QStringLiteral("Porcentaje"));
        QString text = stored.isNull() ? QString() : locale.toString(stored.toDouble(), 'g', 15);
        if (!common::EditInPlace(text, GrPlForm->viewport(), cell, true))
            return;
        bool ok = false;
        const double value = locale.toDouble(text.trimmed(), &ok);
        if (!ok || !std::isfinite(value)) {
            common::ShowMessageBox(QStringLiteral("Ingrese un valor numérico"));
            continue; // the box again, with the stored value
        }
        store::ignoreStoreError([&] {
            rows->edit();
            rows->setValue(QStringLiteral("Porcentaje"), value);
            rows->post();
        });
        return;
    }
}

void TFPlantas::visitRelated(widgets::DBGrid *grid, store::Table *rows, const QString &keyField)
{
    if (SingleRecordView || rows->recordCount() == 0) {
        QApplication::beep();
        return;
    }
    common::TFCalco *overlay = common::AppContext::current().FCalco;
    if (overlay)
        overlay->hide();
    store::Table *plan = m_dm->TPlan;
    const store::Table::Bookmark row = rows->bookmark();
    const store::Table::Bookmark record = plan->bookmark();
    const int key = rows->asInt(keyField);
    // The list filter stops applying during the visit, so that a hidden record can be shown.
    plan->setFiltered(false);
    plan->findKey(key);
    ShowSingleRecord();
    plan->setFiltered(true);
    store::ignoreStoreError([&] { plan->gotoBookmark(record); });
    store::ignoreStoreError([&] { rows->gotoBookmark(row); });
    if (overlay && AnyFilterActive)
        overlay->show();
    grid->setFocus();
}

void TFPlantas::MostrarIngClick()
{
    visitRelated(GrPlForm, m_dm->TRelPlForm, QStringLiteral("KPlanta"));
}

void TFPlantas::MostrarForClick()
{
    visitRelated(GrFormPl, m_dm->TRelFormPl, QStringLiteral("KFormula"));
}

void TFPlantas::relationFocusChanged(QWidget *old, QWidget *now)
{
    if (now == GrPlForm && m_dm->TRelPlForm->recordCount() > 0)
        MostrarIng->show();
    if (now == GrFormPl && m_dm->TRelFormPl->recordCount() > 0)
        MostrarFor->show();
    const auto left = [&](QWidget *page) { return old && page->isAncestorOf(old) && !(now && page->isAncestorOf(now)); };
    if (left(PagPlForm))
        MostrarIng->hide();
    if (left(PagFormPl))
        MostrarFor->hide();
}

void TFPlantas::RepertorizarClick(QPushButton *sender)
{
    auto *repertory = qobject_cast<repertory::TFUsos *>(common::AppContext::current().FUsos);
    if (!repertory)
        return;
    const int kind = Ficha->currentWidget()->property("tag").toInt() - 1;
    store::Table *plan = m_dm->TPlan;
    const store::Table::Bookmark record = plan->bookmark();
    plan->setFiltered(false);
    const bool reload = kind != RepertoryMode;
    if (reload)
        RepertoryMode = kind;
    common::TFCalco *overlay = common::AppContext::current().FCalco;
    if (overlay)
        overlay->hide();

    // The repertorization window takes the main window's place while it is open.
    const QRect place = geometry();
    repertory->setGeometry(place);
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    move(screen.width(), y());
    repertory->OpenCatalogue(repertory::CatalogueKind(RepertoryMode), reload);
    QEventLoop waiting;
    const auto hidden = connect(repertory, &repertory::TFUsos::hidden, &waiting, &QEventLoop::quit);
    if (repertory->isVisible())
        waiting.exec();
    disconnect(hidden);

    if (sender == DiagnosticarAcc)
        Ficha->setCurrentWidget(PagAcc);
    else if (sender == DiagnosticarInd)
        Ficha->setCurrentWidget(PagSint);
    setGeometry(repertory->geometry());
    raise();
    activateWindow();
    if (overlay && AnyFilterActive)
        overlay->show();
    plan->setFiltered(true);
    store::ignoreStoreError([&] { plan->gotoBookmark(record); });
    GrNom->setFocus();
}

void TFPlantas::connectRelationCommands()
{
    connect(SelPlanFormGroup, &QButtonGroup::idClicked, this, &TFPlantas::SelPlanFormClick);
    connect(VerTodo, &QPushButton::clicked, this, &TFPlantas::VerTodoClick);
    connect(BotClase, &QPushButton::clicked, this, &TFPlantas::BotClaseClick);
    connect(BotSubClase, &QPushButton::clicked, this, &TFPlantas::BotSubClaseClick);
    connect(Buscar, &QPushButton::clicked, this, &TFPlantas::BuscarClick);
    connect(FiltrarProp, &QPushButton::clicked, this, &TFPlantas::FiltrarPropClick);
    for (QPushButton *b : {Cambiar, Agregar, Quitar})
        connect(b, &QPushButton::clicked, this, [this, b] { CambiarClick(RelationEdit(b->property("tag").toInt())); });
    connect(Porcentaje, &QPushButton::clicked, this, &TFPlantas::PorcentajeClick);
    connect(MostrarIng, &QPushButton::clicked, this, &TFPlantas::MostrarIngClick);
    connect(MostrarFor, &QPushButton::clicked, this, &TFPlantas::MostrarForClick);
    connect(GrPlForm, &QAbstractItemView::doubleClicked, this, &TFPlantas::MostrarIngClick);
    connect(GrFormPl, &QAbstractItemView::doubleClicked, this, &TFPlantas::MostrarForClick);
    for (QPushButton *b : {DiagnosticarAcc, DiagnosticarInd})
        connect(b, &QPushButton::clicked, this, [this, b] { RepertorizarClick(b); });
    connect(qApp, &QApplication::focusChanged, this, &TFPlantas::relationFocusChanged);
}

} // namespace mainwin
