// The COM toolkit every Windows adapter trusts: a reference or a string given back twice, or
// never, shows up only much later as a crash or a leak, so the counts are checked here.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "base/win32/com.h"

namespace quenlor::com {
namespace {

// An object that counts its references and answers QueryInterface for IUnknown only. COM
// objects are never deleted through IUnknown, whose destructor is not virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Counted final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
  ULONG STDMETHODCALLTYPE Release() override { return --count; }

  ULONG count = 1;  // the reference its maker hands out
};
#pragma GCC diagnostic pop

TEST(ComPtr, EveryReferenceTakenIsGivenBack) {
  Counted object;
  {
    Ptr<IUnknown> owner(&object);  // takes over the maker's reference
    EXPECT_EQ(object.count, 1u);
    Ptr<IUnknown> copy = owner;
    EXPECT_EQ(object.count, 2u);
    Ptr<IUnknown> moved = std::move(copy);
    EXPECT_FALSE(copy);
    EXPECT_EQ(object.count, 2u);
    moved = owner;  // the same object again: one reference given back, one taken
    EXPECT_EQ(object.count, 2u);
    moved = Ptr<IUnknown>();
    EXPECT_EQ(object.count, 1u);
    const Ptr<IUnknown> shared = Ptr<IUnknown>::Share(owner.get());
    EXPECT_EQ(object.count, 2u);
  }
  EXPECT_EQ(object.count, 0u);
}

TEST(ComPtr, OutReleasesWhatWasHeldAndDetachHandsOver) {
  Counted first, second;
  Ptr<IUnknown> holder(&first);
  IUnknown** slot = holder.Out();
  EXPECT_EQ(first.count, 0u);
  EXPECT_EQ(*slot, nullptr);
  *slot = &second;
  EXPECT_EQ(holder.get(), &second);
  IUnknown* raw = holder.Detach();
  EXPECT_FALSE(holder);
  EXPECT_EQ(second.count, 1u);
  raw->Release();
}

TEST(ComPtr, AsAsksForTheOtherInterfaceAndGivesNoneWhenRefused) {
  Counted object;
  Ptr<IUnknown> owner(&object);
  {
    const Ptr<IUnknown> same = owner.As<IUnknown>(IID_IUnknown);
    EXPECT_EQ(same.get(), &object);
    EXPECT_EQ(object.count, 2u);
    EXPECT_FALSE(owner.As<IDispatch>(IID_IDispatch));
    EXPECT_EQ(object.count, 2u);
  }
  EXPECT_FALSE(Ptr<IUnknown>().As<IDispatch>(IID_IDispatch));
  EXPECT_EQ(object.count, 1u);
}

TEST(ComBstr, TextRoundTripsThroughUtf16) {
  const std::string text = "caf\xC3\xA9 \xF0\x9F\x98\x80";  // a non-BMP character: a surrogate pair
  const Bstr b(text);
  EXPECT_EQ(SysStringLen(b.get()), 7u);
  EXPECT_EQ(b.Utf8(), text);
  const Bstr nul(std::string_view("a\0b", 3));
  EXPECT_EQ(SysStringLen(nul.get()), 3u);  // the length, not the first NUL, ends it
  EXPECT_EQ(nul.Utf8(), std::string("a\0b", 3));
  const Bstr empty("");
  EXPECT_NE(empty.get(), nullptr);  // an empty string, which a callee tells from none
  EXPECT_TRUE(empty.View().empty());
  EXPECT_EQ(Bstr().Utf8(), "");
  EXPECT_EQ(Utf8Of(nullptr), "");
}

TEST(ComBstr, OutFreesTheOldStringAndTakesTheNew) {
  Bstr b("old");
  *b.Out() = SysAllocString(L"new");
  EXPECT_EQ(b.Utf8(), "new");
  BSTR raw = b.Detach();
  EXPECT_EQ(b.get(), nullptr);
  const Bstr adopted(raw);
  EXPECT_TRUE(adopted.View() == u"new");
}

TEST(ComVar, ClearingGivesBackWhatTheVariantHolds) {
  Counted object;
  {
    Var v;
    EXPECT_EQ(v.get().vt, VT_EMPTY);
    v.SetUnknown(&object);
    EXPECT_EQ(object.count, 2u);
    v.SetText("t\xC3\xA9xt");
    EXPECT_EQ(object.count, 1u);
    EXPECT_EQ(v.get().vt, VT_BSTR);
    EXPECT_EQ(Utf8Of(v.get().bstrVal), "t\xC3\xA9xt");
    v.SetUnknown(&object);
    VARIANT* slot = v.Out();
    EXPECT_EQ(object.count, 1u);
    EXPECT_EQ(slot->vt, VT_EMPTY);
    v.SetInt(-5);
    EXPECT_EQ(v.get().vt, VT_I4);
    EXPECT_EQ(v.get().lVal, -5);
    v.SetUnknown(&object);
    v.SetNull();
    EXPECT_EQ(v.get().vt, VT_NULL);
    EXPECT_EQ(object.count, 1u);
    v.SetUnknown(&object);
  }
  EXPECT_EQ(object.count, 1u);
}

// A nested apartment is entered with S_FALSE and must be left as often as it was entered,
// or the thread's outer apartment ends early.
TEST(ComApartment, NestedApartmentsLeaveTheOuterOneStanding) {
  {
    const Apartment outer;
    { const Apartment inner; }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // still initialised
    CoUninitialize();
  }
}

}  // namespace
}  // namespace quenlor::com
