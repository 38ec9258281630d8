#include "orbix/result/InputReady.h"

namespace modResult {

bool InputReady = false;

}  // namespace modResult
