// The built-in reader: containers, the platform's presentation of dispatch and dual
// types, references into other libraries, and hostile input.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "base/file.h"
#include "base/text.h"
#include "typelib/access.h"
#include "typelib/builtin_access.h"
#include "typelib/dump.h"
#include "typelib/locator.h"

namespace quenlor::typelib {
namespace {

const std::string kWine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
const std::string kCorpus = std::string(QUENLOR_CORPUS_DIR) + "/";

// Imports resolve to Wine's stdole2, whatever the machine's registry holds.
class StdoleLocator final : public TypeLibLocator {
 public:
  std::string FindRegistered(const Guid& libid, std::uint16_t, std::uint16_t, std::uint32_t, std::uint32_t) override {
    return libid.data1 == 0x00020430 ? kWine + "stdole2.tlb" : std::string();
  }
  std::string ResolveImportFile(const std::string&, const std::string&) override { return {}; }
};

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLocatorForTesting(std::make_shared<StdoleLocator>()); }
  void TearDown() override { SetLocatorForTesting(nullptr); }

  static std::shared_ptr<ITypeLibAccess> Load(const std::string& path) {
    std::shared_ptr<ITypeLibAccess> lib;
    EXPECT_EQ(LoadTypeLibrary(path, ReaderKind::Builtin, lib), kOk) << path;
    return lib;
  }
  static std::shared_ptr<ITypeInfoAccess> Find(ITypeLibAccess& lib, const std::string& name) {
    for (unsigned i = 0; i < lib.GetTypeInfoCount(); ++i) {
      Documentation doc;
      if (lib.GetDocumentation(static_cast<int>(i), doc) == kOk && doc.name == name) {
        std::shared_ptr<ITypeInfoAccess> info;
        EXPECT_EQ(lib.GetTypeInfo(i, info), kOk);
        return info;
      }
    }
    ADD_FAILURE() << "no type " << name;
    return nullptr;
  }
  static std::string RefName(ITypeInfoAccess& info, HRefType href) {
    std::shared_ptr<ITypeInfoAccess> ref;
    if (info.GetRefTypeInfo(href, ref) != kOk) return "<none>";
    Documentation doc;
    ref->GetDocumentation(kMemberIdNil, doc);
    return doc.name;
  }
};

TEST_F(ReaderTest, FilesThatAreNoTypeLibraryFailAsThePlatform) {
  std::shared_ptr<ITypeLibAccess> lib;
  for (const char* name : {"negative/empty.tlb", "negative/vbscript.dll", "negative/comdlg32.dll",
                           "negative/wbemads.dll", "negative/wbemdisp.dll", "vb6/no-such-file.tlb"}) {
    EXPECT_EQ(LoadTypeLibrary(kCorpus + name, ReaderKind::Builtin, lib), kTypeECantLoadLibrary) << name;
    EXPECT_FALSE(lib);
  }
  // A resource number the executable does not have.
  EXPECT_EQ(LoadTypeLibrary(kCorpus + "vb6/scrrun.dll\\7", ReaderKind::Builtin, lib), kTypeECantLoadLibrary);
}

TEST_F(ReaderTest, ResourceNumberChoosesTheLibrary) {
  auto first = Load(kWine + "hnetcfg.dll");
  auto second = Load(kWine + "hnetcfg.dll\\2");
  ASSERT_TRUE(first && second);
  LibAttr a, b;
  ASSERT_EQ(first->GetLibAttr(a), kOk);
  ASSERT_EQ(second->GetLibAttr(b), kOk);
  EXPECT_FALSE(a.guid == b.guid);
}

TEST_F(ReaderTest, LibraryAttributesAndDocumentation) {
  auto lib = Load(kWine + "stdole2.tlb");
  ASSERT_TRUE(lib);
  Documentation doc;
  ASSERT_EQ(lib->GetDocumentation(-1, doc), kOk);
  EXPECT_EQ(doc.name, "stdole");
  EXPECT_EQ(doc.doc_string, "OLE Automation");
  LibAttr attr;
  ASSERT_EQ(lib->GetLibAttr(attr), kOk);
  EXPECT_EQ(GuidText(attr.guid), "{00020430-0000-0000-C000-000000000046}");
  EXPECT_EQ(attr.w_lib_flags & 0x08, 0x08);  // FHASDISKIMAGE, as the platform adds it
  EXPECT_EQ(lib->GetTypeInfoCount(), 42u);
  std::shared_ptr<ITypeInfoAccess> info;
  EXPECT_EQ(lib->GetTypeInfo(42, info), kTypeEElementNotFound);
  EXPECT_EQ(lib->GetDocumentation(42, doc), kTypeEElementNotFound);
}

