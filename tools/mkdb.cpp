// Builds a working folder from the plain-text sample sources:
//   herbaxis-mkdb SOURCE-FOLDER TARGET-FOLDER
#include "SampleImport.h"
#include "data/Schema.h"
#include "store/Error.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The placeholder shown where a record has no photo yet.
void drawPlaceholder(const QString &path, const QString &caption, const QColor &tint)
{
    QImage image(240, 180, QImage::Format_RGB32);
    image.fill(QColor(246, 243, 235));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(tint, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 8, 224, 164), 14, 14);
    // A stylised leaf.
    QPainterPath leaf;
    leaf.moveTo(120, 40);
    leaf.cubicTo(160, 60, 160, 110, 120, 130);
    leaf.cubicTo(80, 110, 80, 60, 120, 40);
    p.setBrush(tint.lighter(160));
    p.drawPath(leaf);
    p.drawLine(QPointF(120, 50), QPointF(120, 140));
    QFont font = p.font();
    font.setPointSize(11);
    p.setFont(font);
    p.setPen(tint.darker(150));
    p.drawText(QRectF(8, 140, 224, 30), Qt::AlignCenter, caption);
    p.end();
    image.save(path, "BMP");
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: herbaxis-mkdb SOURCE-FOLDER TARGET-FOLDER\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    const bool existed = QDir(target).exists();
    try {
        data::importSample(source, target);
        const QDir english(QDir(target).filePath(QString::fromLatin1(data::EnglishFolderOff)));
        drawPlaceholder(english.filePath(QStringLiteral("Im2.bmp")), QStringLiteral("No photo yet — click to import"),
                        QColor(70, 130, 70));
        drawPlaceholder(english.filePath(QStringLiteral("Im3.bmp")), QStringLiteral("Formula"), QColor(150, 90, 40));
    } catch (const store::Error &e) {
        std::fprintf(stderr, "herbaxis-mkdb: %s\n", qPrintable(e.message()));
        if (!existed) // never remove a folder that was there before
            QDir(target).removeRecursively();
        return 1;
    }
    return 0;
}
