// The record panels: memo marking, property profile, toxicity strip and the guarded edits.
#include "TFPlantas.h"

#include "common/AppContext.h"
#include "common/EditInPlace.h"
#include "common/TFMensajes.h"
#include "text/TextFold.h"
#include "data/Profile.h"
#include "data/TDM.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QFrame>
#include <QLabel>
#include "widgets/ProfileBar.h"
#include <QTextCursor>

namespace mainwin {

namespace {

struct ToxicityLook {
    QColor color;
    const char *spanish;
    const char *english;
};

ToxicityLook toxicityLook(int tag, const QPalette &palette)
{
    switch (tag) {
    case 0:
        return {QColor(0, 255, 0), "No  tóxica", "Non toxic"};
    case 1:
        return {QColor(255, 251, 240), "Mínimamente tóxica", "Minimally toxic"};
    case 2:
        return {QColor(255, 255, 0), "Moderadamente tóxica", "Moderately toxic"};
    case 3:
        return {QColor(255, 0, 0), "Extremadamente tóxica", "Extremely toxic"};
    default:
        return {palette.color(QPalette::Button), "", ""};
    }
}

const char *const ProfileFields[] = {"", "Meridianos", "Sabor", "Energia"};

} // namespace

QList<QWidget *> TFPlantas::guardedEdits() const
{
    return {EdPinYin, NameEdits[0], NameEdits[1], NameEdits[2], NameEdits[3], DBEdit6, DBEdit1, DBEdit5, DBEdit3};
}

void TFPlantas::connectListAndPanels()
{
    connect(CBIdioma, &widgets::DropDownCombo::droppedDown, this, &TFPlantas::CBIdiomaDropDown);
    connect(CBIdioma, &widgets::DropDownCombo::closedUp, this, &TFPlantas::CBIdiomaCloseUp);
    connect(BotBusSinon, &QPushButton::clicked, this, &TFPlantas::BotBusSinonClick);
    connect(GrNom, &QAbstractItemView::clicked, this, &TFPlantas::GrNomCellClick);
    connect(DBEdit17, &QLineEdit::textChanged, this, &TFPlantas::DBEdit17Change);
    connect(Memo, &widgets::DBMemo::loaded, this, &TFPlantas::MemoChange);
    for (QLabel *square : std::as_const(ToxicitySquares)) {
        const ToxicityLook look = toxicityLook(square->property("tag").toInt(), palette());
        QPalette pal = square->palette();
        pal.setColor(QPalette::Window, look.color);
        square->setPalette(pal);
        square->setToolTip(QString::fromUtf8(look.spanish));
    }
    // The window's event filter sees every event of the application; these widgets also report
    // the pointer moving over them.
    for (QWidget *edit : guardedEdits())
        edit->setMouseTracking(true);
    for (widgets::DBText *text : QList<widgets::DBText *>{LabClase, LabSubClase} + SourceRows)
        text->setMouseTracking(true);
}

// Events of the list and the panels' controls, routed here from the window's event filter.
bool TFPlantas::panelEvent(QObject *watched, QEvent *event)
{
    if (watched == GrNom) {
        if (event->type() == QEvent::FocusOut)
            GrNomExit();
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonRelease && type != QEvent::FocusIn && type != QEvent::MouseMove)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false; // the filter sees the whole application's events
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto *square = qobject_cast<QLabel *>(widget); square && ToxicitySquares.contains(square)) {
            StaticText3Click(square);
            return true;
        }
        if (widget == DBEdit6) {
            DBEdit6Click();
            return false;
        }
        auto *label = qobject_cast<QLabel *>(widget);
        if (label && (label->parentWidget() == PanCanales || label->parentWidget() == PanSabor || label->parentWidget() == PanEnergia)) {
            Label48Click(label);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && guardedEdits().contains(widget))
        DBEdit1Enter(widget);
    if (event->type() == QEvent::MouseMove) {
        if (guardedEdits().contains(widget))
            DBEdit1MouseMove(widget);
        else if (auto *text = qobject_cast<widgets::DBText *>(widget))
            DBText1MouseMove(text);
    }
    return false;
}

void TFPlantas::MemoChange()
{
    if (!TextSearchActive)
        return;
    for (const QString &term : std::as_const(m_searchTerms))
        HighlightWord(term);
}

void TFPlantas::HighlightWord(const QString &word)
{
    if (word.isEmpty())
        return;
    Memo->markDisplay([&word, this](QTextEdit &memo) {
        // Folding keeps every character in its place, so a hit in the folded text marks the same
        // characters of the shown text.
        const QString folded = text::FoldUpper(memo.document()->toPlainText());
        for (qsizetype at = folded.indexOf(word); at >= 0; at = folded.indexOf(word, at + 1))
            Memo->markRange(int(at), int(word.size()));
        QTextCursor start(memo.document());
        memo.setTextCursor(start);
        memo.setCurrentCharFormat(QTextCharFormat()); // what is typed next is not marked
    });
}

void TFPlantas::ShowProfileString(QFrame *panel, const QString &digits)
{
    for (widgets::ProfileBar *bar : panel->findChildren<widgets::ProfileBar *>(Qt::FindDirectChildrenOnly)) {
        const int position = bar->property("tag").toInt();
        int value = 0;
        if (!digits.isEmpty() && position >= 1 && position <= digits.size() && digits[position - 1].isDigit())
            value = digits[position - 1].digitValue();
        bar->setValue(value);
    }
}

void TFPlantas::showProfileStrings(const QString &meridianos, const QString &sabor, const QString &energia)
{
    ShowProfileString(PanCanales, meridianos);
    ShowProfileString(PanSabor, sabor);
    ShowProfileString(PanEnergia, energia);
}

