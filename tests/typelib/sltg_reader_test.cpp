// The SLTG parser on the two old-format libraries of the corpus, and on damaged copies of
// them: a damaged file either loads into a model whose every reference is in range or
// fails with the platform's code, and never reads outside the image.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "typelib/reader/container.h"
#include "typelib/reader/model.h"
#include "damage_case.h"

namespace quenlor::typelib::reader {
namespace {

std::vector<std::uint8_t> ReadCorpus(const std::string& relative) {
  std::ifstream in(std::string(QUENLOR_CORPUS_DIR) + "/" + relative, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

const Func* FindFunc(const TypeInfo& type, const std::string& name) {
  for (const Func& f : type.funcs) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

// Everything a model may hand to the access layer is in range.
void CheckTypeDesc(const Library& lib, const TypeDesc& t, int depth = 0) {
  ASSERT_LT(depth, 64);
  if (t.vt == VT_PTR_ || t.vt == VT_SAFEARRAY_) {
    ASSERT_TRUE(t.pointee);
    CheckTypeDesc(lib, *t.pointee, depth + 1);
  } else if (t.vt == VT_CARRAY_) {
    ASSERT_TRUE(t.array);
    EXPECT_FALSE(t.array->bounds.empty());
    CheckTypeDesc(lib, t.array->element, depth + 1);
  } else if (t.vt == VT_USERDEFINED_) {
    const auto found = lib.refs.find(t.hreftype);
    if (found != lib.refs.end()) {
      if (found->second.imported) EXPECT_LT(found->second.library, lib.imports.size());
      else EXPECT_LT(found->second.local_index, lib.types.size());
    }
    EXPECT_LT(t.hreftype, 0x80000000u);
  }
}

void CheckModel(const Library& lib) {
  for (const TypeInfo& type : lib.types) {
    CheckTypeDesc(lib, type.alias);
    for (const Func& f : type.funcs) {
      CheckTypeDesc(lib, f.ret.tdesc);
      for (const Param& p : f.params) CheckTypeDesc(lib, p.elem.tdesc);
    }
    for (const Var& v : type.vars) CheckTypeDesc(lib, v.elem.tdesc);
    for (const ImplType& impl : type.impls) EXPECT_LT(impl.href, 0x80000000u);
  }
}

ReadResult ParseResult(const std::vector<std::uint8_t>& bytes, Library& lib) {
  return ParseSltg(std::span<const std::uint8_t>(bytes.data(), bytes.size()), lib);
}

HResult ParseCopy(const std::vector<std::uint8_t>& bytes, Library& lib) {
  return ParseResult(bytes, lib).code;
}

class SltgShellLink : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = ReadCorpus("vb6/SHELLLNK.TLB");
    ASSERT_GT(file_.size(), 0x100u);
    ASSERT_EQ(ParseSltg(file_, lib_).code, kOk);
  }
  std::vector<std::uint8_t> file_;
  Library lib_;
};

TEST_F(SltgShellLink, LibraryAttributesAndTypeDirectory) {
  EXPECT_EQ(lib_.name, "IShellLinkA");
  EXPECT_EQ(lib_.doc_string, "VB 5 - IShellLinkA Interface(ANSI)");
  EXPECT_EQ(lib_.guid.data1, 0x11269241u);
  EXPECT_EQ(lib_.syskind, 1u);
  EXPECT_EQ(lib_.major, 1);
  EXPECT_EQ(lib_.minor, 0);
  // A specific sublanguage (0x0409) is not reported as the library's locale.
  EXPECT_EQ(lib_.lcid, 0u);
  const char* names[] = {"FILETIME", "WIN32_FIND_DATA", "SLR_FLAGS", "SLGP_FLAGS",
                         "IPersistFile", "IShellLinkA", "ShellLinkA"};
  const TypeKind kinds[] = {TKIND_RECORD_, TKIND_RECORD_, TKIND_ENUM_, TKIND_ENUM_,
                            TKIND_INTERFACE_, TKIND_INTERFACE_, TKIND_COCLASS_};
  ASSERT_EQ(lib_.types.size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(lib_.types[i].name, names[i]);
    EXPECT_EQ(lib_.types[i].kind, kinds[i]) << names[i];
  }
  EXPECT_EQ(lib_.types[5].flags, 0x10);  // hidden
  EXPECT_EQ(lib_.types[6].flags, 0x2);   // can create
  EXPECT_EQ(lib_.types[4].guid.data1, 0x0000010Bu);
  EXPECT_EQ(lib_.types[1].cb_size_instance, 313u);
  EXPECT_EQ(lib_.types[5].cb_size_vft, 84);
  CheckModel(lib_);
}

TEST_F(SltgShellLink, CompressedHelpStringsAreDecoded) {
  EXPECT_EQ(lib_.types[4].doc_string, "IPersistFile Interface");
  EXPECT_EQ(lib_.types[5].doc_string, "IShellLinkA Interface");
  EXPECT_EQ(lib_.types[6].doc_string, "ShellLinkA Class");
  const Func* f = FindFunc(lib_.types[4], "GetClassID");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->doc_string, "GetClassID");
  const Func* g = FindFunc(lib_.types[4], "GetCurFile");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->doc_string, "GetCurFile");
}

TEST_F(SltgShellLink, RecordsArraysAndConstants) {
  const TypeInfo& find = lib_.types[1];
  ASSERT_EQ(find.vars.size(), 10u);
  // FILETIME fields refer to type 0 of this library.
  const TypeDesc& ft = find.vars[1].elem.tdesc;
  ASSERT_EQ(ft.vt, VT_USERDEFINED_);
  ASSERT_EQ(lib_.refs.count(ft.hreftype), 1u);
  EXPECT_FALSE(lib_.refs.at(ft.hreftype).imported);
  EXPECT_EQ(lib_.refs.at(ft.hreftype).local_index, 0u);
  EXPECT_EQ(find.vars[2].elem.tdesc.hreftype, ft.hreftype);
  // Fixed-size character arrays take their bounds from the array descriptor.
  const TypeDesc& name = find.vars[8].elem.tdesc;
  ASSERT_EQ(name.vt, VT_CARRAY_);
  ASSERT_EQ(name.array->bounds.size(), 1u);
  EXPECT_EQ(name.array->bounds[0].elements, 255u);
  EXPECT_EQ(name.array->bounds[0].lower_bound, 0);
  EXPECT_EQ(name.array->element.vt, VT_UI1_);
  EXPECT_EQ(find.vars[9].elem.tdesc.array->bounds[0].elements, 14u);
  EXPECT_EQ(find.vars[9].o_inst, 299u);

  const TypeInfo& flags = lib_.types[2];
  ASSERT_EQ(flags.vars.size(), 3u);
  const std::int64_t values[] = {1, 2, 4};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(flags.vars[i].varkind, 2u);
    ASSERT_TRUE(flags.vars[i].value.has_value());
    EXPECT_EQ(flags.vars[i].value->vt, VT_INT_);
    EXPECT_EQ(flags.vars[i].value->integer, values[i]);
  }
}

