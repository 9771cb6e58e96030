#include "app/Startup.h"

int main(int argc, char* argv[]) {
    return portolan::startPortolan(argc, argv);
}
