// Entry point of the desktop program: start-up, the message loop and the exit code all belong
// to RunTablewise. The program takes no arguments; there is no module handle to pass on.
#include "app/startup.h"

int main()
{
    return RunTablewise(nullptr);
}