TEST_F(SltgShellLink, FunctionsParametersAndReferences) {
  const TypeInfo& link = lib_.types[5];
  ASSERT_EQ(link.funcs.size(), 18u);
  const Func* get_path = FindFunc(link, "GetPath");
  ASSERT_TRUE(get_path);
  EXPECT_EQ(get_path->funckind, 1u);
  EXPECT_EQ(get_path->callconv, 4u);
  EXPECT_EQ(get_path->memid, 0x60010000);
  EXPECT_EQ(get_path->o_vft, 12);
  EXPECT_EQ(get_path->ret.tdesc.vt, VT_HRESULT_);
  ASSERT_EQ(get_path->params.size(), 4u);
  EXPECT_EQ(get_path->params[0].name, "pszFile");
  EXPECT_EQ(get_path->params[0].elem.tdesc.vt, VT_LPSTR_);
  EXPECT_EQ(get_path->params[0].elem.param_flags, 0x1);
  // [in, out] WIN32_FIND_DATA*: a one-word pointer to a user-defined type.
  const ElemDesc& pfd = get_path->params[2].elem;
  EXPECT_EQ(pfd.param_flags, 0x3);
  ASSERT_EQ(pfd.tdesc.vt, VT_PTR_);
  ASSERT_EQ(pfd.tdesc.pointee->vt, VT_USERDEFINED_);
  EXPECT_EQ(lib_.refs.at(pfd.tdesc.pointee->hreftype).local_index, 1u);

  // The base interface lives in stdole32, named by its full recorded path.
  ASSERT_EQ(link.impls.size(), 1u);
  const RefTarget& base = lib_.refs.at(link.impls[0].href);
  ASSERT_TRUE(base.imported);
  EXPECT_FALSE(base.by_guid);
  EXPECT_EQ(base.index, 3u);
  ASSERT_EQ(lib_.imports.size(), 1u);
  EXPECT_EQ(lib_.imports[0].libid.data1, 0x00020430u);
  EXPECT_EQ(lib_.imports[0].major, 1);
  EXPECT_EQ(lib_.imports[0].minor, 0);
  EXPECT_EQ(lib_.imports[0].file_name, "D:\\VB5\\stdole32.tlb");
  // IPersistFile refers to the same IUnknown: one handle for one target.
  EXPECT_EQ(lib_.types[4].impls.at(0).href, link.impls[0].href);

  const TypeInfo& coclass = lib_.types[6];
  ASSERT_EQ(coclass.impls.size(), 1u);
  EXPECT_EQ(coclass.impls[0].flags, 1);
  EXPECT_EQ(lib_.refs.at(coclass.impls[0].href).local_index, 5u);
}

