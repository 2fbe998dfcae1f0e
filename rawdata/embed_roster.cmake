# SPDX-License-Identifier: GPL-3.0-or-later
# Turns roster.tsv into a C++ string constant.
file(READ "${INPUT}" text)
file(WRITE "${OUTPUT}" "// Generated from roster.tsv.\nnamespace corvane {\nextern const char kRosterText[];\nconst char kRosterText[] = R\"roster(${text})roster\";\n}\n")