TEST_F(ReaderTest, DualInterfaceIsADispatchViewWithItsVtablePartner) {
  auto lib = Load(kCorpus + "vb6/scrrun.dll");
  ASSERT_TRUE(lib);
  auto dict = Find(*lib, "IDictionary");
  ASSERT_TRUE(dict);
  TypeAttr attr;
  ASSERT_EQ(dict->GetTypeAttr(attr), kOk);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH_);
  EXPECT_EQ(attr.w_type_flags & 0x100, 0);  // FOLEAUTOMATION only on the vtable view
  EXPECT_EQ(attr.cb_size_vft, 7 * sizeof(void*));
  ASSERT_GE(attr.c_funcs, 8);
  const char* inherited[] = {"QueryInterface", "AddRef", "Release", "GetTypeInfoCount", "GetTypeInfo",
                             "GetIDsOfNames", "Invoke"};
  for (unsigned i = 0; i < 7; ++i) {
    FuncDesc f;
    ASSERT_EQ(dict->GetFuncDesc(i, f), kOk);
    EXPECT_EQ(f.funckind, 4u);
    Documentation doc;
    ASSERT_EQ(dict->GetDocumentation(f.memid, doc), kOk);
    EXPECT_EQ(doc.name, inherited[i]);
  }
  // The Automation form: [retval] becomes the result, HRESULT disappears.
  FuncDesc count;
  bool found = false;
  for (unsigned i = 7; i < attr.c_funcs && !found; ++i) {
    ASSERT_EQ(dict->GetFuncDesc(i, count), kOk);
    std::vector<std::string> names;
    dict->GetNames(count.memid, 8, names);
    found = !names.empty() && names[0] == "Count";
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(count.elemdesc_func.tdesc.vt, VT_I4_);
  EXPECT_EQ(count.c_params, 0);

  HRefType href = 0;
  ASSERT_EQ(dict->GetRefTypeOfImplType(0, href), kOk);
  EXPECT_EQ(RefName(*dict, href), "IDispatch");
  ASSERT_EQ(dict->GetRefTypeOfImplType(static_cast<unsigned>(-1), href), kOk);
  std::shared_ptr<ITypeInfoAccess> vtable;
  ASSERT_EQ(dict->GetRefTypeInfo(href, vtable), kOk);
  TypeAttr vattr;
  ASSERT_EQ(vtable->GetTypeAttr(vattr), kOk);
  EXPECT_EQ(vattr.typekind, TKIND_INTERFACE_);
  EXPECT_EQ(vattr.c_funcs, attr.c_funcs - 7);
  FuncDesc vcount;
  bool vfound = false;
  for (unsigned i = 0; i < vattr.c_funcs && !vfound; ++i) {
    ASSERT_EQ(vtable->GetFuncDesc(i, vcount), kOk);
    vfound = vcount.memid == count.memid && vcount.invkind == count.invkind;
  }
  ASSERT_TRUE(vfound);
  EXPECT_EQ(vcount.elemdesc_func.tdesc.vt, VT_HRESULT_);
  EXPECT_EQ(vcount.c_params, 1);  // the [retval] pointer
  // The vtable view's partner is the dispatch view again; a record has none.
  std::shared_ptr<ITypeInfoAccess> back;
  ASSERT_EQ(vtable->GetRefTypeOfImplType(static_cast<unsigned>(-1), href), kOk);
  ASSERT_EQ(vtable->GetRefTypeInfo(href, back), kOk);
  ASSERT_EQ(back->GetTypeAttr(vattr), kOk);
  EXPECT_EQ(vattr.typekind, TKIND_DISPATCH_);
}

TEST_F(ReaderTest, PureDispinterfaceHasPropertiesAsVariables) {
  auto lib = Load(kWine + "stdole2.tlb");
  ASSERT_TRUE(lib);
  auto font = Find(*lib, "Font");
  ASSERT_TRUE(font);
  TypeAttr attr;
  ASSERT_EQ(font->GetTypeAttr(attr), kOk);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH_);
  EXPECT_EQ(attr.c_funcs, 0);
  EXPECT_EQ(attr.c_vars, 8);
  EXPECT_EQ(attr.c_impl_types, 1);
  VarDesc v;
  ASSERT_EQ(font->GetVarDesc(0, v), kOk);
  EXPECT_EQ(v.varkind, 3u);
  HRefType href = 0;
  ASSERT_EQ(font->GetRefTypeOfImplType(0, href), kOk);
  EXPECT_EQ(RefName(*font, href), "IDispatch");
  EXPECT_EQ(font->GetRefTypeOfImplType(static_cast<unsigned>(-1), href), kTypeEElementNotFound);
  EXPECT_EQ(font->GetVarDesc(8, v), kTypeEElementNotFound);
}

