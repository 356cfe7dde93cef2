#include "com/options_object.h"

#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "com/heap.h"
#include "com/text.h"
#include "support/counted_object.h"
#include "support/iid.h"
#include "support/process_heap.h"
#include "support/task_allocator_spy.h"

namespace {

template <class I>
I* Query(IUnknown* object, const char* idText) {
  void* answer = nullptr;
  EXPECT_EQ(object->QueryInterface(IidOf(idText), &answer), S_OK) << idText;
  return static_cast<I*>(answer);
}

std::wstring TakeString(LPWSTR value) {
  std::wstring text = value != nullptr ? value : L"(null)";
  CoTaskMemFree(value);
  return text;
}

class SchemeRegistration : public CountedObject<ICoreWebView2CustomSchemeRegistration> {
 public:
  HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAllowedOrigins(UINT32*, LPWSTR**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAllowedOrigins(UINT32, LPCWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL) override { return E_NOTIMPL; }
};

// Notes whether its count ever fell to zero: a real registration would have freed itself there.
class FreeableRegistration : public SchemeRegistration {
 public:
  bool fellToZero = false;
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = SchemeRegistration::Release();
    if (count == 0) fellToZero = true;
    return count;
  }
};

// Every test ends with every block, string and reference back where it started.
class OptionsObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    options_ = CreateEnvironmentOptionsObject();
    ASSERT_NE(options_, nullptr);
  }
  void TearDown() override {
    if (options_ != nullptr) {
      EXPECT_EQ(options_->Release(), 0u);
    }
    EXPECT_EQ(spy_.liveBlocks(), 0) << "task-allocator blocks left behind";
  }
  // A pointer for one of the later interfaces; its reference goes back at the end of the test.
  template <class I>
  I* Later(const char* idText) {
    I* answer = Query<I>(options_, idText);
    options_->Release();
    return answer;
  }

  TaskAllocatorSpy spy_;
  HeapBalance heap_;
  ICoreWebView2EnvironmentOptions* options_ = nullptr;
};

TEST_F(OptionsObjectTest, StartsWithTheTargetVersionAndEveryOtherOptionZero) {
  LPWSTR version = nullptr;
  EXPECT_EQ(options_->get_TargetCompatibleBrowserVersion(&version), S_OK);
  EXPECT_TRUE(spy_.IsLive(version)) << "a fresh task-allocator copy";
  EXPECT_EQ(TakeString(version), L"138.0.3351.48");

  LPWSTR language = reinterpret_cast<LPWSTR>(1), arguments = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(options_->get_Language(&language), S_OK);
  EXPECT_EQ(options_->get_AdditionalBrowserArguments(&arguments), S_OK);
  EXPECT_EQ(language, nullptr);
  EXPECT_EQ(arguments, nullptr);

  BOOL flags[5] = {-1, -1, -1, -1, -1};
  EXPECT_EQ(options_->get_AllowSingleSignOnUsingOSPrimaryAccount(&flags[0]), S_OK);
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions2>(IidText::ICoreWebView2EnvironmentOptions2)
                ->get_ExclusiveUserDataFolderAccess(&flags[1]), S_OK);
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions3>(IidText::ICoreWebView2EnvironmentOptions3)
                ->get_IsCustomCrashReportingEnabled(&flags[2]), S_OK);
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions5>(IidText::ICoreWebView2EnvironmentOptions5)
                ->get_EnableTrackingPrevention(&flags[3]), S_OK);
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions6>(IidText::ICoreWebView2EnvironmentOptions6)
                ->get_AreBrowserExtensionsEnabled(&flags[4]), S_OK);
  for (BOOL flag : flags) EXPECT_EQ(flag, 0);

  auto* options7 = Later<ICoreWebView2EnvironmentOptions7>(IidText::ICoreWebView2EnvironmentOptions7);
  auto kind = static_cast<COREWEBVIEW2_CHANNEL_SEARCH_KIND>(-1);
  auto channels = static_cast<COREWEBVIEW2_RELEASE_CHANNELS>(-1);
  auto style = static_cast<COREWEBVIEW2_SCROLLBAR_STYLE>(-1);
  EXPECT_EQ(options7->get_ChannelSearchKind(&kind), S_OK);
  EXPECT_EQ(options7->get_ReleaseChannels(&channels), S_OK);
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions8>(IidText::ICoreWebView2EnvironmentOptions8)
                ->get_ScrollBarStyle(&style), S_OK);
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(channels, 0);
  EXPECT_EQ(style, 0);

  UINT32 count = 9;
  ICoreWebView2CustomSchemeRegistration** registrations = nullptr;
  EXPECT_EQ(Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4)
                ->GetCustomSchemeRegistrations(&count, &registrations), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(registrations, nullptr);
}

