#include "app/qt/run.h"

int main(int argc, char** argv) { return setip::qt::runSetip(argc, argv); }
