#include "app/win32/run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) { return setip::win32::runSetip(instance, show); }
