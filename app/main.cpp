// Entry point. The interactive program is assembled step by step; until its windows exist this
// says so and ends.
#include <cstdio>

int main()
{
    std::puts("tablewise: the interactive program is not built yet; `make test` runs the suite.");
    return 1;
}
