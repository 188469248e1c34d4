#include "model/ParamStore.h"

#include <gtest/gtest.h>

TEST(ParamStore, FreshStartHoldsTheDefaults)
{
    ParamStoreCells store;
    for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
        switch (cell) {
        case PRM_ECHOA_TIME:
        case PRM_ECHOB_TIME:
            EXPECT_EQ(store.GetFloat(cell), 217.0f) << ParamCellName(cell);
            break;
        case PRM_ECHOA_P19:
        case PRM_ECHOB_P26:
            EXPECT_EQ(store.GetInt(cell), 60) << ParamCellName(cell);
            break;
        default:
            EXPECT_EQ(store.GetInt(cell), 0) << ParamCellName(cell);
        }
    }
}

TEST(ParamStore, CellsOutsideTheTableReadZeroAndIgnoreWrites)
{
    ParamStoreCells store;
    store.SetInt(25, 7);
    store.SetInt(185, 7);
    EXPECT_EQ(store.GetInt(25), 0);
    EXPECT_EQ(store.GetInt(185), 0);
}

TEST(ParamStore, BytesAreLittleEndianPerCell)
{
    ParamStoreCells store;
    store.SetInt(PRM_MIC_VOL, 0x01020304);
    uint8_t out[4] = {};
    store.ExportBytes(PRM_MIC_VOL, 1, out);
    EXPECT_EQ(out[0], 0x04);
    EXPECT_EQ(out[3], 0x01);
    ParamStoreCells other;
    other.ImportBytes(PRM_MIC_VOL, 1, out);
    EXPECT_EQ(other.GetInt(PRM_MIC_VOL), 0x01020304);
}
