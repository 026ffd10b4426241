#pragma once

#include "data/MainWindowLink.h"
#include "widgets/DBControls.h"
#include "widgets/DBGrid.h"
#include "widgets/DataSource.h"
#include "widgets/DropDownCombo.h"
#include "widgets/ProfileBar.h"

#include <QEventLoop>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <optional>

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QToolButton;

namespace data { class TDM; }
namespace common { class TFCalco; }

namespace mainwin {

// The three commands of the relation pages (the buttons' tags).
enum class RelationEdit { Change = 1, Add = 2, Remove = 3 };

// The main window: the plant list, the current record's names, texts, profile and relations, and
// the way to every other window.
class TFPlantas : public QMainWindow, public data::MainWindowLink {
    Q_OBJECT
public:
    explicit TFPlantas(QWidget *parent = nullptr);
    ~TFPlantas() override;

    // Binds the controls to the data module's tables; the module is made right after the window.
    void attachDataModule(data::TDM *dm);
    data::TDM *dm() const { return m_dm; }
    // Set when the window could not start (a table that does not open): the store's message.
    QString startupError() const { return m_startupError; }
    QStringList listaEsp() const;
    QStringList listaIng() const;

    // --- state read by other parts of the program ---
    bool SingleRecordView = false;
    int ClassFilter = 0;
    int SubClassFilter = 0;
    bool TextSearchActive = false;
    bool PropFilterActive = false;
    bool AnyFilterActive = false;
    QPointer<QWidget> LastActiveControl;
    QString CurrentPhotoField = QStringLiteral("Foto1");
    int PhotoNumber = 1;
    int SynonymPlantKey = 0; // the plant of the synonym the typed search found

    // --- operations ---
    void FormShow();
    void ModificarClick();
    void SalirClick();
    void ShowSingleRecord();
    void ApplyListFilter();
    void PintarCalco(common::TFCalco &overlay);
    void CBIdiomaChange();
    void TabMemoChange();
    void FichaChange();
    void Splitter5Moved();
    void LabInstrClick();
    bool editing() const;

    // plant list and typed search (TFPlantasList.cpp)
    void CBIdiomaDropDown();
    void CBIdiomaCloseUp();
    bool GrNomKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void GrNomExit();
    void GrNomCellClick();
    void BotBusSinonClick();
    void clearTypedSearch();

    // list filter commands and relation pages (TFPlantasRelations.cpp)
    int RepertoryMode = -1; // the kind the repertorization window was last opened for
    void SelPlanFormClick();
    void VerTodoClick();
    void BotClaseClick();
    void BotSubClaseClick();
    void BuscarClick();
    void FiltrarPropClick();
    void DBEdit6Click();
    bool GrAccKeyDown(int key);
    void CambiarClick(RelationEdit command);
    void PorcentajeClick();
    void MostrarIngClick();
    void MostrarForClick();
    void RepertorizarClick(QPushButton *sender);

    // record panels (TFPlantasPanels.cpp)
    void MemoChange();
    void HighlightWord(const QString &word);
    void ShowProfileString(QFrame *panel, const QString &digits);
    void Label48Click(QLabel *label);
    void DBEdit17Change();
    void StaticText3Click(QLabel *square);
    void DBEdit1Enter(QWidget *edit);
    void DBEdit1MouseMove(QWidget *edit);
    void DBText1MouseMove(widgets::DBText *text);
    // The folded terms of the full-text search, marked in the memo while that search is active.
    QStringList searchTerms() const { return m_searchTerms; }
    void setSearchTerms(const QStringList &terms) { m_searchTerms = terms; }