TEST(SltgStdole32, ResourceOfAnExecutable) {
  const std::vector<std::uint8_t> file = ReadCorpus("legacy/stdole32.tlb");
  Bytes image;
  ASSERT_EQ(FindTypeLibImage(file, 1, image).code, kOk);
  Library lib;
  ASSERT_EQ(ParseSltg(image, lib).code, kOk);
  EXPECT_EQ(lib.name, "stdole");
  EXPECT_EQ(lib.doc_string, "OLE Automation");
  EXPECT_EQ(lib.lib_flags, 1);
  ASSERT_EQ(lib.types.size(), 6u);
  EXPECT_EQ(lib.types[3].name, "IUnknown");
  EXPECT_EQ(lib.types[4].name, "IDispatch");
  ASSERT_EQ(lib.types[4].impls.size(), 1u);
  EXPECT_EQ(lib.refs.at(lib.types[4].impls[0].href).local_index, 3u);
  const TypeDesc& data4 = lib.types[0].vars.at(3).elem.tdesc;
  ASSERT_EQ(data4.vt, VT_CARRAY_);
  EXPECT_EQ(data4.array->bounds.at(0).elements, 8u);
  const Func* invoke = FindFunc(lib.types[4], "Invoke");
  ASSERT_TRUE(invoke);
  ASSERT_EQ(invoke->params.size(), 8u);
  EXPECT_EQ(invoke->params[4].name, "pdispparams");
  EXPECT_TRUE(lib.imports.empty());
  CheckModel(lib);
}

TEST_F(SltgShellLink, DualAndDispatchTypesTakeTheModelsShape) {
  std::vector<std::uint8_t> changed = file_;
  // IShellLinkA (block at 0x625) marked dual: TYPEFLAGS bit 6 lives in the header's byte 0x1B.
  ASSERT_EQ(changed[0x625 + 0x1D], TKIND_INTERFACE_);
  changed[0x625 + 0x1B] |= 0x02;
  // IPersistFile (block at 0x47D) stored as a dispatch type without FDUAL.
  changed[0x47D + 0x1D] = TKIND_DISPATCH_;
  Library lib;
  ASSERT_EQ(ParseCopy(changed, lib), kOk);
  const TypeInfo& dual = lib.types[5];
  EXPECT_EQ(dual.kind, TKIND_DISPATCH_);
  EXPECT_EQ(dual.flags, 0x50);
  ASSERT_EQ(dual.impls.size(), 1u);  // the base stays: the access layer builds both views from it
  const TypeInfo& dispatch = lib.types[4];
  EXPECT_EQ(dispatch.kind, TKIND_DISPATCH_);
  EXPECT_TRUE(dispatch.impls.empty());
  ASSERT_TRUE(lib.dispatch_href.has_value());
  EXPECT_EQ(*lib.dispatch_href, dual.impls[0].href);
}

// --- damaged files ----------------------------------------------------------------------

void ExpectLoadsSoundlyOrFails(const std::vector<std::uint8_t>& bytes, const std::string& what) {
  Library lib;
  const HResult hr = ParseCopy(bytes, lib);
  if (hr == kOk) {
    CheckModel(lib);
  } else {
    EXPECT_EQ(hr, kTypeECantLoadLibrary) << what;
  }
}