TEST_F(OptionsObjectTest, AnswersItsNineIdentifiersWithOnePointerPerInterface) {
  const char* const later[] = {
      IidText::ICoreWebView2EnvironmentOptions2, IidText::ICoreWebView2EnvironmentOptions3,
      IidText::ICoreWebView2EnvironmentOptions4, IidText::ICoreWebView2EnvironmentOptions5,
      IidText::ICoreWebView2EnvironmentOptions6, IidText::ICoreWebView2EnvironmentOptions7,
      IidText::ICoreWebView2EnvironmentOptions8,
  };
  for (const char* identity : {IidText::IUnknown, IidText::ICoreWebView2EnvironmentOptions}) {
    IUnknown* answer = Query<IUnknown>(options_, identity);
    EXPECT_EQ(answer, options_);
    answer->Release();
  }
  std::vector<IUnknown*> seen{options_};
  for (const char* id : later) {
    SCOPED_TRACE(id);
    IUnknown* answer = Query<IUnknown>(options_, id);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), answer), 0) << "each interface has its own pointer";
    seen.push_back(answer);
    // Every pointer's own QueryInterface leads back to the one object.
    IUnknown* identity = Query<IUnknown>(answer, IidText::IUnknown);
    IUnknown* same = Query<IUnknown>(answer, id);
    EXPECT_EQ(identity, options_);
    EXPECT_EQ(same, answer);
    identity->Release();
    same->Release();
    answer->Release();
  }
  EXPECT_EQ(options_->AddRef(), 2u) << "every answer carried one reference";
  options_->Release();
}

TEST_F(OptionsObjectTest, RefusesOtherIdentifiersAndNullOutPointers) {
  void* answer = reinterpret_cast<void*>(1);
  EXPECT_EQ(options_->QueryInterface(IidOf(IidText::IDispatch), &answer), E_NOINTERFACE);
  EXPECT_EQ(answer, nullptr);
  EXPECT_EQ(options_->QueryInterface(IidOf(IidText::ICoreWebView2EnvironmentOptions), nullptr), E_POINTER);
  EXPECT_EQ(options_->AddRef(), 2u) << "no reference was added";
  options_->Release();

  EXPECT_EQ(options_->get_Language(nullptr), E_POINTER);
  EXPECT_EQ(options_->get_AdditionalBrowserArguments(nullptr), E_POINTER);
  EXPECT_EQ(options_->get_TargetCompatibleBrowserVersion(nullptr), E_POINTER);
  EXPECT_EQ(options_->get_AllowSingleSignOnUsingOSPrimaryAccount(nullptr), E_POINTER);
  auto* options7 = Later<ICoreWebView2EnvironmentOptions7>(IidText::ICoreWebView2EnvironmentOptions7);
  EXPECT_EQ(options7->get_ReleaseChannels(nullptr), E_POINTER);
  UINT32 count;
  ICoreWebView2CustomSchemeRegistration** registrations;
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(nullptr, &registrations), E_POINTER);
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, nullptr), E_POINTER);
}

