// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace corvane {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the setjmp of the step that was running.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Everything a decode needs, kept free of C++ objects so that a jump leaves nothing behind.
struct JpegDecoder {
    jpeg_decompress_struct info{};
    JpegErrorManager error{};
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(error->jump, 1);
}

// Warnings of a damaged file are not the user's business; a fatal error is reported by the
// null image.
void Silent(j_common_ptr /*info*/) {}

bool StartDecoding(JpegDecoder& decoder, const unsigned char* data, unsigned long size) {
    if (setjmp(decoder.error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&decoder.info);
    jpeg_mem_src(&decoder.info, data, size);
    jpeg_read_header(&decoder.info, TRUE);
    decoder.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder.info);
    return decoder.info.output_components == 3;
}

bool ReadScanlines(JpegDecoder& decoder, unsigned char* bits, qsizetype bytesPerLine) {
    if (setjmp(decoder.error.jump) != 0) {
        return false;
    }
    while (decoder.info.output_scanline < decoder.info.output_height) {
        JSAMPROW row = bits + static_cast<qsizetype>(decoder.info.output_scanline) * bytesPerLine;
        jpeg_read_scanlines(&decoder.info, &row, 1);
    }
    jpeg_finish_decompress(&decoder.info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    JpegDecoder decoder;
    decoder.info.err = jpeg_std_error(&decoder.error.pub);
    decoder.error.pub.error_exit = JumpBack;
    decoder.error.pub.output_message = Silent;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());

    QImage image;
    if (StartDecoding(decoder, data, size)) {
        image = QImage(static_cast<int>(decoder.info.output_width),
                       static_cast<int>(decoder.info.output_height), QImage::Format_RGB888);
        if (image.isNull() || !ReadScanlines(decoder, image.bits(), image.bytesPerLine())) {
            image = QImage();
        }
    }
    // Safe after any failure: it frees what was allocated and nothing more.
    jpeg_destroy_decompress(&decoder.info);
    return image;
}

QImage LoadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return DecodeJpeg(file.readAll());
}

} // namespace corvane
