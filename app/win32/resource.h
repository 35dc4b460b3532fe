#pragma once

// Resource numbers, shared by the resource script and the code that loads them.
#define SETIP_ICON 1