TEST_F(OptionsObjectTest, KeptPointersReachTheirOwnInterfaceAfterFurtherQueries) {
  auto* options7 = Later<ICoreWebView2EnvironmentOptions7>(IidText::ICoreWebView2EnvironmentOptions7);
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  Later<ICoreWebView2EnvironmentOptions8>(IidText::ICoreWebView2EnvironmentOptions8);
  Later<ICoreWebView2EnvironmentOptions2>(IidText::ICoreWebView2EnvironmentOptions2);

  EXPECT_EQ(options7->put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS_BETA), S_OK);
  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0, nullptr), S_OK);
  auto channels = COREWEBVIEW2_RELEASE_CHANNELS_NONE;
  EXPECT_EQ(options7->get_ReleaseChannels(&channels), S_OK);
  EXPECT_EQ(channels, COREWEBVIEW2_RELEASE_CHANNELS_BETA);

  LPWSTR version = nullptr;
  EXPECT_EQ(options_->get_TargetCompatibleBrowserVersion(&version), S_OK);
  EXPECT_EQ(TakeString(version), L"138.0.3351.48");
}

TEST_F(OptionsObjectTest, KeepsThirtyTwoBitValuesAsGiven) {
  BOOL flag = 0;
  EXPECT_EQ(options_->put_AllowSingleSignOnUsingOSPrimaryAccount(2), S_OK);
  EXPECT_EQ(options_->get_AllowSingleSignOnUsingOSPrimaryAccount(&flag), S_OK);
  EXPECT_EQ(flag, 2);

  auto* options5 = Later<ICoreWebView2EnvironmentOptions5>(IidText::ICoreWebView2EnvironmentOptions5);
  EXPECT_EQ(options5->put_EnableTrackingPrevention(TRUE), S_OK);
  EXPECT_EQ(options5->get_EnableTrackingPrevention(&flag), S_OK);
  EXPECT_EQ(flag, TRUE);

  auto* options8 = Later<ICoreWebView2EnvironmentOptions8>(IidText::ICoreWebView2EnvironmentOptions8);
  auto style = COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT;
  EXPECT_EQ(options8->put_ScrollBarStyle(static_cast<COREWEBVIEW2_SCROLLBAR_STYLE>(77)), S_OK);
  EXPECT_EQ(options8->get_ScrollBarStyle(&style), S_OK);
  EXPECT_EQ(style, 77);
}

TEST_F(OptionsObjectTest, TextOptionsAreCopiedInAndOut) {
  WCHAR language[] = L"zh-CN";
  EXPECT_EQ(options_->put_Language(language), S_OK);
  language[0] = L'x';  // the object keeps its own copy

  LPWSTR first = nullptr, second = nullptr;
  EXPECT_EQ(options_->get_Language(&first), S_OK);
  EXPECT_EQ(options_->get_Language(&second), S_OK);
  EXPECT_NE(first, second) << "each getter call hands out a copy of its own";
  EXPECT_EQ(TakeString(first), L"zh-CN");
  EXPECT_EQ(TakeString(second), L"zh-CN");

  const int held = spy_.liveBlocks();
  EXPECT_EQ(options_->put_Language(L"en-US"), S_OK);
  EXPECT_EQ(spy_.liveBlocks(), held) << "the old copy is freed";
  EXPECT_EQ(options_->put_Language(nullptr), S_OK);
  EXPECT_EQ(spy_.liveBlocks(), held - 1);
  LPWSTR unset = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(options_->get_Language(&unset), S_OK);
  EXPECT_EQ(unset, nullptr);

  EXPECT_EQ(options_->put_AdditionalBrowserArguments(L"--a --b"), S_OK);
  LPWSTR arguments = nullptr;
  EXPECT_EQ(options_->get_AdditionalBrowserArguments(&arguments), S_OK);
  EXPECT_EQ(TakeString(arguments), L"--a --b");
}

TEST_F(OptionsObjectTest, TheOwnRoutinesWorkWithoutTheTable) {
  EXPECT_EQ(EnvironmentOptionsRoutines::put_TargetCompatibleBrowserVersion(options_, L"1.2"), S_OK);
  LPWSTR version = nullptr;
  EXPECT_EQ(options_->get_TargetCompatibleBrowserVersion(&version), S_OK);
  EXPECT_EQ(TakeString(version), L"1.2");
  EXPECT_EQ(EnvironmentOptionsRoutines::put_AllowSingleSignOnUsingOSPrimaryAccount(options_, TRUE), S_OK);
  BOOL allow = FALSE;
  EXPECT_EQ(EnvironmentOptionsRoutines::get_AllowSingleSignOnUsingOSPrimaryAccount(options_, &allow), S_OK);
  EXPECT_EQ(allow, TRUE);
}

