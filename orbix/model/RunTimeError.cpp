// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/RunTimeError.h"

namespace orbix {

void RaiseOverflow() { throw RunTimeError(errOverflow, "オーバーフローしました。"); }
void RaiseSubscript() { throw RunTimeError(errSubscript, "インデックスが有効範囲にありません。"); }
void RaiseTypeMismatch() { throw RunTimeError(errTypeMismatch, "型が一致しません。"); }

}  // namespace orbix
