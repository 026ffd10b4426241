// The plant list: naming language, typed search, the synonym hint and deleting from the list.
#include "TFPlantas.h"

#include "common/AppContext.h"
#include "common/TFMensajes.h"
#include "text/TypedSearch.h"
#include "data/TDM.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace mainwin {

void TFPlantas::CBIdiomaDropDown()
{
    // The closed list is a bare arrow; open, it is wide enough to read the names. It grows to the
    // left, and is laid out at once: the list opens under the box where it is now.
    CBIdioma->setFixedWidth(CBIdioma->width() + 110);
    PanNom->layout()->activate();
    PanNom->update();
}

void TFPlantas::CBIdiomaCloseUp()
{
    CBIdioma->setFixedWidth(std::max(CBIdioma->width() - 110, 20));
    PanNom->layout()->activate();
    PanNom->update();
}

void TFPlantas::clearTypedSearch()
{
    LabBus->clear();
    LabBus->hide();
    BotBusSinon->hide();
}

void TFPlantas::fitTypedText()
{
    // The text keeps clear of ">>>"; when it is wider than the room left, its end is shown.
    const int button = BotBusSinon->isHidden() ? 0 : BotBusSinon->sizeHint().width() + 4;
    LabBus->setContentsMargins(0, 0, button, 0);
    const int room = LabBus->contentsRect().width() - LabBus->indent() - 2;
    const bool wide = LabBus->fontMetrics().horizontalAdvance(LabBus->text()) > room;
    LabBus->setAlignment((wide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

bool TFPlantas::GrNomKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const text::TypedKey kind = text::classifyTypedKey(key, false);
    if (kind == text::TypedKey::Ignore)
        return false;
    const bool shortcut = kind == text::TypedKey::Append && (modifiers & (Qt::ControlModifier | Qt::AltModifier));
    // A shortcut is not typing: like any other key, it ends the search.
    if (kind != text::TypedKey::Other && !shortcut) {
        if (kind == text::TypedKey::Append)
            LabBus->show();
        search(text::typedText(LabBus->text(), kind, key));
        return true;
    }
    if (key == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) {
        clearTypedSearch();
        // Deleting a plant from the list is an edit: only in editing mode, and after asking.
        if (editing() && m_dm->TPlan->recordCount() > 0) {
            const QString question = common::AppContext::current().EnglishMode ? QStringLiteral("Delete record ?")
                                                                                : QStringLiteral("Desea borrar el registro ?");
            if (common::AskYesNo(question)) {
                m_dm->TPlan->remove();
                updateCount();
            }
        }
        return true;
    }
    if (key == Qt::Key_Insert) {
        // With both kinds listed a new plant would have no kind: it is refused before anything
        // moves, so the list stays where it was.
        if (editing() && m_dm->newPlantAllowed())
            m_dm->TPlan->append(); // the data module gives it its kind
        return true;
    }
    clearTypedSearch();
    return false;
}

void TFPlantas::search(const QString &text)
{
    LabBus->setText(text);
    // A typed text that is a whole synonym, in any letter case, offers the jump to its plant.
    if (!m_sinon) {
        m_sinon = new store::Table(*common::AppContext::current().session, QStringLiteral("Sinonimos.DB"), this);
        m_sinon->setObjectName(QStringLiteral("TSinon"));
    }
    m_sinon->open();
    // The look-up cuts the text to the field's width; the whole typed text must equal the synonym.
    const bool isSynonym = !text.isEmpty() && m_sinon->locate(QStringLiteral("Sinon"), text, true)
        && m_sinon->text(QStringLiteral("Sinon")).compare(text, Qt::CaseInsensitive) == 0;
    BotBusSinon->setVisible(isSynonym);
    fitTypedText();
    if (isSynonym)
        SynonymPlantKey = m_sinon->asInt(QStringLiteral("KPlanta"));
    m_sinon->close();

    if (!store::ignoreStoreError([&] { m_dm->TPlan->findNearest(text); })) { // the move refreshes the panels
        QApplication::beep();
        clearTypedSearch();
    }
}

void TFPlantas::GrNomExit()
{
    if (BotBusSinon->isHidden())
        clearTypedSearch();
}

void TFPlantas::GrNomCellClick()
{
    clearTypedSearch();
}

void TFPlantas::BotBusSinonClick()
{
    store::Table *plan = m_dm->TPlan;
    plan->findKey(SynonymPlantKey); // only among the records the list shows
    QString pinyin = plan->text(QStringLiteral("PinYin"));
    for (QChar &c : pinyin)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(char16_t(c.unicode() - 32));
    const QString typed = LabBus->text();
    common::ShowMessageBox(QStringLiteral("%1 = %2").arg(typed, pinyin));
    clearTypedSearch();
    GrNom->setFocus();
}

} // namespace mainwin
