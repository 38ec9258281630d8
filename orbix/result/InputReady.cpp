#include "orbix/result/InputReady.h"

namespace modOrbix {

bool InputReady = false;

}  // namespace modOrbix