TEST_F(OptionsObjectTest, SchemeRegistrationsHoldTheirReferences) {
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  SchemeRegistration first, second, third;
  ICoreWebView2CustomSchemeRegistration* pair[] = {&first, &second};
  ICoreWebView2CustomSchemeRegistration* withNull[] = {&third, nullptr};

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(2, pair), S_OK);
  EXPECT_EQ(first.references(), 1);
  EXPECT_EQ(second.references(), 1);

  UINT32 count = 0;
  ICoreWebView2CustomSchemeRegistration** got = nullptr;
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), S_OK);
  ASSERT_EQ(count, 2u);
  EXPECT_TRUE(spy_.IsLive(got));
  EXPECT_EQ(got[0], &first);
  EXPECT_EQ(got[1], &second);
  EXPECT_EQ(first.references(), 2) << "the caller gets a reference of its own";
  got[0]->Release();
  got[1]->Release();
  CoTaskMemFree(got);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(2, withNull), S_OK);
  EXPECT_EQ(first.references(), 0) << "the earlier registrations are released";
  EXPECT_EQ(second.references(), 0);
  EXPECT_EQ(third.references(), 1);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0, nullptr), S_OK);
  EXPECT_EQ(third.references(), 0);
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(got, nullptr);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(1, pair), S_OK);
  EXPECT_EQ(options_->Release(), 0u);
  options_ = nullptr;
  EXPECT_EQ(first.references(), 0) << "the last release drops the registrations";
}

TEST_F(OptionsObjectTest, RefusedRegistrationsChangeNothing) {
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  SchemeRegistration kept;
  ICoreWebView2CustomSchemeRegistration* one[] = {&kept};
  ASSERT_EQ(options4->SetCustomSchemeRegistrations(1, one), S_OK);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(2, nullptr), E_POINTER);
  // 0x40000000 pointers are 2^32 bytes: a 32-bit size would wrap to nothing.
  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0x40000000u, one), E_OUTOFMEMORY);

  EXPECT_EQ(kept.references(), 1);
  UINT32 count = 0;
  ICoreWebView2CustomSchemeRegistration** got = nullptr;
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), S_OK);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(got[0], &kept);
  got[0]->Release();
  CoTaskMemFree(got);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0, nullptr), S_OK);
  EXPECT_EQ(kept.references(), 0);
}

TEST(OptionsObjectMemory, WithoutMemoryForItsTableOrRecordNoObjectIsMadeAndNothingIsKept) {
  TaskAllocatorSpy spy;
  HeapBalance heap;
  for (int skipped : {0, 1}) {
    SCOPED_TRACE(skipped == 0 ? "the table" : "the record");
    ProcessHeap::ScopedFailures failure(1, skipped);
    EXPECT_EQ(CreateEnvironmentOptionsObject(), nullptr);
    EXPECT_EQ(ProcessHeap::PendingFailures(), 0);
  }
  EXPECT_EQ(spy.liveBlocks(), 0);
}

