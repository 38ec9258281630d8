// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/InputReady.h"

namespace modResult {

bool InputReady = false;

}  // namespace modResult
