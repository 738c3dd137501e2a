#include "core/RunOptions.h"

__attribute__((section(".bss"))) CommandLineOptions RunOptions;
