#include "pages/EfxPictures.h"

#include <QtGlobal>

int EfxTitlePicture(int kind, int language)
{
    if (kind != 6 && kind != 7 && kind != 9 && kind != 10) {
        return -1;
    }
    return 4200 + 2 * kind + (language == 1 ? 1 : 0);
}

// The pictures live in this static library, which nothing else references by name: register
// them by hand, or the linker may drop them.
static void InitPageResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pages);
        return true;
    }();
    (void)done;
}

void InitEfxPictures()
{
    InitPageResources();
}