// The setters copy the new text before they free the old one, so a copy that cannot be made
// leaves the option as it was.
TEST_F(OptionsObjectTest, TextSettersWithoutMemoryKeepTheValueTheyHad) {
  const struct {
    const char* name;
    HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*put)(LPCWSTR);
    HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*get)(LPWSTR*);
  } cases[] = {
      {"AdditionalBrowserArguments", &ICoreWebView2EnvironmentOptions::put_AdditionalBrowserArguments,
       &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments},
      {"Language", &ICoreWebView2EnvironmentOptions::put_Language, &ICoreWebView2EnvironmentOptions::get_Language},
      {"TargetCompatibleBrowserVersion", &ICoreWebView2EnvironmentOptions::put_TargetCompatibleBrowserVersion,
       &ICoreWebView2EnvironmentOptions::get_TargetCompatibleBrowserVersion},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ((options_->*c.put)(L"old"), S_OK);
    const int held = spy_.liveBlocks();
    spy_.FailAllocations(1);
    EXPECT_EQ((options_->*c.put)(L"new"), E_POINTER);
    EXPECT_EQ(spy_.liveBlocks(), held) << "the old copy was not freed";
    LPWSTR value = nullptr;
    EXPECT_EQ((options_->*c.get)(&value), S_OK);
    EXPECT_EQ(TakeString(value), L"old");

    spy_.FailAllocations(1);
    value = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ((options_->*c.get)(&value), E_POINTER) << "a getter that cannot copy";
    EXPECT_EQ(value, reinterpret_cast<LPWSTR>(1)) << "leaves the out pointer untouched";
    spy_.FailAllocations(0);
  }
}

TEST_F(OptionsObjectTest, SchemeRegistrationsWithoutMemoryKeepTheHeldOnes) {
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  SchemeRegistration kept, offered;
  ICoreWebView2CustomSchemeRegistration* one[] = {&kept};
  ICoreWebView2CustomSchemeRegistration* other[] = {&offered};
  ASSERT_EQ(options4->SetCustomSchemeRegistrations(1, one), S_OK);

  spy_.FailAllocations(1);
  EXPECT_EQ(options4->SetCustomSchemeRegistrations(1, other), E_OUTOFMEMORY);
  EXPECT_EQ(kept.references(), 1);
  EXPECT_EQ(offered.references(), 0);

  spy_.FailAllocations(1);
  UINT32 count = 9;
  ICoreWebView2CustomSchemeRegistration** got = reinterpret_cast<ICoreWebView2CustomSchemeRegistration**>(1);
  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), E_OUTOFMEMORY);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(kept.references(), 1) << "no reference handed out";

  EXPECT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), S_OK);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(got[0], &kept);
  got[0]->Release();
  CoTaskMemFree(got);
  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0, nullptr), S_OK);
}

// A caller that reads the registrations, lets its own references go and sets the same ones again
// hands over pointers that only the object keeps alive: the new are taken before the old go.
TEST_F(OptionsObjectTest, SettingTheHeldRegistrationsAgainNeverDropsTheirLastReference) {
  auto* options4 = Later<ICoreWebView2EnvironmentOptions4>(IidText::ICoreWebView2EnvironmentOptions4);
  FreeableRegistration first, second;
  ICoreWebView2CustomSchemeRegistration* pair[] = {&first, &second};
  ASSERT_EQ(options4->SetCustomSchemeRegistrations(2, pair), S_OK);

  UINT32 count = 0;
  ICoreWebView2CustomSchemeRegistration** got = nullptr;
  ASSERT_EQ(options4->GetCustomSchemeRegistrations(&count, &got), S_OK);
  ASSERT_EQ(count, 2u);
  got[0]->Release();
  got[1]->Release();
  EXPECT_EQ(options4->SetCustomSchemeRegistrations(count, got), S_OK);
  CoTaskMemFree(got);
  EXPECT_FALSE(first.fellToZero);
  EXPECT_FALSE(second.fellToZero);
  EXPECT_EQ(first.references(), 1);
  EXPECT_EQ(second.references(), 1);

  EXPECT_EQ(options4->SetCustomSchemeRegistrations(0, nullptr), S_OK);
  EXPECT_TRUE(first.fellToZero);
}

TEST_F(OptionsObjectTest, TheLastReleaseThroughALaterInterfaceFreesEverything) {
  EXPECT_EQ(options_->put_Language(L"zh-CN"), S_OK);
  EXPECT_EQ(options_->put_AdditionalBrowserArguments(L"--x"), S_OK);
  auto* options8 = Query<ICoreWebView2EnvironmentOptions8>(options_, IidText::ICoreWebView2EnvironmentOptions8);
  EXPECT_EQ(options_->Release(), 1u);
  options_ = nullptr;
  EXPECT_EQ(options8->Release(), 0u);
}

}  // namespace
