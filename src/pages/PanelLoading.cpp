#include "pages/PanelLoading.h"

#include "dsp/EqBands.h"
#include "eq/CEqPanel.h"
#include "eq/CSmallEqPanel.h"
#include "eq/EqGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
int UserType(int type)
{
    return (type < 0 || type > 5) ? 0 : type;
}
} // namespace

int SubStageOfPanelSlot(int slot)
{
    if (slot < CEqPanel::kSubVisible) {
        return 4 * slot;
    }
    const int j = slot - CEqPanel::kSubVisible;
    return 4 * (j / 3) + 1 + j % 3;
}

void LoadPanelBands(CEqPanel& panel, int kind, int count, int maxType)
{
    const bool sub = panel.IsSubMode();
    for (int i = 0; i < count; ++i) {
        const EqBand stored = LoadKindBand(kind, sub ? SubStageOfPanelSlot(i) : i);
        EqPanelBand& band = panel.Band(i);
        const EqBand previous{static_cast<double>(band.gain), static_cast<int>(band.freq),
                              static_cast<double>(band.q), band.type};
        const EqBand b = ClampLoadedBand(stored, previous, maxType);
        band.type = b.type;
        band.gain = static_cast<float>(b.gain);
        if (stored.freq != 0) {
            band.freq = static_cast<float>(b.freq);
        }
        band.q = static_cast<float>(b.q);
        panel.UpdateBandCurve(i);
    }
}

void LoadSmallPanelBands(CSmallEqPanel& panel, int kind)
{
    for (int i = 0; i < kSmallEqBands; ++i) {
        const EqBand stored = LoadKindBand(kind, i);
        SmallEqBand& band = panel.Band(i);
        band.type = UserType(stored.type);
        if (band.type == 1) {
            band.q = 1.41f;
        } else if (band.type >= 2) {
            band.gain = 0.0f;
            band.q = 0.7f;
        }
        panel.SetSmallBandGain(i, GainForcedZero(band.type) ? 0.0 : stored.gain);
        if (stored.freq != 0) {
            panel.SetSmallBandFreq(i, stored.freq);
        }
        if (std::abs(stored.q) >= 1e-7) {
            band.q = static_cast<float>(std::clamp(stored.q, band.type == 1 ? 1.0 : 0.1, 30.0));
        }
        panel.UpdateSmallBand(i);
    }
}
