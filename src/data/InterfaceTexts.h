#pragma once

#include <QStringList>

namespace data {

// Where each entry of the interface texts stands (Texts.value(Txt::Selected)…).
namespace Txt {
enum : int {
    Actions = 0,
    Indications = 1,
    Ingredients = 2,
    Formulas = 3,
    NameField = 4,
    Class = 5,
    SelectOne = 6,
    NoSubClasses = 7,
    Selected = 8,
    RepertorizedItems = 9,
    Elements = 10,
    StoredElements = 11,
    TheAction = 12,
    TherapeuticActions = 13,
    TheIndication = 14,
    IndicationsTitle = 15,
    AlreadyInList = 16,
    MustSelectClass = 20,
    NoSynonyms = 21,
    RepertoryCopied = 22,
    ChartCopied = 23,
    NoSavedFiles = 24,
    QuitQuestion = 25,
    NewRepertorization = 26,
    SaveChanges = 27,
    SearchBy = 28,
    SelectRepertory = 29,
    SaveRepertory = 30,
    Processing = 31,
    CancelQuestion = 32,
};
} // namespace Txt

// The 42 interface texts read by index, Spanish and English, line by line.
const QStringList &spanishTexts();
const QStringList &englishTexts();

} // namespace data
