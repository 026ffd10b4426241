// The plant list: naming language, typed search, the synonym hint and deleting from the list.
#include "TFPlantas.h"

#include "common/AppContext.h"
#include "common/TFMensajes.h"
#include "text/TypedSearch.h"
#include "data/TDM.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace mainwin {

void TFPlantas::CBIdiomaDropDown()
{
    // The closed list is a bare arrow; open, it is wide enough to read the names.
    CBIdioma->setFixedWidth(CBIdioma->width() + 110);
    PanNom->update();
}

void TFPlantas::CBIdiomaCloseUp()
{
    CBIdioma->setFixedWidth(std::max(CBIdioma->width() - 110, 20));
    PanNom->update();
}

void TFPlantas::clearTypedSearch()
{
    LabBus->clear();
    LabBus->hide();
}

bool TFPlantas::GrNomKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const text::TypedKey kind = text::classifyTypedKey(key, false);
    if (kind == text::TypedKey::Ignore)
        return false;
    if (kind == text::TypedKey::Append && (modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return false; // shortcuts are not typing
    if (kind != text::TypedKey::Other) {
        if (kind == text::TypedKey::Append)
            LabBus->show();
        search(text::typedText(LabBus->text(), kind, key));
        return true;
    }
    if (key == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) {
        // Deleting a plant from the list is an edit: only in editing mode, and after asking.
        if (editing() && m_dm->TPlan->recordCount() > 0) {
            const QString question = common::AppContext::current().EnglishMode ? QStringLiteral("Delete record ?")
                                                                                : QStringLiteral("Desea borrar el registro ?");
            if (common::AskYesNo(question))
                m_dm->TPlan->remove();
        }
        return true;
    }
    if (key == Qt::Key_Insert) {
        if (editing())
            m_dm->TPlan->append(); // the data module gives it its kind, or refuses it
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !BotBusSinon->isHidden() && !LabBus->isHidden()) {
        BotBusSinon->click(); // the hint button is the window's default button
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
    const bool isSynonym = !text.isEmpty() && m_sinon->locate(QStringLiteral("Sinon"), text, true);
    BotBusSinon->setVisible(isSynonym);
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
}

} // namespace mainwin
