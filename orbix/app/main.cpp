#include "orbix/design/StartUp.h"

int main(int argc, char** argv) { return modOrbix::Main(argc, argv); }
