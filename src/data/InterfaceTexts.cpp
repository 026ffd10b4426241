#include "InterfaceTexts.h"

namespace data {

namespace {

QStringList withNumberedTail(QStringList lines)
{
    for (int i = 33; i <= 40; ++i)
        lines << QString::number(i);
    lines << QString();
    return lines;
}

} // namespace

const QStringList &spanishTexts()
{
    static const QStringList texts = withNumberedTail({
        QStringLiteral("Acciones"),
        QStringLiteral("Indicaciones"),
        QStringLiteral("Ingredientes"),
        QStringLiteral("Fórmulas"),
        QStringLiteral("Nom"),
        QStringLiteral("Clase"),
        QStringLiteral("Seleccione una"),
        QStringLiteral("No hay Sub-Clases"),
        QStringLiteral("Seleccionados"),
        QStringLiteral("Items repertorizados"),
        QStringLiteral("Elementos"),
        QStringLiteral("Elementos almacenados"),
        QStringLiteral("La acción terapéutica"),
        QStringLiteral("Acciones terapéuticas"),
        QStringLiteral("La indicación"),
        QStringLiteral("Indicaciones"),
        QStringLiteral("ya está en la lista"),
        QStringLiteral("17----DISPONIBLE--------"),
        QStringLiteral("18----DISPONIBLE--------"),
        QStringLiteral("19----DISPONIBLE--------"),
        QStringLiteral("Deberá seleccionar una Clase"),
        QStringLiteral("Sin sinónimos"),
        QStringLiteral("El Repertorio fue copiado al portapapeles"),
        QStringLiteral("La planilla fue copiada al portapapeles"),
        QStringLiteral("No hay archivos guardados"),
        QStringLiteral("Desea salir de la aplicación Herbaxis ?"),
        QStringLiteral("Inicia una nueva repertorización ?"),
        QStringLiteral("Guarda los cambios efectuados ?"),
        QStringLiteral("Búsqueda por"),
        QStringLiteral("Seleccione el Repertorio"),
        QStringLiteral("Guardar Repertorio"),
        QStringLiteral("Procesando..."),
        QStringLiteral("Desea cancelar ?"),
    });
    return texts;
}

const QStringList &englishTexts()
{
    static const QStringList texts = withNumberedTail({
        QStringLiteral("Actions"),
        QStringLiteral("Indications"),
        QStringLiteral("Ingredients"),
        QStringLiteral("Formulas"),
        QStringLiteral("NomIng"),
        QStringLiteral("Class"),
        QStringLiteral("Select a "),
        QStringLiteral("No sub-classes"),
        QStringLiteral("Selected"),
        QStringLiteral("Repertorized Items"),
        QStringLiteral("Elements"),
        QStringLiteral("Stored elements"),
        QStringLiteral("The action"),
        QStringLiteral("Actions"),
        QStringLiteral("The indication"),
        QStringLiteral("Indications"),
        QStringLiteral("is already in the list"),
        QStringLiteral("17----DISPONIBLE--------"),
        QStringLiteral("18----DISPONIBLE--------"),
        QStringLiteral("19----DISPONIBLE--------"),
        QStringLiteral("You must select a Class"),
        QStringLiteral("No synonyms"),
        QStringLiteral("Repertory has been copied to clipboard"),
        QStringLiteral("Chart has been copied to clipboard"),
        QStringLiteral("No files saved"),
        QStringLiteral("Do you want to exit Herbaxis ?"),
        QStringLiteral("Start a new Repertory ?"),
        QStringLiteral("Save changes ?"),
        QStringLiteral("Search for"),
        QStringLiteral("Select Repertory"),
        QStringLiteral("Save Repertory"),
        QStringLiteral("Processing..."),
        QStringLiteral("Do you want to cancel ?"),
    });
    return texts;
}

} // namespace data
