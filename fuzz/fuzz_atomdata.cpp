// SPDX-License-Identifier: BSD-3-Clause
// The element-table reader on arbitrary bytes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    AtomTable table;
    std::string message;
    if (modOrbix::LoadAtomLines(modCommon::SplitLines(bytes), table, message)) {
        for (const auto& a : table) {
            // Accepted values are always usable numbers.
            if (!std::isfinite(a->Ha()) || !std::isfinite(a->Hb()) || !std::isfinite(a->Hl()) ||
                a->E_num() <= 0 || a->Hands() <= 0)
                std::abort();
        }
    } else if (message.empty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}
