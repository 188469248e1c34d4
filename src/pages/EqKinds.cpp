#include "pages/EqKinds.h"

#include "dsp/EqBands.h"
#include "eq/EqTexts.h"
#include "model/ParamIds.h"

namespace {
struct KindPlace
{
    int block;
    int firstBand;
};

KindPlace PlaceOf(int kind)
{
    switch (kind) {
    case EQ_KIND_MUSIC:
        return {4, 0};
    case EQ_KIND_MIC_A:
        return {1, 0};
    case EQ_KIND_MIC_B:
        return {1, 10};
    case EQ_KIND_ECHO_A:
        return {2, 0};
    case EQ_KIND_ECHO_B:
        return {2, 7};
    case EQ_KIND_REVERB_A:
        return {3, 0};
    case EQ_KIND_REVERB_B:
        return {3, 7};
    case EQ_KIND_MAIN:
        return {5, 0};
    case EQ_KIND_REAR:
        return {6, 0};
    case EQ_KIND_CENTER:
        return {7, 0};
    case EQ_KIND_SUB:
        return {8, 0};
    case EQ_KIND_TOP:
        return {9, 0};
    default:
        return {1, 0};
    }
}
} // namespace

EqBand LoadKindBand(int kind, int band)
{
    const KindPlace place = PlaceOf(kind);
    return LoadEqBand(place.block, place.firstBand + band);
}

int EqBypassCell(int kind)
{
    switch (kind) {
    case EQ_KIND_MUSIC:
        return PRM_MUSIC_EQ_BYPASS;
    case EQ_KIND_MIC_A:
        return PRM_MICA_EQ_BYPASS;
    case EQ_KIND_MIC_B:
        return PRM_MICB_EQ_BYPASS;
    case EQ_KIND_REVERB_A:
        return PRM_REVA_EQ_BYPASS;
    case EQ_KIND_REVERB_B:
        return PRM_REVB_EQ_BYPASS;
    case EQ_KIND_ECHO_A:
        return PRM_ECHOA_EQ_BYPASS;
    case EQ_KIND_ECHO_B:
        return PRM_ECHOB_EQ_BYPASS;
    case EQ_KIND_MAIN:
        return PRM_MAIN_EQ_BYPASS;
    case EQ_KIND_REAR:
        return PRM_REAR_EQ_BYPASS;
    case EQ_KIND_CENTER:
        return PRM_CENTER_EQ_BYPASS;
    case EQ_KIND_SUB:
        return PRM_SUB_EQ_BYPASS;
    case EQ_KIND_TOP:
        return PRM_TOP_EQ_BYPASS;
    default:
        return 0;
    }
}

const char* EqKindTitle(int kind, int language)
{
    if (kind < 0 || kind >= kEqPanelKinds) {
        return "";
    }
    return kEqKindTitles[kind][language];
}
