// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/StartUp.h"

int main(int argc, char** argv) { return modDesign::Main(argc, argv); }
