// TestHost.add fed every kind of VARIANT, in the manner of Wine's own VARIANT tests: whatever the
// argument, the call never crashes, answers a double, leaves the caller's VARIANT and what it
// refers to as they were, and keeps no reference or memory.

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "browser/script_host.h"
#include "support/counted_object.h"
#include "unit/browser/counting_dispatch.h"
#include "unit/browser/string_cache.h"
#include "support/task_allocator_spy.h"
#include "webview2/iid_text.h"

namespace {

// Payloads that by-reference VARIANTs point at, and the objects and strings plain ones hold.
struct Payloads {
  Payloads() {
    text = SysAllocString(L"12.5");
    VarDecFromR8(2.5, &decimal);
    currency.int64 = 35000;  // 3.5
    inner.vt = VT_I4;
    inner.lVal = 9;
    SAFEARRAYBOUND bound{3, 0};
    array = SafeArrayCreate(VT_I4, 1, &bound);
  }
  ~Payloads() {
    SysFreeString(text);
    SafeArrayDestroy(array);
  }
  Payloads(const Payloads&) = delete;
  Payloads& operator=(const Payloads&) = delete;

  BSTR text;
  DECIMAL decimal{};
  CY currency{};
  VARIANT inner{};
  SAFEARRAY* array;
  CountingDispatch dispatch;
  CountedObject<IUnknown> unknown;
  GUID clsid = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
  const wchar_t* wideText = L"7";
  const char* narrowText = "7";
  // One slot per by-reference type, wide enough for any of them.
  union {
    std::uint8_t bytes[16];
    LONGLONG integer;
    double real;
    float single;
    void* pointer;
  } slot{};
};

// A VARIANT of the type with a valid payload, by reference when byReference is set. Types that a
// VARIANT cannot hold get a payload of their kind all the same.
VARIANT Make(VARTYPE type, bool byReference, Payloads& p) {
  VARIANT v;
  VariantInit(&v);
  std::memset(&p.slot, 0, sizeof(p.slot));
  if (type == VT_DECIMAL && !byReference) {
    V_DECIMAL(&v) = p.decimal;
    V_VT(&v) = VT_DECIMAL;  // after the payload, which overlays the type field
    return v;
  }
  void* pointee = &p.slot;  // what a by-reference VARIANT points at
  if (type & VT_ARRAY) {
    p.slot.pointer = p.array;
  } else {
    switch (type) {
      case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
      case VT_I8: case VT_UI8: case VT_INT_PTR: case VT_UINT_PTR: case VT_ERROR: case VT_HRESULT:
        p.slot.integer = 7;
        break;
      case VT_R4: p.slot.single = 1.25f; break;
      case VT_R8: p.slot.real = 1.25; break;
      case VT_DATE: p.slot.real = 2.0; break;
      case VT_BOOL: p.slot.integer = 0xFFFF; break;  // VARIANT_TRUE
      case VT_CY: std::memcpy(p.slot.bytes, &p.currency, sizeof(p.currency)); break;
      case VT_BSTR: p.slot.pointer = p.text; break;
      case VT_DISPATCH: p.slot.pointer = static_cast<IDispatch*>(&p.dispatch); break;
      case VT_UNKNOWN: p.slot.pointer = static_cast<IUnknown*>(&p.unknown); break;
      case VT_SAFEARRAY: p.slot.pointer = p.array; break;
      case VT_LPWSTR: p.slot.pointer = const_cast<wchar_t*>(p.wideText); break;
      case VT_LPSTR: p.slot.pointer = const_cast<char*>(p.narrowText); break;
      case VT_DECIMAL: pointee = &p.decimal; break;
      case VT_VARIANT: pointee = &p.inner; p.slot.pointer = &p.inner; break;  // only by reference
      case VT_CLSID: pointee = &p.clsid; p.slot.pointer = &p.clsid; break;
      default: p.slot.pointer = &p.clsid; break;  // a pointer-like payload for the rest
    }
  }
  V_VT(&v) = static_cast<VARTYPE>(type | (byReference ? VT_BYREF : 0));
  if (byReference) {
    V_BYREF(&v) = pointee;
  } else {
    std::memcpy(&V_I8(&v), p.slot.bytes, sizeof(LONGLONG));
  }
  return v;
}

// What the sum of the argument and 1 must be, where it is known.
std::optional<double> Expected(VARTYPE type) {
  switch (type) {
    case VT_EMPTY: return 1;
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT: return 8;
    case VT_R4: case VT_R8: return 2.25;
    case VT_DATE: return 3;
    case VT_BOOL: return 0;  // true is -1
    case VT_CY: return 4.5;
    case VT_DECIMAL: return 3.5;
    case VT_BSTR: return 13.5;
    case VT_DISPATCH: return 5.5;  // its default value
    case VT_NULL: case VT_UNKNOWN: case VT_ERROR: return 1;  // no number: 0
    default: return std::nullopt;
  }
}

struct Outcome {
  HRESULT result;
  VARIANT sum;
};

Outcome CallAddWithOne(ScriptHostWrapper& wrapper, const VARIANT& argument) {
  VARIANTARG arguments[2];
  VariantInit(&arguments[0]);
  V_VT(&arguments[0]) = VT_R8;
  V_R8(&arguments[0]) = 1;
  arguments[1] = argument;  // the first argument in script order comes last
  DISPPARAMS parameters{arguments, nullptr, 2, 0};
  Outcome outcome{};
  VariantInit(&outcome.sum);
  auto* host = reinterpret_cast<IDispatch*>(wrapper.Get());
  outcome.result = host->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &parameters, &outcome.sum, nullptr, nullptr);
  return outcome;
}

