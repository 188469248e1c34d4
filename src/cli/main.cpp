// dsp4620-cli: the scripting face of the core.
#include <cstdio>
#include <cstring>

namespace {
const char* const kUsage = "usage: dsp4620-cli COMMAND [ARGS]\n"
                           "       dsp4620-cli COMMAND --help\n";
}

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "dsp4620-cli: unknown command '%s'\n%s", argv[1], kUsage);
    return 2;
}
