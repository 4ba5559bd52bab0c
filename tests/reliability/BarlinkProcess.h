// The real program's rig lives with the other shared rigs; this name stays for its users.
#include "../common/BarlinkProcess.h"
