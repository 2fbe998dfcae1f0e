// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fixed_text.h"

namespace corvane {

// One dive of one diver, as a line of a result file states it.
struct DiveRecord {
    FixedText<10> DiverId;
    FixedText<5> DiveCode;
    double DD = 0.0;
    double Points = 0.0;
};

} // namespace corvane
