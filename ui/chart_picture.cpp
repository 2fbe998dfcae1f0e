// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chart_picture.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace corvane {

namespace {

bool WritePng(QWidget& widget, QSaveFile& file) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    widget.render(&painter);
    painter.end();
    QImageWriter writer(&file, "png");
    return writer.write(image);
}

bool WriteSvg(QWidget& widget, QSaveFile& file, const QString& title) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(widget.size());
    generator.setViewBox(QRect(QPoint(0, 0), widget.size()));
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    widget.render(&painter);
    return painter.end();
}

} // namespace

std::optional<PictureKind> PictureKindOf(const QString& path) {
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return PictureKind::Png;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return PictureKind::Svg;
    return std::nullopt;
}

std::optional<QString> SavePicture(QWidget& widget, const QString& path, const QString& title) {
    const std::optional<PictureKind> kind = PictureKindOf(path);
    if (!kind)
        return QStringLiteral("the file name must end in .png or .svg");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const bool drawn =
        *kind == PictureKind::Png ? WritePng(widget, file) : WriteSvg(widget, file, title);
    if (!drawn || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the picture could not be drawn");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace corvane