TEST_F(SltgShellLink, EveryTruncationFails) {
  for (std::size_t size = 0; size < 0x179E; ++size) {
    std::vector<std::uint8_t> cut(file_.begin(), file_.begin() + static_cast<std::ptrdiff_t>(size));
    Library lib;
    // The library block ends at 0x179E; anything shorter lacks part of it.
    const ReadResult result = ParseResult(cut, lib);
    EXPECT_EQ(result.code, kTypeECantLoadLibrary) << "size " << size;
    EXPECT_NE(std::string(result.failure.reason), "") << "size " << size;
  }
}

TEST_F(SltgShellLink, EveryByteDamagedLoadsSoundlyOrFails) {
  for (std::size_t i = 0; i < file_.size(); ++i) {
    for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x80},
                               static_cast<std::uint8_t>(file_[i] ^ 0x01)}) {
      std::vector<std::uint8_t> damaged = file_;
      damaged[i] = value;
      ExpectLoadsSoundlyOrFails(damaged, "byte " + std::to_string(i));
    }
  }
}

// Each kind of structural damage fails with the platform's code, and the failure names the
// check that caught it and where in the file it looked.
TEST_F(SltgShellLink, StructuralDamageIsCaughtByItsOwnCheck) {
  // Offsets of this file: header at 0, block entries at 0x24, type blocks from 0xC7
  // (FILETIME), library block at 0xA78.
  testing::ExpectEachCaught(file_, 2, {
      {0, 0x4C54, "no SLTG signature", 0},
      {4, 1, "no block entries", 4},
      {0x24 + 6, 1, "block chain loops", 0x24 + 6},
      {0x24 + 6, 0x40, "block chain names a missing entry", 0x24 + 6},
      {0x24 + 2, 0x7FFF, "block outside the file", 0x24},
      {10, 0x99, "block chain names a missing entry", 10},
      {0xC7, 0x0502, "type block magic", 0xC7},
      {0xA78, 0x51CD, "library block magic", 0xA78},
      {0xB08, 8, "type count disagrees with the blocks", 0xB08},
      {0xB0C, 0x5858, "directory names no block", 0xA78},
      {0xE68, 0x1234, "name table jump", 0xE68},
      {0xC7 + 0x22 + 5, 0x7FFF, "member data outside the block", 0xC7 + 0x0A},
      {0xC7 + 0x22 + 9 + 0x2C + 2, 3, "variable chain ends early", 0xC7 + 0x22 + 9},
      {0x47D + 0x85 + 9 + 0xE4, 0x2000, "member count beyond the block", 0x47D + 0x85 + 9 + 0xE4},
      {0xC7 + 0x22 + 9, 0x020B, "variable record magic", 0xC7 + 0x22 + 9},
  }, [](const std::vector<std::uint8_t>& damaged) {
    Library lib;
    return ParseResult(damaged, lib);
  });
}

TEST_F(SltgShellLink, DanglingReferencesLoadButDoNotResolve) {
  // FILETIME's reference in WIN32_FIND_DATA names type 0x99 of this library.
  std::vector<std::uint8_t> damaged = file_;
  const std::size_t text = 0x154 + 0x22 + 0x44 + 4 + 8 + 2 + 1 + 4 + 2;
  ASSERT_EQ(std::string(damaged.begin() + text, damaged.begin() + text + 10), "*\\Rffff*#0");
  damaged[text + 9] = '9';
  Library lib;
  ASSERT_EQ(ParseCopy(damaged, lib), kOk);
  const HRefType href = lib.types[1].vars[1].elem.tdesc.hreftype;
  EXPECT_EQ(lib.refs.count(href), 0u);
  CheckModel(lib);
}

TEST_F(SltgShellLink, DamagedDictionaryStaysBounded) {
  // The dictionary's root turned into a leaf: every decoding step emits the same word and
  // never consumes a bit.
  std::vector<std::uint8_t> damaged = file_;
  ASSERT_EQ(damaged[0xCA2], 0x80);
  damaged[0xCA2] = 0x41;
  Library lib;
  ASSERT_EQ(ParseCopy(damaged, lib), kOk);
  // The word repeats once; a string that never moves through the tree ends there.
  EXPECT_LE(lib.types[4].doc_string.size(), 8u);
}

}  // namespace
}  // namespace quenlor::typelib::reader
