// alk_activesync_manager.exe: the ActiveSync service manager's double as a console program (its
// commands: sdk/activesync/manager/Manager.h).
#include "sdk/activesync/manager/Manager.h"

int main(int argc, char** argv)
{
    return AlkManagerMain(argc - 1, argv + 1);
}
