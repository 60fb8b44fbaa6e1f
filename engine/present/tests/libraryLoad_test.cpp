// The library's entry point and its window-class table, in this process
// (skjoldr_library_load checks a fresh load in a program of its own).
#include "controls/windowClasses.h"
#include "graphics/GraphicsFonts.h"
#include "library/libraryEntry.h"
#include "procedures/CondSymbProcs.h"
#include "procedures/Int1Procs.h"

#include <gtest/gtest.h>

namespace {

TEST(LibraryEntry, OnlyTheFirstAttachStartsAndTheLastDetachEnds) {
    ASSERT_TRUE(gdFontsLoaded()) << "started when the library was loaded";
    void* module = SkjoldrModule();
    ASSERT_NE(module, nullptr);

    // A second attach does not start the graphics layer again.
    GD_Done();
    EXPECT_EQ(SkjoldrEntryPoint(module, kProcessAttach, nullptr), 1);
    EXPECT_FALSE(gdFontsLoaded());
    GD_Init(nullptr, 0, 0);
    EXPECT_EQ(SkjoldrEntryPoint(module, kThreadAttach, nullptr), 1);
    EXPECT_EQ(SkjoldrEntryPoint(module, kThreadDetach, nullptr), 1);

    // Only the detach that brings the count to 0 ends it; the tables stay.
    Int1CondSymbProcs[86] = nullptr;
    EXPECT_EQ(SkjoldrEntryPoint(module, kProcessDetach, nullptr), 1);
    EXPECT_TRUE(gdFontsLoaded());
    EXPECT_EQ(SkjoldrEntryPoint(module, kProcessDetach, nullptr), 1);
    EXPECT_FALSE(gdFontsLoaded());
    EXPECT_EQ(Int1CondSymbProcs[86], nullptr);
    // A detach too many has nothing to undo: the count stays at 0.
    EXPECT_EQ(SkjoldrEntryPoint(module, kProcessDetach, nullptr), 1);

    // Attached again, it starts afresh and fills the tables.
    EXPECT_EQ(SkjoldrEntryPoint(module, kProcessAttach, nullptr), 1);
    EXPECT_TRUE(gdFontsLoaded());
    EXPECT_EQ(Int1CondSymbProcs[86], &Int1Proc86);
    EXPECT_EQ(SkjoldrModule(), module);
}

TEST(WindowClasses, BothControlsAreRegistered) {
    EXPECT_EQ(findWindowClass("TGeoPosition32"), &newGeoPositionControl);
    EXPECT_EQ(findWindowClass("TDateTime32"), &newDateTimeControl);
    EXPECT_EQ(findWindowClass("TDATETIME32"), &newDateTimeControl);
    for (const char* other : std::initializer_list<const char*>{
             "EDIT", "LISTBOX", "msctls_updown32", "TDateTime3", "", nullptr})
        EXPECT_EQ(findWindowClass(other), nullptr) << (other ? other : "null");
}

} // namespace
