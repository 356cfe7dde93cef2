#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/stdcall_probe.h"
#include "unit/standin/host.h"
#include "support/published_slot_rows.h"

// Every slot of the stand-in's view, ICoreWebView2 up to ICoreWebView2_15, and of its environment
// and controller, called through the routine table as a caller reaches it: each takes exactly its
// published stack bytes on x86 (where they can be measured), and each is the method the table
// names, as its journal line shows. The arguments are all zero, which every method answers with
// an error or a harmless success.

namespace {

// Whether a journal line written since `from` names the method: a word that is the method or ends
// in ::method.
bool JournalNamesSince(size_t from, const std::string& method) {
  const std::vector<std::string> lines = JournalLines();
  for (size_t i = from; i < lines.size(); ++i) {
    std::istringstream words(lines[i]);
    for (std::string word; words >> word;) {
      if (word == method) return true;
      if (word.size() > method.size() + 2 &&
          word.compare(word.size() - method.size() - 2, std::string::npos, "::" + method) == 0)
        return true;
    }
  }
  return false;
}

template <std::size_t N>
void ExpectSlots(IUnknown* view, const SlotRow (&rows)[N]) {
  for (const SlotRow& row : rows) {
    SCOPED_TRACE(std::string(row.method) + " at slot " + std::to_string(row.slot));
    const size_t before = JournalLines().size();
    const StdcallResult result =
        CallStdcall(TableEntry(view, row.slot), {reinterpret_cast<ULONG_PTR>(view), 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_STACK_BYTES(result.bytesPopped, row.bytes);
    EXPECT_TRUE(JournalNamesSince(before, row.method));
  }
}

using ViewSlotsTest = StandInTest;

TEST_F(ViewSlotsTest, EverySlotOfTheEnvironmentIsItsPublishedMethod) {
  environment_ = MakeEnvironment();
  Owned<ICoreWebView2Environment4> environment4 =
      Query<ICoreWebView2Environment4>(environment_.get(), IidText::ICoreWebView2Environment4);
  ASSERT_TRUE(environment4);
  ExpectSlots(environment4.get(), kEnvironment4);
}

// On x64 a RECT by value travels by address, so zero arguments would not do for put_Bounds; the
// bytes matter on x86 only anyway.
TEST_F(ViewSlotsTest, EverySlotOfTheControllerIsItsPublishedMethodOnX86) {
  if (!kStackBytesMeasurable) GTEST_SKIP() << "stack bytes are measured on x86 only";
  MakeView();
  ExpectSlots(controller_.get(), kController);
}

TEST_F(ViewSlotsTest, EverySlotOfTheViewIsItsPublishedMethod) {
  MakeView();
  Owned<ICoreWebView2_15> view15 = Query<ICoreWebView2_15>(view_.get(), IidText::ICoreWebView2_15);
  ASSERT_TRUE(view15);
  ExpectSlots(view_.get(), kWebView);
  ExpectSlots(view15.get(), kWebViewVersions);
  ExpectSlots(view15.get(), kWebView15);
  // The view still works after every slot was called with nothing.
  NavigateAndWait(L"about:blank");
  EXPECT_TRUE(log_.lastSuccess);
}

}  // namespace