void TFPlantas::showFormulaProfile()
{
    store::Table *rows = m_dm ? m_dm->TRelPlForm : nullptr;
    if (!rows || !rows->isOpen())
        return;
    data::ProfileSlotsArray channels{}, tastes{}, natures{};
    rows->disableControls();
    try {
        for (rows->first(); !rows->eof(); rows->next()) {
            const double percent = rows->value(QStringLiteral("Porcentaje")).toDouble(); // null counts as 0
            data::addWeightedProfile(channels, percent, rows->text(QStringLiteral("Meridianos")));
            data::addWeightedProfile(tastes, percent, rows->text(QStringLiteral("Sabor")));
            data::addWeightedProfile(natures, percent, rows->text(QStringLiteral("Energia")));
        }
        rows->first();
    } catch (...) {
        rows->enableControls();
        throw;
    }
    rows->enableControls();
    const QString m = data::profileString(channels).left(data::ChannelsWidth);
    const QString s = data::profileString(tastes).left(data::TastesWidth);
    const QString e = data::profileString(natures).left(data::NaturesWidth);
    showProfileStrings(m, s, e);

    store::Table *plan = m_dm->TPlan;
    if (plan->text(QStringLiteral("Meridianos")) == m && plan->text(QStringLiteral("Sabor")) == s
        && plan->text(QStringLiteral("Energia")) == e)
        return; // unchanged: nothing is written
    if (!plan->isEditing())
        plan->edit();
    plan->setValue(QStringLiteral("Meridianos"), m);
    plan->setValue(QStringLiteral("Sabor"), s);
    plan->setValue(QStringLiteral("Energia"), e);
    plan->post();
}

void TFPlantas::Label48Click(QLabel *label)
{
    store::Table *plan = m_dm ? m_dm->TPlan : nullptr;
    if (!plan || !editing() || plan->recordCount() == 0 || plan->asBool(QStringLiteral("EsFormula")))
        return;
    auto *panel = qobject_cast<QFrame *>(label->parentWidget());
    const int panelTag = panel ? panel->property("tag").toInt() : 0;
    if (panelTag < 1 || panelTag > 3)
        return;
    const QString field = QString::fromLatin1(ProfileFields[panelTag]);
    QString digits = plan->text(field);
    const int position = label->property("tag").toInt();
    QString typed = position <= digits.size() ? QString(digits[position - 1]) : QString();
    const QRect box = label->geometry().adjusted(0, 0, 0, 2);
    if (!common::EditInPlace(typed, panel, box, true))
        return;
    if (typed.size() != 1 || !typed[0].isDigit() || typed[0].unicode() > u'9') {
        common::ShowMessageBox(QStringLiteral("Ingrese un numero entre 0 y 9"));
        return;
    }
    if (digits.size() < position - 1)
        digits += QString(position - 1 - digits.size(), QLatin1Char('0'));
    const QString updated = digits.left(position - 1) + typed + digits.mid(position);
    ShowProfileString(panel, updated);
    if (!plan->isEditing())
        plan->edit();
    plan->setValue(field, updated);
    plan->post();
    if (PropFilterActive)
        refreshList(); // the changed profile may no longer pass the property filter
}

void TFPlantas::DBEdit17Change()
{
    const QString code = DBEdit17->text();
    bool numeric = false;
    const int tag = code.isEmpty() ? -1 : code.toInt(&numeric);
    if (!code.isEmpty() && !numeric)
        return;
    for (QLabel *square : std::as_const(ToxicitySquares)) {
        if (square->property("tag").toInt() != tag)
            continue;
        const ToxicityLook look = toxicityLook(tag, palette());
        const bool english = common::AppContext::current().EnglishMode;
        QPalette box = ImTox->palette();
        box.setColor(QPalette::Window, look.color);
        ImTox->setAutoFillBackground(true);
        ImTox->setPalette(box);
        ImTox->setText(square->text());
        QPalette text = LabTox->palette();
        // The text takes the square's colour, deepened so that lime, cream and yellow stay legible
        // on the panel.
        static const int deepen[] = {165, 210, 165, 115};
        text.setColor(QPalette::WindowText, tag < 0 ? palette().color(QPalette::WindowText) : look.color.darker(deepen[tag]));
        LabTox->setPalette(text);
        LabTox->setText(QString::fromUtf8(english ? look.english : look.spanish));
        return;
    }
    // An unknown code leaves the strip as it was.
}

void TFPlantas::StaticText3Click(QLabel *square)
{
    store::Table *plan = m_dm ? m_dm->TPlan : nullptr;
    if (!plan || plan->recordCount() == 0)
        return;
    if (!plan->isEditing())
        plan->edit();
    const int tag = square->property("tag").toInt();
    plan->setValue(QStringLiteral("Toxicidad"), tag < 0 ? QVariant() : QVariant(QString::number(tag)));
}

void TFPlantas::DBEdit1Enter(QWidget *)
{
    // Outside editing mode the record's fields never keep the focus.
    if (!editing() && LastActiveControl)
        LastActiveControl->setFocus();
}

void TFPlantas::DBEdit1MouseMove(QWidget *edit)
{
    if (auto *line = qobject_cast<QLineEdit *>(edit))
        line->setToolTip(line->text());
    if (QWidget *focus = QApplication::focusWidget(); focus && focus->window() == this && !guardedEdits().contains(focus))
        LastActiveControl = focus;
}

void TFPlantas::DBText1MouseMove(widgets::DBText *text)
{
    store::ignoreStoreError([&] { text->setToolTip(text->displayText()); });
}

} // namespace mainwin
