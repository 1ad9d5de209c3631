// scrplayer: the packed screen-saver player. Packages are appended to this program.
#include "platform/ExecutablePath.h"
#include "startup/Dispatch.h"

int main(int argc, char** argv) {
    return scr::RunProgram(argc, argv, scr::ExecutablePath());
}