    // --- data::MainWindowLink ---
    data::ListKind kindSelection() const override;
    bool editingMode() const override { return editing(); }
    int namingLanguage() const override;
    bool textSearchActive() const override { return TextSearchActive; }
    bool propFilterActive() const override { return PropFilterActive; }
    bool matchProps(const QString &meridianos, const QString &energia, const QString &sabor) const override;
    void showMessage(const QString &text) override;
    void showPhotoOrPlaceholder(bool hasPhoto, bool formula) override;
    void setRelationCaption(data::RelationPage page, const QString &caption) override;
    int photoNumber() const override { return PhotoNumber; }
    void advancePhoto() override;
    void showDetailsPage(bool formula) override;
    void showFormulaProfile() override;
    void showProfileStrings(const QString &meridianos, const QString &sabor, const QString &energia) override;
    data::RelationPage activeRelationPage() const override;
    void setActiveRelationPage(data::RelationPage page) override;
    void setRelationTabVisible(data::RelationPage page, bool visible) override;
    void relationPageChanged() override { FichaChange(); }
    void setNotesAvailable(bool available) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // layout, in TFPlantasLayout.cpp
    void createControls();
    QWidget *createListColumn();
    QWidget *createPropertyPanels();
    QWidget *createDetailPages();
    QWidget *createNamesAndPhoto();
    QWidget *createMemoArea();
    QWidget *createClassStrips();
    QWidget *createBottomPanel();
    QWidget *createRelationPages();
    QWidget *createRelationPage(const char *pageName, const char *headerName, const QString &title,
                                const char *buttonName, const QString &buttonText, widgets::DBGrid *&grid,
                                const char *gridName, QPushButton *&button);
    void layoutPropertyPanels();

    bool FormCloseQuery();
    void FormClose();
    bool FormKeyDown(int key);
    void endSingleRecordView();
    QWidget *relationPageWidget(data::RelationPage page) const;
    QString firstArgument() const;
    void positionOnArgument();
    void search(const QString &text);
    void connectListAndPanels();
    void connectRelationCommands();
    // What the relation commands need of a page: its grid, view, catalogue and fields.
    struct RelationCommand {
        widgets::DBGrid *grid;
        store::Table *relation;
        store::Table *catalogue;
        QString pickerField, article, relatedKey, relatedOrder, ownerKey, ownerOrder, nameColumn;
    };
    std::optional<RelationCommand> relationCommandFor(QWidget *page) const;
    void writeRelation(const RelationCommand &cmd, int related, bool replaceCurrent);
    void visitRelated(widgets::DBGrid *grid, store::Table *rows, const QString &keyField);
    void relationFocusChanged(QWidget *old, QWidget *now);
    // Sets fields of the current plant record and posts it.
    void writeRecord(const QList<std::pair<QString, QVariant>> &values);
    bool panelEvent(QObject *watched, QEvent *event);
    // A changed record that no longer passes the list filter leaves the list; the count follows.
    void refreshList();
    void updateCount();
    // The typed text shows its end when it is wider than the strip, never under ">>>".
    void fitTypedText();
    void scalePhoto();
    void applyDesignSizes();
    QList<QWidget *> guardedEdits() const;

