// The clipboard: a GBK text arrives as the same wide text, and a clipboard
// that another program holds is waited for up to a second.
#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "test_support.h"

namespace {

std::wstring ClipboardText() {
  if (!::OpenClipboard(nullptr)) return L"(could not open)";
  std::wstring text = L"(no text)";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

TEST(PutClipboardText, PutsTheTextAsUnicode) {
  ASSERT_TRUE(PutClipboardText("查找12345"));
  EXPECT_EQ(ClipboardText(), L"查找12345");
  ASSERT_TRUE(PutClipboardText(""));
  EXPECT_EQ(ClipboardText(), L"");
}

TEST(PutClipboardText, WaitsForAnotherProgramThatReleasesTheClipboardWithinASecond) {
  ASSERT_TRUE(PutClipboardText("旧"));
  HelperProcess holder(L"clipboard 300");
  ASSERT_TRUE(holder.WaitReady());
  // Held for real: a single attempt would fail now.
  EXPECT_FALSE(::OpenClipboard(nullptr));
  EXPECT_TRUE(PutClipboardText("查找12345"));
  EXPECT_TRUE(holder.Finish());
  EXPECT_EQ(ClipboardText(), L"查找12345");
}

TEST(PutClipboardText, GivesUpOnAClipboardHeldLongerThanASecond) {
  ASSERT_TRUE(PutClipboardText("旧"));
  HelperProcess holder(L"clipboard 2500");
  ASSERT_TRUE(holder.WaitReady());
  EXPECT_FALSE(PutClipboardText("新"));
  EXPECT_TRUE(holder.Finish());
  EXPECT_EQ(ClipboardText(), L"旧");
}

}  // namespace
