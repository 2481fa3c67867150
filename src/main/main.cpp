#include "main/shell.h"
#include "world/level.h"

int main() { return runGame(builtinLevel()); }
