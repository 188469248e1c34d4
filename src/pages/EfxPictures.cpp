#include "pages/EfxPictures.h"

int EfxTitlePicture(int kind, int language)
{
    if (kind != 6 && kind != 7 && kind != 9 && kind != 10) {
        return -1;
    }
    return 4200 + 2 * kind + (language == 1 ? 1 : 0);
}
