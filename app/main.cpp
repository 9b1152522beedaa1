// Entry point of the desktop program: the command line, the X display, then start-up, the
// message loop and the exit code, which belong to RunTablewise. Exit codes (README, "Exit
// codes", and the manual page): 0, 2 and -1 from RunTablewise; 64 for a command line it does
// not understand; 1 when the display cannot be opened.
#include "app/startup.h"
#include "platform/fltk/fltk_open_display.h"

#include <cstdio>
#include <cstring>

#ifndef TABLEWISE_VERSION
#error "TABLEWISE_VERSION (the project's version) must be defined by the build"
#endif

namespace {

constexpr int ExitNoDisplay = 1;
constexpr int ExitUsage = 64;  // EX_USAGE

void PrintUsage(std::FILE* out)
{
    std::fputs("Usage: tablewise [--help | --version]\n"
               "Odds assistant for Texas Hold'em and Omaha Hold'em: pick your cards and the\n"
               "board, describe the opponents, and read the odds of your hand.\n"
               "\n"
               "  -h, --help     show this help and exit\n"
               "  --version      show the version and exit\n"
               "\n"
               "Without options the program opens its windows on the X display named by\n"
               "DISPLAY. See tablewise(6) for the exit codes.\n",
               out);
}

}  // namespace

int main(int argc, char** argv)
{
    // Options are read in order: the first --help or --version answers, the first argument
    // that is neither is reported.
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            PrintUsage(stdout);
            return 0;
        }
        if (!std::strcmp(arg, "--version")) {
            std::puts("tablewise " TABLEWISE_VERSION);
            return 0;
        }
        std::fprintf(stderr, "tablewise: %s '%s'\n",
                     arg[0] == '-' ? "unknown option" : "unexpected argument", arg);
        PrintUsage(stderr);
        return ExitUsage;
    }
    if (!OpenDisplay())
        return ExitNoDisplay;
    return RunTablewise(nullptr);
}
