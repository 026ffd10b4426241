#include "Shell.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace common {

void RunFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        throw ShellError(QStringLiteral("No se encuentra el archivo %1").arg(fileName));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())))
        throw ShellError(QStringLiteral("No hay un programa para abrir %1").arg(fileName));
}

void SendMailTo(const QString &address)
{
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address)))
        throw ShellError(QStringLiteral("No hay un programa de correo para escribir a %1").arg(address));
}

void ShowWaitCursor()
{
    // The hourglass shows while the caller's work runs and goes when the event loop next gets
    // control, so no caller has to undo it.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, [] { QApplication::restoreOverrideCursor(); });
}

} // namespace common
