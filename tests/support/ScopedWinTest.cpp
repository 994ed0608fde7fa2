// A selection puts the old object back into its device context.
#include "support/ScopedWin.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectedObject, PutsBackWhatWasSelectedAlsoWhenNested)
{
    kes::MemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    kes::GdiObject<HBITMAP> first(CreateCompatibleBitmap(dc.get(), 4, 4));
    kes::GdiObject<HBITMAP> second(CreateCompatibleBitmap(dc.get(), 4, 4));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    ASSERT_NE(original, nullptr);
    {
        kes::SelectedObject outer(dc.get(), first.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), first.get());
        {
            kes::SelectedObject inner(dc.get(), second.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), second.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), first.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

} // namespace
