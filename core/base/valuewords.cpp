// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/valuewords.h"

ValueWords ValueWords::simplifiedChinese() {
    return {u"禁用"_qs, u"启用"_qs, u"高功率"_qs, u"中功率"_qs, u"低功率"_qs,
            u"宽带"_qs, u"窄带"_qs, u"压扩"_qs,   u"扰频"_qs};
}

ValueWords ValueWords::english() {
    return {u"OFF"_qs,  u"ON"_qs,     u"High"_qs, u"Mid"_qs,      u"Low"_qs,
            u"Wide"_qs, u"Narrow"_qs, u"Comp"_qs, u"scrambler"_qs};
}

ValueWords ValueWords::traditionalChinese() {
    return {u"禁用"_qs, u"啟用"_qs, u"高功率"_qs, u"中功率"_qs, u"低功率"_qs,
            u"寬帶"_qs, u"窄帶"_qs, u"壓擴"_qs,   u"擾頻"_qs};
}
