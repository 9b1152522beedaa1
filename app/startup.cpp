#include "app/startup.h"

int RunTablewise(Instance)
{
    return 0;
}
