#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the small PDF files of this folder by hand, byte by byte: a results page of two
# divers (one dive's points do not follow from its awards), and the inputs dive-import must
# refuse: not a PDF, truncated, without text, encrypted, a PDF that is no results book.
# Usage: tests/data/pdf/make_pdfs.py (writes beside itself)
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def pdf(objects, trailer_extra=""):
    out = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R {trailer_extra}>>\n"
            f"startxref\n{xref}\n%%EOF\n").encode()
    return out


def page(content):
    stream = content.encode("latin-1")
    return [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]


def words(placed):
    """Text at (x, top, size, text) places, tops measured from the page's top edge."""
    return "\n".join(f"BT /F1 {size} Tf {x} {842 - top - size} Td ({text}) Tj ET"
                     for x, top, size, text in placed)


def results_page():
    placed = [(83, 85, 12, "Event 206 Men's 3m Springboard"), (450, 85, 12, "Final"),
              (250, 128, 12, "Detailed Results")]
    for x, label in [(222, "Dive"), (398, "Dive"), (430, "Dive"), (460, "Total"),
                     (490, "Overall"), (525, "Points")]:
        placed.append((x, 165, 8, label))
    for x, label in [(53, "Rank"), (78, "Name"), (171, "NAT"), (249, "DD")]:
        placed.append((x, 170, 8, label))
    lower = [(226, "No.")] + [(269 + 18 * j, f"J{j + 1}") for j in range(7)]
    lower += [(396, "Points"), (428, "Rank"), (458, "Points"), (488, "Rank"), (523, "Behind")]
    placed += [(x, 175, 8, label) for x, label in lower]
    rows = [
        (185, ["1", "LOS Emil", "CHN"], ["407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5", "81.60", "1",
                                        "81.60", "1", ""]),
        (194, None, ["207C", "3.6", "8.0 8.0 8.0 8.0 8.0 8.0 8.0", "86.40", "1", "168.00", "1", ""]),
        # 7.5 x 3 x 3.0 is 67.50: the printed 67.60 does not follow.
        (212, ["2", "NORS Agnes", "USA"], ["405B", "3.0", "7.5 7.5 7.5 7.5 7.5 7.5 7.5", "67.60",
                                           "2", "67.60", "2", "14.00"]),
    ]
    for top, diver, values in rows:
        if diver:
            placed += [(64, top, 8, diver[0]), (78.5, top, 8, diver[1]), (171, top, 8, diver[2])]
        code, dd, awards, points, dive_rank, total, overall, behind = values
        placed += [(218, top, 8, code), (249, top, 8, dd)]
        placed += [(268 + 18 * j, top, 8, a) for j, a in enumerate(awards.split())]
        placed += [(395, top, 8, points), (438, top, 8, dive_rank), (452, top, 8, total),
                   (503, top, 8, overall)]
        if behind:
            placed.append((523, top, 8, behind))
    return words(placed)


def main():
    def write(name, data):
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(data)

    write("one-fault-book.pdf", pdf(page(results_page())))
    other = words([(72, 60, 12, "Swimming Championships 2019 - Final Results"),
                   (72, 90, 10, "Rank Name Time"), (72, 105, 10, "1 SMITH Anna 58.21")])
    other_pdf = pdf(page(other))
    write("not-a-results-book.pdf", other_pdf)
    write("no-text.pdf", pdf(page("0 0 m 100 100 l S")))
    # Cut inside the page's text: the cross-reference table and the trailer are gone.
    write("truncated.pdf", other_pdf[:len(other_pdf) * 2 // 5])
    # The standard security handler with a user password nobody gave.
    encrypt = (b"<< /Filter /Standard /V 1 /R 2 /O <" + b"11" * 32 + b"> /U <" + b"22" * 32 +
               b"> /P -4 >>")
    ident = "<0123456789abcdef0123456789abcdef>"
    write("encrypted.pdf", pdf(page(other) + [encrypt], f"/Encrypt 6 0 R /ID [{ident} {ident}] "))
    write("not-a-pdf.pdf", b"Rank;Name;Points\n1;SMITH Anna;58.21\n")


main()
