#pragma once

#include <QString>

namespace data {

// What the plant list shows: elements, formulas, or both ("Todo").
enum class ListKind { Elements = 0, Formulas = 1, All = 2 };

// The relation pages of the main window, as the data module refers to them.
enum class RelationPage { Actions, Indications, Formulas, Ingredients, Other };

// What the data module needs of the main window: the state that decides what the list shows and
// what a new record is, and the panels it refreshes when the current record changes. The main
// window implements it; the module never includes a window.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // --- state ---
    virtual ListKind kindSelection() const = 0;
    virtual bool editingMode() const = 0;  // the "Modificar" toggle is down
    // The item of the list's naming language: 0 PinYin, 1 to 4 the names Nom0 to Nom3.
    virtual int namingLanguage() const = 0;
    virtual bool textSearchActive() const = 0;
    virtual bool propFilterActive() const = 0;
    virtual bool matchProps(const QString &meridianos, const QString &energia, const QString &sabor) const = 0;
    virtual void showMessage(const QString &text) = 0;

    // --- record panels, in the order the refresh runs them ---
    virtual void showPhotoOrPlaceholder(bool hasPhoto, bool formula) = 0;
    virtual void setRelationCaption(RelationPage page, const QString &caption) = 0;
    virtual int photoNumber() const = 0;
    virtual void advancePhoto() = 0;
    virtual void showDetailsPage(bool formula) = 0;
    virtual void showFormulaProfile() = 0;
    virtual void showProfileStrings(const QString &meridianos, const QString &sabor, const QString &energia) = 0;
    virtual RelationPage activeRelationPage() const = 0;
    virtual void setActiveRelationPage(RelationPage page) = 0;
    virtual void setRelationTabVisible(RelationPage page, bool visible) = 0;
    virtual void relationPageChanged() = 0; // FichaChange
    // The notes memo shows the notes row of the current record; a record that has no key yet
    // (added, not posted) has none, and the memo must not write into another plant's row.
    virtual void setNotesAvailable(bool available) = 0;
};

} // namespace data
