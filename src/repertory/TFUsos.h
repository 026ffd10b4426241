#pragma once

#include "store/Table.h"
#include "widgets/DBGrid.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;

namespace data { class TDM; }

namespace repertory {

class TFPlanRep;

// The catalogue the window is opened for.
enum class CatalogueKind { Actions = 0, Indications = 1 };

// What changes with the catalogue kind, by kind.
struct KindRow {
    const char *catalogueTable;
    const char *relationTable;
    const char *itemKeyField;   // of the relation: the item's Clave
    const char *itemOrderField; // of the relation: the item's Orden, which the detail link matches
    const char *relationIndex;
    int itemNoun;       // entry of the interface texts
    int catalogueTitle; // entry of the interface texts
    const char *filePrefix;
};
extern const KindRow CatalogueKinds[2];

// The repertorization window. Created once at start-up; the main window hands over to it and
// waits until it is hidden again. The user picks actions or indications, and the repertory keeps
// for every plant how many of the picked items it is related to.
class TFUsos : public QDialog {
    Q_OBJECT
public:
    explicit TFUsos(QWidget *parent = nullptr);
    ~TFUsos() override;

    // Shows the window for actions (0) or indications (1). `reload` is set by the caller when the
    // kind is not the one last opened in this run: the catalogue is switched and the selection and
    // the repertory start empty.
    void OpenCatalogue(CatalogueKind kind, bool reload);
    int catalogueKind() const { return m_kind; }
    int catalogueLoads() const { return m_loads; }

    void ApplyEnglish();
    void ApplyColorScheme();
    void ApplyTextSize();
    void RefreshState();
    static void SplitSearchWords(const QString &text, QStringList &words);
    void SyncPlantNames();

    // --- handlers ---
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void CerrarClick();
    void EdChange();
    void RGBusClick();
    void VerTodasClick();
    bool TablaFilterRecord(const store::Table &row) const;
    void TablaAfterScroll();
    void AgregarClick();
    void QuitarClick();
    void IniciarClick();
    void FiltrarClick();
    void TodoClick();
    bool TRepFilterRecord(const store::Table &row) const;
    void BotMosFicClick();
    void BotCopiarClick();
    void PlanRepClick();
    void AbrirClick();
    void GuardarClick();
    void ColorClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void ModificarClick();
    void ReadPatientHandOff();
    void Splitter1Moved();
    void Splitter2Moved();
    void Splitter3Moved();

    // Fills the chart window from the selection and the repertory, under the progress window.
    // False when the user cancelled; the chart window is then left as it was.
    bool BuildChart();

    // Raises (lowers) the count of every plant related to the catalogue item with this Orden.
    void AddToRepertory(int itemOrder);
    void RemoveFromRepertory(int itemOrder);

    // --- tables ---
    store::Table *Tabla = nullptr;
    store::Table *TRel = nullptr;
    store::Table *TSel = nullptr;
    store::Table *TRep = nullptr;

    QString ItemNoun;
    QString CatalogueTitle;
    QString FilePrefix;
    QString PatientFile;
    QStringList SearchWords;
    int AppliedNameLanguage = -1;
    bool Modified = false;

    // --- controls ---
    QFrame *PanBot, *Panel8, *PanPac, *PanIzq, *PanSupIzq, *PanSel, *PanDer, *PanPlantas, *PanRep, *PanEdNom,
        *PanBotPlan, *Panel1, *Panel2, *Panel4, *Panel5, *Panel6, *Panel7, *PanMosFic;
    QLabel *Image2, *Label9, *LabPac, *Lab1, *Lab2, *Lab3, *Lab4;
    QPushButton *Cerrar, *Color, *Abrir, *Guardar, *Modificar, *Agregar, *VerTodas, *Quitar, *Iniciar, *Filtrar, *Todo,
        *PlanRep, *BotCopiar, *BotMosFic;
    QToolButton *SpeedButton1, *SpeedButton2;
    QLineEdit *Ed;
    QGroupBox *RGBus;
    QButtonGroup *RGBusGroup;
    QCheckBox *ChPac;
    widgets::DBGrid *Gr1, *Gr2, *Gr3, *Gr4;
    QSplitter *Splitter1, *Splitter2, *Splitter3;

    int searchMode() const;

signals:
    void hidden();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void configureKind(int kind);
    void bindGrids();
    QString nameField() const;
    QString nameIndex() const;
    int itemOrderOf(int key) const;
    void focusChanged(QWidget *old, QWidget *now);
    // The counts follow the relation rows in one statement; the store is then told the table changed.
    void applyCountChange(const QString &sql, int itemOrder);

    data::TDM *m_dm = nullptr;
    store::Session *m_session = nullptr;
    int m_kind = -1;
    int m_loads = 0;
    bool m_closing = false;
};

} // namespace repertory
