// The player's version, in its status line and in its version resource: written once here.
#pragma once

#define PLIMO_VERSION "2.1.3"
#define PLIMO_VERSION_NUMBERS 2, 1, 3, 0
