// scrtool: builds, inspects and exports packed screen savers.
#include "tools/ToolCommands.h"

int main(int argc, char** argv) {
    return scr::RunTool(argc, argv);
}
