#include "pages/EqKinds.h"

#include "eq/EqTexts.h"

const char* EqKindTitle(int kind, int language)
{
    if (kind < 0 || kind >= kEqPanelKinds) {
        return "";
    }
    return kEqKindTitles[kind][language];
}
