#include "pages/PageGlobals.h"

#include "dsp/EqBands.h"

std::atomic<int> g_nInputView{EQ_KIND_MIC_A};
std::atomic<int> g_nEffectKind{EQ_KIND_REVERB_A};
std::atomic<int> g_nEqCopySlot{-1};
std::atomic<int> g_nOutputKind{EQ_KIND_MAIN};

bool EqCopyPaste(int action, int kind)
{
    if (action == 0) {
        g_nEqCopySlot = kind;
        return false;
    }
    if (action != 1) {
        return false;
    }
    const int from = g_nEqCopySlot.load();
    if (from < 0) {
        return false;
    }
    return CopyEq(from, kind);
}