// Without the imported library, references into it fail with the platform's code while
// the library's own types stay readable.
class NoLocator final : public TypeLibLocator {
 public:
  std::string FindRegistered(const Guid&, std::uint16_t, std::uint16_t, std::uint32_t, std::uint32_t) override {
    return {};
  }
  std::string ResolveImportFile(const std::string&, const std::string&) override { return {}; }
};

TEST_F(ReaderTest, UnresolvableImportFailsWhereThePlatformFails) {
  SetLocatorForTesting(std::make_shared<NoLocator>());
  auto lib = Load(kCorpus + "vb6/scrrun.dll");
  ASSERT_TRUE(lib);
  auto dict = Find(*lib, "IDictionary");
  ASSERT_TRUE(dict);
  HRefType href = 0;
  ASSERT_EQ(dict->GetRefTypeOfImplType(0, href), kOk);
  std::shared_ptr<ITypeInfoAccess> ref;
  EXPECT_EQ(dict->GetRefTypeInfo(href, ref), kTypeECantLoadLibrary);
  TypeAttr attr;
  ASSERT_EQ(dict->GetTypeAttr(attr), kOk);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH_);
}

// The libraries that could not be resolved are reported once each, whether found by the
// references a walk followed or by resolving every import up front; resolved ones never.
TEST_F(ReaderTest, UnresolvedLibrariesAreReportedOnce) {
  (void)TakeUnresolvedLibraries();
  SetLocatorForTesting(std::make_shared<NoLocator>());
  {
    auto lib = Load(kCorpus + "vb6/scrrun.dll");
    ASSERT_TRUE(lib);
    for (const char* name : {"IDictionary", "IFileSystem"}) {
      auto info = Find(*lib, name);
      ASSERT_TRUE(info);
      HRefType href = 0;
      ASSERT_EQ(info->GetRefTypeOfImplType(0, href), kOk);
      std::shared_ptr<ITypeInfoAccess> ref;
      EXPECT_EQ(info->GetRefTypeInfo(href, ref), kTypeECantLoadLibrary);
    }
  }
  const auto walked = TakeUnresolvedLibraries();
  ASSERT_EQ(walked.size(), 1u);
  EXPECT_EQ(GuidText(walked[0].libid), "{00020430-0000-0000-C000-000000000046}");
  EXPECT_EQ(walked[0].major, 2);
  EXPECT_EQ(walked[0].minor, 0);
  EXPECT_EQ(AsciiLower(walked[0].file_name), "stdole2.tlb");
  EXPECT_TRUE(TakeUnresolvedLibraries().empty());

  const auto upfront = FindUnresolvedLibraries(kCorpus + "vb6/scrrun.dll");
  ASSERT_EQ(upfront.size(), 1u);
  EXPECT_EQ(upfront[0].libid, walked[0].libid);
  EXPECT_TRUE(TakeUnresolvedLibraries().empty());

  SetLocatorForTesting(std::make_shared<StdoleLocator>());
  EXPECT_TRUE(FindUnresolvedLibraries(kCorpus + "vb6/scrrun.dll").empty());
  EXPECT_TRUE(FindUnresolvedLibraries(kCorpus + "negative/empty.tlb").empty());
}

// Every prefix of a real library and thousands of corrupted copies load or fail cleanly,
// and whatever loads can be walked completely.
TEST_F(ReaderTest, DamagedLibrariesNeverCrash) {
  for (const std::string& path : std::vector<std::string>{kWine + "stdole2.tlb", kCorpus + "vb6/SHELLLNK.TLB", kCorpus + "vb6/scrrun.dll"}) {
    const auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes) << path;
    const std::vector<std::uint8_t>& original = *bytes;
    auto walk = [&](const std::vector<std::uint8_t>& data) {
      std::shared_ptr<ITypeLibAccess> lib;
      if (LoadBuiltinTypeLibraryFromMemory(data, 1, "", lib) == kOk) (void)DumpTypeLibrary(*lib);
    };
    for (std::size_t cut = 0; cut < original.size(); cut += 1 + cut / 16)
      walk(std::vector<std::uint8_t>(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(cut)));
    std::mt19937 random(12345);
    for (int round = 0; round < 600; ++round) {
      std::vector<std::uint8_t> copy = original;
      for (int k = 0; k < 4; ++k) {
        const std::size_t at = random() % copy.size();
        // Offsets and counts are where damage matters: write extreme values.
        const std::uint32_t values[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0, 0x100, static_cast<std::uint32_t>(random())};
        const std::uint32_t value = values[random() % 5];
        for (int b = 0; b < 4 && at + b < copy.size(); ++b) copy[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
      }
      walk(copy);
    }
  }
}

}  // namespace
}  // namespace quenlor::typelib
