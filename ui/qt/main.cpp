#include "ui/qt/startup.h"

int main(int argc, char** argv) { return appdu::qt::RunProgram(argc, argv); }
