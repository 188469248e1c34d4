#include "model/Outputs.h"

#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/Setters.h"

#include <algorithm>
#include <cstring>

namespace {
const std::array<OutputCells, 5> kOutputs = {{
    {5,
     5,
     {PRM_MAIN_MIX_DIRECT, PRM_MAIN_MIX_REVERB, PRM_MAIN_MIX_ECHO, PRM_MAIN_MIX_MUSIC},
     PRM_MAIN_SURROUND,
     PRM_MAIN_MUTE,
     PRM_MAIN_EQ_BYPASS,
     "main"},
    {3,
     7,
     {PRM_CENTER_MIX_DIRECT, PRM_CENTER_MIX_REVERB, PRM_CENTER_MIX_ECHO, PRM_CENTER_MIX_MUSIC},
     0,
     PRM_CENTER_MUTE,
     PRM_CENTER_EQ_BYPASS,
     "center"},
    {2,
     8,
     {PRM_SUB_MIX_DIRECT, PRM_SUB_MIX_REVERB, PRM_SUB_MIX_ECHO, PRM_SUB_MIX_MUSIC},
     0,
     PRM_SUB_MUTE,
     PRM_SUB_EQ_BYPASS,
     "sub"},
    {4,
     6,
     {PRM_REAR_MIX_DIRECT, PRM_REAR_MIX_REVERB, PRM_REAR_MIX_ECHO, PRM_REAR_MIX_MUSIC},
     PRM_REAR_SURROUND,
     PRM_REAR_MUTE,
     PRM_REAR_EQ_BYPASS,
     "rear"},
    {11,
     9,
     {PRM_TOP_MIX_DIRECT, PRM_TOP_MIX_REVERB, PRM_TOP_MIX_ECHO, PRM_TOP_MIX_MUSIC},
     PRM_TOP_SURROUND,
     PRM_TOP_MUTE,
     PRM_TOP_EQ_BYPASS,
     "top"},
}};

bool ValidSource(int source)
{
    return source >= MIX_DIRECT && source <= MIX_MUSIC;
}

bool SubMusic(const OutputCells& o, int source)
{
    return o.mix[MIX_MUSIC] == PRM_SUB_MIX_MUSIC && source == MIX_MUSIC;
}
} // namespace

const std::array<OutputCells, 5>& AllOutputs()
{
    return kOutputs;
}

const OutputCells* OutputOf(int pageKind)
{
    for (const OutputCells& o : kOutputs) {
        if (o.pageKind == pageKind) {
            return &o;
        }
    }
    return nullptr;
}

const OutputCells* OutputNamed(const char* name)
{
    for (const OutputCells& o : kOutputs) {
        if (name != nullptr && std::strcmp(o.name, name) == 0) {
            return &o;
        }
    }
    return nullptr;
}

int OutputMixPosition(int pageKind, int source)
{
    const OutputCells* o = OutputOf(pageKind);
    if (o == nullptr || !ValidSource(source)) {
        return -1;
    }
    const int cell = ParamStore.GetInt(o->mix[static_cast<size_t>(source)]);
    return SubMusic(*o, source) ? cell / kSubMusicScale : cell;
}

bool SetOutputMix(int pageKind, int source, int position)
{
    const OutputCells* o = OutputOf(pageKind);
    if (o == nullptr || !ValidSource(source)) {
        return false;
    }
    const int p = std::clamp(position, 0, kMixMax);
    return SetParamCell(o->mix[static_cast<size_t>(source)],
                        SubMusic(*o, source) ? kSubMusicScale * p : p);
}

bool SetOutputSurround(int pageKind, int value)
{
    const OutputCells* o = OutputOf(pageKind);
    if (o == nullptr || o->surround == 0) {
        return false;
    }
    // The setter leaves SRS 3D unwritten below command set 7.
    return SetParamCell(o->surround, std::clamp(value, 0, kSurroundMax));
}

int OutputSurround(int pageKind)
{
    const OutputCells* o = OutputOf(pageKind);
    return (o == nullptr || o->surround == 0) ? 0 : ParamStore.GetInt(o->surround);
}

bool SetOutputMute(int pageKind, bool muted)
{
    const OutputCells* o = OutputOf(pageKind);
    return o != nullptr && SetParamCell(o->mute, muted ? 1 : 0);
}

bool OutputMuted(int pageKind)
{
    const OutputCells* o = OutputOf(pageKind);
    return o != nullptr && ParamStore.GetInt(o->mute) != 0;
}
