// SPDX-License-Identifier: GPL-3.0-or-later
#include "dive_tables.h"
#include "ui/chart_render.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return corvane::RunDiveTables({argv + 1, argv + argc}, std::cout, std::cerr,
                                  corvane::WriteChartPicture);
}
