#include "platform_input/x_test_support.h"

int main(int argc, char** argv) { return zrv::test::RunOnPrivateXServer(argc, argv); }