    // Controls, named as the program names them and found by that name (their objectName).
    QSplitter *Splitter5 = nullptr, *Splitter7 = nullptr, *Splitter2 = nullptr;
    QFrame *PanIzq = nullptr, *PanInstrUna = nullptr, *PanInd = nullptr, *PanNom = nullptr;
    QLabel *ImVolver = nullptr, *LabAtras = nullptr, *LabNom = nullptr, *LabCant = nullptr, *LabBus = nullptr;
    widgets::DropDownCombo *CBIdioma = nullptr;
    QPushButton *VerTodo = nullptr, *BotBusSinon = nullptr;
    widgets::DBGrid *GrNom = nullptr;
    QGroupBox *SelPlanForm = nullptr;
    QButtonGroup *SelPlanFormGroup = nullptr;
    QFrame *Panel31 = nullptr, *PanProp = nullptr, *PanCanales = nullptr, *PanSabor = nullptr, *PanEnergia = nullptr;
    QLabel *LabFic = nullptr;
    QPushButton *FiltrarProp = nullptr;
    QStackedWidget *FicPropAut = nullptr;
    QWidget *PagProps = nullptr, *PagAut = nullptr;
    QFrame *PanToxic = nullptr, *PanTox = nullptr;
    QLabel *ImTox = nullptr, *LabTox = nullptr;
    widgets::DBEdit *DBEdit17 = nullptr, *DBEdit6 = nullptr, *DBEdit1 = nullptr, *DBEdit5 = nullptr, *DBEdit3 = nullptr;
    QList<widgets::DBText *> SourceRows;
    QFrame *Panel1 = nullptr, *PanSup = nullptr, *PanCen = nullptr, *PanDer = nullptr;
    QFrame *Panel32 = nullptr, *PanIdiomas = nullptr, *PanFoto = nullptr, *PanBotIm = nullptr, *PanMort = nullptr,
           *PanPlanta = nullptr;
    QLabel *Label30 = nullptr, *Im = nullptr, *ImMort = nullptr, *ImPlanta = nullptr;
    QPushButton *Sinonimos = nullptr;
    widgets::DBEdit *EdPinYin = nullptr;
    QFrame *PanMemo = nullptr, *Panel12 = nullptr, *Panel2 = nullptr, *PanClase = nullptr, *PanSubClase = nullptr,
           *PanBot = nullptr, *PanLogoRec = nullptr, *PanFic = nullptr, *PanBotSint = nullptr;
    QTabBar *TabMemo = nullptr;
    QLabel *LabMemo = nullptr, *Image2 = nullptr, *Label24 = nullptr;
    QPushButton *Buscar = nullptr, *BotClase = nullptr, *BotSubClase = nullptr;
    widgets::DBText *LabClase = nullptr, *LabSubClase = nullptr;
    widgets::DBMemo *Memo = nullptr;
    QListWidget *ListaEsp = nullptr, *ListaIng = nullptr;
    QPushButton *Enlaces = nullptr, *Color = nullptr, *Ayuda = nullptr, *Glosario = nullptr, *Bibliografia = nullptr,
                *Mas = nullptr, *Menos = nullptr, *Salir = nullptr;
    QPushButton *Modificar = nullptr;
    QTabWidget *Ficha = nullptr;
    QWidget *PagAcc = nullptr, *PagSint = nullptr, *PagFormPl = nullptr, *PagPlForm = nullptr, *PagComp = nullptr;
    widgets::DBGrid *GrAcc = nullptr, *GrSint = nullptr, *GrFormPl = nullptr, *GrPlForm = nullptr, *GrComp = nullptr;
    QPushButton *DiagnosticarAcc = nullptr, *DiagnosticarInd = nullptr, *MostrarFor = nullptr, *MostrarIng = nullptr;
    QPushButton *Cambiar = nullptr, *Agregar = nullptr, *Quitar = nullptr, *Porcentaje = nullptr;
    QList<widgets::ProfileBar *> ChannelBars, TasteBars, NatureBars;
    QList<QLabel *> ToxicitySquares;
    QList<widgets::DBEdit *> NameEdits; // Ed0 to Ed10: the eleven names after the pin yin

    widgets::DataSource *SPlan = nullptr;
    widgets::DataSource *SNotas = nullptr;
    widgets::DataSource *SFuentes = nullptr;

    data::TDM *m_dm = nullptr;
    bool m_shown = false;
    QString m_startupError;
    bool m_closing = false;
    QEventLoop *m_singleLoop = nullptr;
    const QEvent *m_previewedKey = nullptr; // the key the window saw last, and where
    QPointer<QWidget> m_previewedAt;
    QStringList m_searchTerms;
    QPixmap m_photo; // the shown photo as stored; the view shows it scaled to its size
    bool m_tabChanging = false;
    store::Table *m_sinon = nullptr; // the typed search's own view of the synonyms
};

} // namespace mainwin
