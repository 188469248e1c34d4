#include "pages/PanelLoading.h"

#include "eq/CEqPanel.h"
#include "eq/CSmallEqPanel.h"
#include "eq/EqGeometry.h"
#include "pages/EqKinds.h"

#include <algorithm>
#include <cmath>

namespace {
int UserType(int type)
{
    return (type < 0 || type > 5) ? 0 : type;
}
} // namespace

void LoadPanelBands(CEqPanel& panel, int kind, int count)
{
    for (int i = 0; i < count; ++i) {
        const EqBand stored = LoadKindBand(kind, i);
        const int type = UserType(stored.type);
        // PEQ gets Q 1.41, the other user types gain 0 and Q 0.7, before the stored values.
        panel.SetBandType(i, type);
        panel.SetBandGain(i, stored.gain);
        if (stored.freq != 0) {
            panel.Band(i).freq = static_cast<float>(std::clamp(stored.freq, 20, 20000));
        }
        // SetBandQ ignores a zero Q and clamps by type.
        panel.SetBandQ(i, stored.q);
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