TEST(ScriptHostArguments, EveryVariantTypePlainAndByReference) {
  DisableStringCache();
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  Payloads payloads;
  std::vector<VARTYPE> types;
  for (VARTYPE type = VT_EMPTY; type <= VT_CLSID; ++type) {
    if (type == VT_RECORD) continue;  // needs an IRecordInfo from a type library
    types.push_back(type);
  }
  types.push_back(VT_ARRAY | VT_I4);

  for (const VARTYPE type : types) {
    for (const bool byReference : {false, true}) {
      SCOPED_TRACE(testing::Message() << "type " << type << (byReference ? " by reference" : ""));
      const VARIANT given = Make(type, byReference, payloads);
      const VARIANT before = given;
      decltype(payloads.slot) slotBefore = payloads.slot;
      const BSTR textBefore = payloads.text;

      Outcome outcome;
      {
        TaskAllocatorSpy spy;
        outcome = CallAddWithOne(wrapper, given);
        EXPECT_EQ(spy.liveBlocks(), 0) << "task memory left behind";
      }
      EXPECT_EQ(outcome.result, S_OK);
      EXPECT_EQ(V_VT(&outcome.sum), VT_R8);
      const std::optional<double> expected = (type & VT_ARRAY) ? std::optional<double>(1) : Expected(type);
      if (expected && !(byReference && (type == VT_EMPTY || type == VT_NULL))) {
        EXPECT_EQ(V_R8(&outcome.sum), *expected);
      }
      EXPECT_EQ(std::memcmp(&before, &given, sizeof(VARIANT)), 0) << "the caller's VARIANT changed";
      EXPECT_EQ(std::memcmp(&slotBefore, &payloads.slot, sizeof(payloads.slot)), 0) << "what it refers to changed";
      EXPECT_EQ(payloads.text, textBefore);
      EXPECT_STREQ(payloads.text, L"12.5");
      EXPECT_EQ(payloads.inner.vt, VT_I4);
      EXPECT_EQ(payloads.inner.lVal, 9);
      EXPECT_EQ(payloads.dispatch.references(), 0);
      EXPECT_EQ(payloads.unknown.references(), 0);
    }
  }
}

TEST(ScriptHostArguments, NotANumberAndInfinitiesAddAsIEEEDoubles) {
  ScriptHostWrapper wrapper;
  ASSERT_TRUE(wrapper.Create(0));
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    VARTYPE type;
    double value;
    double sum;  // with 1
  } const cases[] = {
      {"NaN", VT_R8, nan, nan},         {"+inf", VT_R8, inf, inf},       {"-inf", VT_R8, -inf, -inf},
      {"NaN as R4", VT_R4, nan, nan},   {"+inf as R4", VT_R4, inf, inf}, {"largest double", VT_R8, 1.7e308, 1.7e308},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = c.type;
    if (c.type == VT_R4) {
      V_R4(&argument) = static_cast<float>(c.value);
    } else {
      V_R8(&argument) = c.value;
    }
    const Outcome outcome = CallAddWithOne(wrapper, argument);
    EXPECT_EQ(outcome.result, S_OK);
    ASSERT_EQ(V_VT(&outcome.sum), VT_R8);
    if (std::isnan(c.sum)) {
      EXPECT_TRUE(std::isnan(V_R8(&outcome.sum)));
    } else {
      EXPECT_EQ(V_R8(&outcome.sum), c.sum);
    }
  }
}

}  // namespace
