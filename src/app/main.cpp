// zrv31: the configurator's window.
#include "app/start_up.h"

int main(int argc, char** argv) { return zrv::app::RunApplication(argc, argv); }
