// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/clsAtom.h"

#include "orbix/model/modFormat.h"

bool clsAtom::Init(const std::vector<std::string>& fields) {
    if (fields.size() != 7) return false;
    std::int16_t eNum = modFormat::ToInt16(fields[1]);
    if (eNum <= 0) return false;
    std::int16_t hands = modFormat::ToInt16(fields[5]);
    if (hands <= 0) return false;
    float ha = modFormat::ToSingle(fields[2]);
    float hb = modFormat::ToSingle(fields[3]);
    float hl = modFormat::ToSingle(fields[4]);
    std::int16_t index = modFormat::ToInt16(fields[6]);
    eNum_ = eNum;
    hands_ = hands;
    ha_ = ha;
    hb_ = hb;
    hl_ = hl;
    caption_ = fields[0];
    index_ = index;
    return true;
}
