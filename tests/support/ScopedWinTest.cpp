// A selection puts the old object back into its device context; a handle's close reports failure.
#include "support/ScopedWin.h"

#include "CaseName.h"

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

// close() says whether the system closed the handle: a writer looks at it to know its file is whole.
struct CloseCase {
    const char* name;
    HANDLE (*handle)();
    bool closed;
};

HANDLE newFile()
{
    wchar_t folder[MAX_PATH] = {}, path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"qsw", 0, path);
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

HANDLE closedAlready()
{
    const HANDLE file = newFile();
    kes::KernelHandle(file).reset();
    return file;
}

const CloseCase closeCases[] = {
    {"an open file", &newFile, true},
    {"nothing held", [] { return HANDLE{}; }, true},
    {"a failed open", [] { return INVALID_HANDLE_VALUE; }, true},
    {"a handle the system no longer knows", &closedAlready, false},
};

class KernelHandleClose : public ::testing::TestWithParam<CloseCase> {};

TEST_P(KernelHandleClose, ReportsWhetherTheSystemClosedIt)
{
    kes::KernelHandle handle(GetParam().handle());
    EXPECT_EQ(handle.close(), GetParam().closed);
    EXPECT_FALSE(handle) << "nothing is held after close, whatever it reported";
}

INSTANTIATE_TEST_SUITE_P(Handles, KernelHandleClose, ::testing::ValuesIn(closeCases), casename::ByName());

} // namespace
