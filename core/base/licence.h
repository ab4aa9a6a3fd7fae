// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lines that follow the program's name and version in every --version answer.
inline constexpr const char* LicenceNotice =
    "Copyright 2026 KT-520 developers\n"
    "Licence: GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";
