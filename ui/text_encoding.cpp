// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_encoding.h"

#include <QStringDecoder>

namespace corvane {

QString FromCellBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToCellBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

QString FromCoreText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? FromCellBytes(bytes) : text;
}

} // namespace corvane
