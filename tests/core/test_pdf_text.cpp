// SPDX-License-Identifier: GPL-3.0-or-later
// A PDF's text as the importer reads it: books too long or without text refused by name.
#include "import/pdf_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

// A PDF of `count` empty pages, all sharing one content stream.
std::string EmptyPages(int count) {
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "",
                                        "<< /Length 0 >>\nstream\n\nendstream"};
    std::string kids;
    for (int i = 0; i < count; ++i) {
        kids += std::to_string(objects.size() + 1) + " 0 R ";
        objects.push_back(
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 3 0 R >>");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(count) + " >>";
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string offset = std::to_string(pdf.size());
        xref += std::string(10 - offset.size(), '0') + offset + " 00000 n \n";
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t start = pdf.size();
    return pdf + xref + "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(start) + "\n%%EOF\n";
}

TEST(PdfText, RefusesMorePagesThanAnyBookHasBeforeReadingThem) {
    const PdfText many = ReadPdfText(EmptyPages(kMaxPdfPages + 1), "many.pdf");
    ASSERT_TRUE(many.error.has_value());
    EXPECT_EQ(*many.error, "many.pdf: a PDF of " + std::to_string(kMaxPdfPages + 1) +
                               " pages, at most " + std::to_string(kMaxPdfPages) +
                               " are read; is it a results book?");
    const PdfText few = ReadPdfText(EmptyPages(3), "few.pdf");
    EXPECT_EQ(few.error.value_or(""), "few.pdf: a PDF without text (a scanned book?); only books "
                                      "with a text layer are read");
}

} // namespace
} // namespace corvane
